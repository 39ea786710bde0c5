// The help tab of the main window: the view and its toolbar as the user meets them.
#include "Unit1.h"
#include "application.h"
#include "desktop_url_catcher.h"
#include "help_links.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

// The help pages' resources taken away and given back, for a start without them. Outside the
// anonymous namespace: the macros declare the resource functions where they stand.
static void TakeAwayHelpPages() {
    Q_CLEANUP_RESOURCE(stelvorn_help_pages);
}
static void GiveBackHelpPages() {
    Q_INIT_RESOURCE(stelvorn_help_pages);
}

namespace {

// The window in a fresh program folder of its own, whose name holds characters that URLs reserve.
class HelpTab : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        folder = root.path() + QStringLiteral("/Стелворн # 100% папка/");
        ASSERT_TRUE(QDir().mkpath(folder));
        OverrideProgramFolder(folder);
        form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        browser = form->WebBrowser1;
        pages = form->sPageControl1;
    }
    void TearDown() override {
        form.reset();
        OverrideProgramFolder(QString());
    }

    QUrl Location() const { return browser->LocationURL(); }
    static QUrl Page(const char* name) { return QUrl(QStringLiteral("qrc:/") + QString::fromUtf8(name)); }
    void ClickTab(int index) {
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    }
    static void Click(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }

    QTemporaryDir root;
    QString folder;
    std::unique_ptr<TForm1> form;
    THelpBrowser* browser = nullptr;
    TsPageControl* pages = nullptr;
};

TEST_F(HelpTab, IndexIsLoadedBeforeTheWindowShowsAndBothHistoryButtonsAreOff) {
    EXPECT_EQ(pages->currentIndex(), 0);
    ASSERT_EQ(form->findChild<THelpBrowser*>("WebBrowser1"), browser);
    EXPECT_GE(browser->ReadyState(), THelpBrowser::READYSTATE_LOADED);
    EXPECT_EQ(Location(), HelpIndexUrl());
    EXPECT_EQ(browser->document()->begin().text().trimmed(), "Стелворн (версия 1.7)");
    EXPECT_TRUE(form->ToolButton8->isEnabled());
    EXPECT_FALSE(form->ToolButton5->isEnabled());
    EXPECT_FALSE(form->ToolButton6->isEnabled());
    EXPECT_EQ(browser->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(browser->document()->rootFrame()->frameFormat().borderStyle(),
              QTextFrameFormat::BorderStyle_None);
}

// Home, separator, back, forward from the left, 23 px buttons with images only and no tooltips, on
// a pale yellow panel.
TEST_F(HelpTab, ToolbarLayout) {
    ClickTab(2);
    auto* panel = form->findChild<QWidget*>("sPanel8");
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xDD));
    EXPECT_EQ(panel->height(), 23);
    EXPECT_LE(panel->geometry().bottom(), browser->geometry().top());

    const auto left = [panel](QWidget* w) { return w->mapTo(panel, QPoint(0, 0)).x(); };
    EXPECT_EQ(left(form->ToolButton8), 3);
    EXPECT_EQ(left(form->ToolButton7), left(form->ToolButton8) + 23);
    EXPECT_EQ(form->ToolButton7->width(), 8);
    EXPECT_EQ(left(form->ToolButton5), left(form->ToolButton7) + 8);
    EXPECT_EQ(left(form->ToolButton6), left(form->ToolButton5) + 23);
    for (QToolButton* button : {form->ToolButton8, form->ToolButton5, form->ToolButton6}) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_EQ(button->size(), QSize(23, 23));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_TRUE(button->text().isEmpty());
        QHelpEvent hint(QEvent::ToolTip, button->rect().center(),
                        button->mapToGlobal(button->rect().center()));
        QApplication::sendEvent(button, &hint);
        EXPECT_FALSE(QToolTip::isVisible());
    }
}

