#include "TsPageControl.h"

TsPageControl::TsPageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TsTabBar(this));
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
