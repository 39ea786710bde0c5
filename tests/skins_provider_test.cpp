// The themed frame: the title bar with its added title and buttons, moving and resizing by hand,
// swapping frames at run time; and widgets with a fill of their own under every theme.
#include "TsSkinManager.h"
#include "TsSkinProvider.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>
#include <map>

namespace {

class Window : public QWidget {
  public:
    int closes = 0;

  protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        event->accept();
    }
};

class Frame : public testing::Test {
  protected:
    void SetUp() override {
        window.setWindowTitle(QStringLiteral("Стелворн v.1.7"));
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        client = new QTabWidget(&window);
        layout->addWidget(client);
        window.resize(584, 452);
        manager.ReportError = [](const QString&) {};
        provider = new TsSkinProvider(&manager, &window);
        provider->SetMinimumOuterSize(QSize(600, 490));
        provider->TitleBar()->SetAddedTitle(QStringLiteral("- расчёт сопротивления заземления"));
    }
    void Show() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    void Drag(QWidget* widget, QPoint from, QPoint by) {
        Mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(widget, QEvent::MouseMove, from + by, Qt::LeftButton);
        Mouse(widget, QEvent::MouseButtonRelease, from + by, Qt::NoButton);
    }

    TsSkinManager manager;
    Window window;
    QTabWidget* client;
    TsSkinProvider* provider;
};

} // namespace

TEST_F(Frame, ThemedTheWindowDrawsItsOwnTitleBarAroundTheDesignedClientArea) {
    TsTitleBar* bar = provider->TitleBar();
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(bar->isVisibleTo(&window));
    manager.SetSkinName(manager.SkinName()); // another theme before the first show: the frame stays one
    EXPECT_EQ(window.size(), QSize(600, 490));
    Show();
    EXPECT_EQ(window.frameGeometry().size(), QSize(600, 490));
    EXPECT_EQ(client->size(), QSize(584, 452));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Стелворн v.1.7")); // the added title is drawn only

    window.resize(100, 100);
    EXPECT_EQ(window.size(), QSize(600, 490));
    EXPECT_EQ(client->size(), QSize(584, 452));

    // The added title: after the caption and the theme's spacing, Tahoma 8 pt italic, in the title colour.
    EXPECT_EQ(bar->AddedTitleRect().left(), bar->CaptionRect().right() + 1 + manager.Theme().TitleSpacing);
    const QFont font = bar->AddedTitleFont();
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(font.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_EQ(bar->TitleColour(), manager.Theme().TitleTextActive);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isActiveWindow(); }));
    EXPECT_EQ(bar->TitleColour(), manager.Theme().TitleTextInactive);
}

TEST_F(Frame, StandardLookHasNoTitleBarOfItsOwnAndSwappingKeepsPlaceAndSize) {
    manager.SetActive(false); // before the first show: the client area keeps its size
    EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(provider->TitleBar()->isVisibleTo(&window));
    EXPECT_EQ(window.size(), QSize(584, 452));
    Show();
    window.setGeometry(120, 90, 700, 520);
    const QRect outer = window.frameGeometry();

    manager.SetActive(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(provider->TitleBar()->isVisible());
    EXPECT_EQ(window.frameGeometry(), outer);

    manager.SetActive(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(provider->TitleBar()->isVisible());
    EXPECT_EQ(window.frameGeometry().topLeft(), outer.topLeft());
}

TEST_F(Frame, TheTitleBarButtonsAndDoubleClickMinimiseMaximiseAndClose) {
    Show();
    TsTitleBar* bar = provider->TitleBar();
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(200, 15));
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.layout()->contentsMargins(), QMargins()); // no border while maximised
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(200, 15));
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.layout()->contentsMargins(), QMargins(8, 0, 8, 8));
    QTest::mouseClick(bar->MaximizeButton, Qt::LeftButton);
    EXPECT_TRUE(window.isMaximized());
    QTest::mouseClick(bar->MaximizeButton, Qt::LeftButton);
    EXPECT_FALSE(window.isMaximized());
    QTest::mouseClick(bar->MinimizeButton, Qt::LeftButton);
    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
    window.showNormal();
    QTest::mouseClick(bar->CloseButton, Qt::LeftButton);
    EXPECT_EQ(window.closes, 1); // the window's normal close
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Frame, DraggingTheBarMovesAndDraggingAnEdgeResizesWithinTheMinimum) {
    Show();
    window.setGeometry(100, 100, 700, 520);
    // Offscreen, as under X without a window manager, the system move is refused: the bar moves it.
    Drag(provider->TitleBar(), QPoint(200, 15), QPoint(30, 20));
    EXPECT_EQ(window.pos(), QPoint(130, 120));

    const struct {
        QPoint at, by;
        QRect expected;
    } cases[] = {
        {{697, 515}, {50, 40}, {130, 120, 750, 560}},  // bottom-right corner
        {{2, 300}, {-20, 0}, {110, 120, 770, 560}},    // left edge
        {{300, 557}, {0, -500}, {110, 120, 770, 490}}, // bottom edge, down to the minimum height
        {{768, 200}, {-500, 0}, {110, 120, 600, 490}}, // right edge, down to the minimum width
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(provider->EdgesAt(c.at)) << c.at.x() << "," << c.at.y();
        Drag(&window, c.at, c.by);
        EXPECT_EQ(window.geometry(), c.expected);
    }
    EXPECT_FALSE(provider->EdgesAt(QPoint(300, 200)));
}