TEST_F(HelpTab, HomeBackAndForward) {
    ClickTab(2);
    browser->Navigate(Page("МЕТОДИКА"));
    EXPECT_TRUE(form->ToolButton5->isEnabled());
    Click(form->ToolButton8);
    EXPECT_EQ(Location(), HelpIndexUrl());
    Click(form->ToolButton5);
    EXPECT_EQ(Location(), Page("МЕТОДИКА"));
    EXPECT_TRUE(form->ToolButton6->isEnabled());
    Click(form->ToolButton6);
    EXPECT_EQ(Location(), HelpIndexUrl());
    EXPECT_FALSE(form->ToolButton6->isEnabled());

    // Home on the index page loads it again, and leaves the history as it was.
    QSignalSpy loads(browser, &THelpBrowser::NavigateComplete2);
    Click(form->ToolButton8);
    EXPECT_EQ(loads.size(), 1);
    EXPECT_TRUE(form->ToolButton5->isEnabled());
    EXPECT_EQ(browser->frameShape(), QFrame::NoFrame);
}

TEST_F(HelpTab, BrowserKeysGoBackForwardAndHome) {
    ClickTab(2);
    browser->Navigate(Page("МЕТОДИКА"));
    browser->TakeFocus();
    QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Location(), HelpIndexUrl());
    QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier); // nothing further back: nothing happens
    EXPECT_EQ(Location(), HelpIndexUrl());
    QTest::keyClick(browser, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Location(), Page("МЕТОДИКА"));
    QTest::keyClick(browser, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(Location(), HelpIndexUrl());
}

// A web link of the index page goes to the desktop's browser through the window's link test; the
// help stays on its page.
TEST_F(HelpTab, WebLinkGoesToTheDesktopAndThePageStays) {
    UrlCatcher desktop;
    bool cancel = false;
    form->WebBrowser1BeforeNavigate2(QUrl("https://stelvorn.example.org/programs/stelvorn.html"), cancel);
    EXPECT_TRUE(cancel);
    cancel = false;
    form->WebBrowser1BeforeNavigate2(QUrl("mailto:stelvorn@example.org"), cancel);
    EXPECT_FALSE(cancel);
    browser->Navigate(QUrl("https://pay.example.com/to/stelvorn"));
    EXPECT_EQ(desktop.opened, QList<QUrl>({QUrl("https://stelvorn.example.org/programs/stelvorn.html"),
                                           QUrl("https://pay.example.com/to/stelvorn")}));
    EXPECT_EQ(Location(), HelpIndexUrl());
    EXPECT_FALSE(form->ToolButton5->isEnabled());
}

// A link's title shows as its tooltip over the page, as the home page link's full address, whether
// the window's hints are on or off; the window's own hint renderer does not swallow it.
TEST_F(HelpTab, TheHomePageLinksTitleShowsAsItsTooltip) {
    const QString home = QStringLiteral("https://stelvorn.example.org/programs/stelvorn.html");
    ClickTab(2);
    for (bool hints : {true, false}) {
        SCOPED_TRACE(hints ? "hints on" : "hints off");
        if (form->sCheckBox1->isChecked() != hints)
            form->sCheckBox1->click();
        QToolTip::hideText();
        QTextCursor cursor = browser->document()->find(QStringLiteral("https://stelvorn.example.org/..."));
        ASSERT_FALSE(cursor.isNull());
        cursor.setPosition(cursor.selectionStart() + 3);
        browser->setTextCursor(cursor);
        browser->ensureCursorVisible();
        const QPoint at = browser->cursorRect(cursor).center();
        ASSERT_EQ(browser->anchorAt(at), home);
        QHelpEvent hint(QEvent::ToolTip, at, browser->viewport()->mapToGlobal(at));
        QApplication::sendEvent(browser->viewport(), &hint);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), home);
    }
    QToolTip::hideText();
}

// Without a browser on the desktop a web link says so in a box captioned with the program's title.
TEST_F(HelpTab, AWebLinkWithoutABrowserSaysSoUnderTheProgramsTitle) {
    QString caption, text;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            text = box->text();
            box->reject();
        }
    });
    answer.start();
    bool cancel = false;
    form->WebBrowser1BeforeNavigate2(QUrl("https://pay.example.com/to/stelvorn"), cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(caption, ApplicationTitle());
    EXPECT_TRUE(text.contains(u"не найден браузер")) << text.toStdString();
    EXPECT_EQ(Location(), HelpIndexUrl());
}

