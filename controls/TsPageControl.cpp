#include "TsPageControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <utility>

TsPageControl::TsPageControl(QWidget* parent) : QTabWidget(parent) {
    auto* bar = new TsTabBar(this);
    // Connected before setTabBar, so that it runs before the pages switch: the keyboard focus inside
    // the page being left goes to the tab control, not on to whatever control of the new page comes
    // next in the tab order. Only the help page's own rule gives its view the focus.
    connect(bar, &QTabBar::currentChanged, this, [this] {
        QWidget* leaving = widget(shownIndex_);
        if (leaving && leaving->isAncestorOf(QApplication::focusWidget()))
            setFocus(Qt::OtherFocusReason);
    });
    setTabBar(bar);
    tabBar()->setMouseTracking(true);
    tabBar()->installEventFilter(this);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        const int leaving = shownIndex_;
        shownIndex_ = index;
        if (fromCode_ || leaving < 0)
            return;
        emit pageChanging(leaving);
        emit userPageChanged();
    });
}

void TsPageControl::SetPageFromCode(int index) {
    fromCode_ = true;
    setCurrentIndex(index);
    fromCode_ = false;
}

bool TsPageControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabBar()) {
        int hovered = hoveredTab_;
        if (event->type() == QEvent::MouseMove)
            hovered = tabBar()->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave)
            hovered = -1;
        if (hovered != hoveredTab_) {
            const int left = std::exchange(hoveredTab_, hovered);
            if (left >= 0)
                emit tabMouseLeave(left);
        }
    }
    return QTabWidget::eventFilter(watched, event);
}
