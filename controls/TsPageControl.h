#pragma once

#include <QTabBar>
#include <QTabWidget>

// The tab control of the window: every tab is 100 pixels wide.
class TsTabBar : public QTabBar {
  public:
    using QTabBar::QTabBar;

  protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        size.setWidth(TabWidth);
        return size;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

  private:
    static constexpr int TabWidth = 100;
};

// Page switches made by the user raise pageChanging(leaving) before userPageChanged(); a switch
// made with SetPageFromCode() raises neither. tabMouseLeave(index) comes when the mouse pointer
// leaves a tab header, for another header or away from the headers.
class TsPageControl : public QTabWidget {
    Q_OBJECT
  public:
    explicit TsPageControl(QWidget* parent = nullptr);
    void SetPageFromCode(int index);

  signals:
    void pageChanging(int leavingIndex);
    void userPageChanged();
    void tabMouseLeave(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int hoveredTab_ = -1;
    int shownIndex_ = -1;
    bool fromCode_ = false;
};