// Opening the help tab again shows the page that was left; F1 neither reloads nor takes the focus.
TEST_F(HelpTab, ReturningToTheTabReloadsNothing) {
    ClickTab(2);
    browser->Navigate(Page("МЕТОДИКА"));
    QSignalSpy loads(browser, &THelpBrowser::NavigateComplete2);
    ClickTab(0);
    ClickTab(2);
    EXPECT_EQ(Location(), Page("МЕТОДИКА"));

    ClickTab(0);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : form.get(), Qt::Key_F1);
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_FALSE(browser->hasFocus());
    EXPECT_EQ(Location(), Page("МЕТОДИКА"));
    EXPECT_EQ(loads.size(), 0);
}

// The pointer leaving the tab headers gives the help page the focus, so that the wheel and the keys
// scroll it at once; only while the help tab is current and the window is active.
TEST_F(HelpTab, PointerLeavingTheTabHeadersFocusesThePage) {
    QTabBar* bar = pages->tabBar();
    const auto overTabThenAway = [&](int tab, QWidget* away) {
        QTest::mouseMove(bar, bar->tabRect(tab).center());
        QTest::mouseMove(away, away->rect().center());
    };

    overTabThenAway(0, form->sTabSheet1);
    EXPECT_FALSE(browser->hasFocus());

    ClickTab(2);
    EXPECT_FALSE(browser->hasFocus());
    overTabThenAway(2, browser->viewport());
    EXPECT_TRUE(browser->hasFocus());

    // From one header to the next counts too.
    form->findChild<QWidget*>("sPanel8")->setFocus();
    QTest::mouseMove(bar, bar->tabRect(2).center());
    QTest::mouseMove(bar, bar->tabRect(1).center());
    EXPECT_TRUE(browser->hasFocus());

    // Another window active: nothing.
    form->findChild<QWidget*>("sPanel8")->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    emit pages->tabMouseLeave(2);
    EXPECT_NE(QApplication::focusWidget(), browser);
}

// At close the settings are written first, then the view goes; what comes afterwards finds no view.
TEST_F(HelpTab, CloseDestroysTheViewAfterTheSettingsAreWritten) {
    const QString settings = folder + QStringLiteral("стелворн.ini");
    bool writtenBeforeTheViewWent = false;
    QObject::connect(browser, &QObject::destroyed,
                     [&] { writtenBeforeTheViewWent = QFile::exists(settings); });
    ClickTab(2);
    form->close();
    EXPECT_TRUE(writtenBeforeTheViewWent);
    EXPECT_EQ(form->WebBrowser1, nullptr);
    EXPECT_EQ(form->findChild<THelpBrowser*>(), nullptr);

    emit pages->tabMouseLeave(2);
    form->sPageControl1Change();
    form->ToolButton8Click();
    form->ToolButton5Click();
    form->ToolButton6Click();
}

// The program folder's name (a space, "#", "%", Cyrillic letters) changes nothing: every page and
// picture resolves.
TEST_F(HelpTab, PagesAndPicturesResolveWhateverTheProgramFolder) {
    EXPECT_TRUE(ProgramFolder.contains(u'#'));
    for (const QString& name : HelpPageNames()) {
        browser->Navigate(QUrl(QStringLiteral("qrc:/") + name));
        EXPECT_EQ(Location().path(), u'/' + name);
    }
    browser->Navigate(Page("МЕТОДИКА"));
    int pictures = 0;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            ++pictures;
            const QVariant data =
                browser->document()->resource(QTextDocument::ImageResource, QUrl(image.name()));
            EXPECT_FALSE(data.isNull()) << image.name().toStdString();
        }
    }
    EXPECT_EQ(pictures, 5);
}

// A start whose index page cannot be read waits a bounded time, shows the window, and loads the
// page when the user opens the help tab.
TEST(HelpTabStart, MissingIndexPageDoesNotHoldUpTheStartAndOpeningTheTabLoadsIt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    OverrideProgramFolder(folder.path() + u'/');
    TakeAwayHelpPages();
    QElapsedTimer clock;
    clock.start();
    auto form = std::make_unique<TForm1>();
    EXPECT_LT(clock.elapsed(), 30000);
    GiveBackHelpPages();
    EXPECT_LT(form->WebBrowser1->ReadyState(), THelpBrowser::READYSTATE_LOADED);

    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTabBar* bar = form->sPageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    EXPECT_EQ(form->WebBrowser1->LocationURL(), HelpIndexUrl());
    EXPECT_GE(form->WebBrowser1->ReadyState(), THelpBrowser::READYSTATE_LOADED);
    form.reset();
    OverrideProgramFolder(QString());
}

} // namespace