TEST(ThemedFill, APanelWithAFillOfItsOwnKeepsItUnderEveryTheme) {
    TsSkinManager manager;
    manager.ReportError = [](const QString& text) { ADD_FAILURE() << text.toStdString(); };
    manager.SetSkinDirectory(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR));

    QTabWidget tabs;
    auto* page = new QWidget;
    tabs.addTab(page, QStringLiteral("Справка"));
    auto* layout = new QVBoxLayout(page);
    auto* byPalette = new QFrame;
    byPalette->setAutoFillBackground(true);
    QPalette palette = byPalette->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xDD));
    byPalette->setPalette(palette);
    auto* bySheet = new QFrame;
    bySheet->setObjectName(QStringLiteral("sPanel8"));
    bySheet->setStyleSheet(QStringLiteral("#sPanel8 { background-color: #FFFFDD; }"));
    for (QFrame* panel : {byPalette, bySheet}) {
        panel->setFixedHeight(23);
        auto* bar = new QToolBar(panel);
        bar->addAction(QStringLiteral("x"));
        layout->addWidget(panel);
    }
    tabs.resize(300, 200);
    tabs.show();

    for (const QString& theme : manager.AvailableSkins()) {
        manager.SetSkinName(theme);
        ASSERT_EQ(manager.SkinName(), theme);
        for (QFrame* panel : {byPalette, bySheet}) {
            const QImage image = panel->grab().toImage();
            EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() / 2), QColor(0xFF, 0xFF, 0xDD))
                << theme.toStdString();
        }
    }
}

// A checked check box shows a tick in the standard look and in every theme, not a filled square
// alone: inside the indicator some pixels stand out clearly from its fill.
TEST(ThemedCheckBox, ACheckedBoxShowsATickInEveryTheme) {
    TsSkinManager manager;
    manager.ReportError = [](const QString& text) { ADD_FAILURE() << text.toStdString(); };
    manager.SetSkinDirectory(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR));
    QCheckBox box(QStringLiteral("Показывать подсказки"));
    box.setChecked(true);
    box.show();

    const auto differ = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) >
               150;
    };
    for (const QString& theme : QStringList{QString()} + manager.AvailableSkins()) {
        SCOPED_TRACE(theme.isEmpty() ? std::string("standard look") : theme.toStdString());
        if (theme.isEmpty())
            manager.SetActive(false);
        else
            ASSERT_TRUE(manager.SelectSkin(theme));
        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
        ASSERT_GE(indicator.width(), 9);
        const QImage image = box.grab().toImage();
        const QRect inside = indicator.adjusted(3, 3, -3, -3);
        // The fill: the commonest colour inside the border.
        std::map<QRgb, int> counts;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++counts[image.pixel(x, y)];
        const QRgb fill = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                              return a.second < b.second;
                          })->first;
        int tick = 0;
        for (const auto& [colour, count] : counts)
            tick += differ(QColor(colour), QColor(fill)) ? count : 0;
        EXPECT_GE(tick, 4);
    }
}

// A dialog framed where it is created: while theming is on it has the themed title bar with its
// caption and the window's border, its controls keep their places inside its own margins and their
// focus order, and it takes its size from its layout; theming off gives the window manager's frame.
TEST(ThemedDialog, ADialogGetsTheThemedTitleBarAndKeepsItsLayoutAndFocusOrder) {
    TsSkinManager manager;
    manager.ReportError = [](const QString& text) { ADD_FAILURE() << text.toStdString(); };
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Подбор под нормативное сопротивление"));
    auto* column = new QVBoxLayout(&dialog);
    column->setContentsMargins(11, 11, 11, 11);
    auto* first = new QLineEdit;
    auto* second = new QPushButton(QStringLiteral("Применить"));
    auto* third = new QPushButton(QStringLiteral("Закрыть"));
    for (QWidget* w :
         {static_cast<QWidget*>(first), static_cast<QWidget*>(second), static_cast<QWidget*>(third)})
        column->addWidget(w);
    QWidget::setTabOrder(third, second); // an order of the dialog's own, not the order of creation
    QWidget::setTabOrder(second, first);
    const QSize plain = dialog.sizeHint();

    TsSkinProvider* provider = TsSkinProvider::ForDialog(&manager, &dialog);
    ASSERT_TRUE(manager.Active());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(provider->Themed());
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    TsTitleBar* bar = provider->TitleBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), QRect(TsSkinProvider::kBorder, 0, dialog.width() - 2 * TsSkinProvider::kBorder,
                                     TsTitleBar::kHeight));
    // As high as its layout asks, and as wide unless the title bar needs more.
    EXPECT_EQ(dialog.height(), plain.height() + TsTitleBar::kHeight + TsSkinProvider::kBorder);
    EXPECT_GE(dialog.width(), plain.width() + 2 * TsSkinProvider::kBorder);
    EXPECT_EQ(first->mapTo(&dialog, QPoint(0, 0)),
              QPoint(TsSkinProvider::kBorder + 11, TsTitleBar::kHeight + 11));
    const auto nextFocus = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus);
        return w;
    };
    EXPECT_EQ(nextFocus(third), second);
    EXPECT_EQ(nextFocus(second), first);
    // Inside the border the dialog keeps its own background; the border has the title bar's colour.
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixelColor(3, dialog.height() / 2), manager.Theme().TitleBackground);
    EXPECT_EQ(image.pixelColor(TsSkinProvider::kBorder + 3, dialog.height() - TsSkinProvider::kBorder - 3),
              dialog.palette().color(QPalette::Window));

    manager.SetActive(false);
    EXPECT_FALSE(provider->Themed());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(dialog.windowFlags() & Qt::FramelessWindowHint);
    dialog.layout()->activate();
    // The dialog's own layout fills the whole window again.
    EXPECT_EQ(first->parentWidget()->geometry(), dialog.rect());
    EXPECT_EQ(first->x(), 11);
}
