#include "TsPageControl.h"

#include <QMouseEvent>
#include <utility>

TsPageControl::TsPageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TsTabBar(this));
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
