// The help view on its own: loading, links, history, the hand-over of web and mail links, borders.

#include "THelpBrowser.h"
#include "desktop_url_catcher.h"
#include "help_links.h"
#include "version.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

namespace {

// A view as the window uses it: the link test before each navigation and the border removed after.
class HelpBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QObject::connect(&view, &THelpBrowser::BeforeNavigate2, &view,
                         [](const QUrl& url, bool& cancel) { ApplyLinkTest(url, cancel); });
        QObject::connect(&view, &THelpBrowser::NavigateComplete2, &view, [this] { HideBodyBorder(&view); });
        QObject::connect(&view, &THelpBrowser::CommandStateChange, &view, [this](int command, bool enable) {
            states.append({command, enable});
        });
        view.resize(760, 560);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QUrl Page(const QString& name) const { return QUrl(QStringLiteral("qrc:/") + name); }
    QString Heading() const { return view.document()->begin().text().trimmed(); }

    // Clicks the link with this text, as the user does.
    void ClickLink(const QString& text) {
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.charFormat().isAnchor() || fragment.text() != text)
                    continue;
                // A point inside the link's first character that lies in view.
                QTextCursor cursor(view.document());
                cursor.setPosition(fragment.position());
                if (!view.viewport()->rect().contains(view.cursorRect(cursor))) {
                    QScrollBar* bar = view.verticalScrollBar();
                    bar->setValue(bar->value() + view.cursorRect(cursor).center().y() -
                                  view.viewport()->height() / 2);
                }
                const QPoint point = view.cursorRect(cursor).center() + QPoint(3, 0);
                ASSERT_EQ(view.anchorAt(point), fragment.charFormat().anchorHref()) << text.toStdString();
                QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
                return;
            }
        }
        ADD_FAILURE() << "no link " << text.toStdString();
    }

    THelpBrowser view;
    QList<std::pair<int, bool>> states;
};

constexpr int Back = THelpBrowser::CSC_NAVIGATEBACK;
constexpr int Forward = THelpBrowser::CSC_NAVIGATEFORWARD;

TEST_F(HelpBrowserTest, FirstLoadReportsBothButtonsOff) {
    EXPECT_EQ(view.ReadyState(), THelpBrowser::READYSTATE_UNINITIALIZED);
    QSignalSpy completed(&view, &THelpBrowser::NavigateComplete2);
    ASSERT_TRUE(NavigateAndWait(view, HelpIndexUrl()));
    EXPECT_GE(view.ReadyState(), THelpBrowser::READYSTATE_LOADED);
    EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
    EXPECT_EQ(Heading(), QStringLiteral("Стелворн (версия ") + STELVORN_VERSION + QChar(u')'));
    EXPECT_EQ(completed.size(), 1);
    EXPECT_TRUE(states.contains(std::pair(Back, false)));
    EXPECT_TRUE(states.contains(std::pair(Forward, false)));
}

// The shared style sheet stands inside an HTML comment, as browsers allow; the view applies it.
TEST_F(HelpBrowserTest, PagesTakeTheirStyleSheet) {
    for (const QString& page : HelpPageNames()) {
        SCOPED_TRACE(page.toStdString());
        view.Navigate(Page(page));
        EXPECT_EQ(view.document()->rootFrame()->frameFormat().background().color(), QColor(0xFF, 0xFF, 0xDD));
        const QTextBlock heading = view.document()->begin();
        ASSERT_EQ(heading.blockFormat().headingLevel(), 1);
        EXPECT_EQ(heading.begin().fragment().charFormat().fontPointSize(), 15);
    }
}

// Only the comment markers inside style elements go, whatever the element's case and attributes;
// everything else, other elements' comments included, stays as written, and the length with it.
TEST(HelpStyleComments, MarkersLeaveOnlyStyleElements) {
    const std::pair<QString, QString> cases[] = {
        {"<style><!-- h1 {} --></style>", "<style>     h1 {}    </style>"},
        {"<STYLE type=\"text/css\">\n<!--\np {}\n-->\n</Style>",
         "<STYLE type=\"text/css\">\n    \np {}\n   \n</Style>"},
        {"<!-- a --><style><!--x--></style><!-- b -->", "<!-- a --><style>    x   </style><!-- b -->"},
        {"<style>a</style><p><!--c--></p><style>b<!--</style>",
         "<style>a</style><p><!--c--></p><style>b    </style>"},
        {"<styles><!--x--></styles>", "<styles><!--x--></styles>"},
        {"<style><!-- unclosed", "<style><!-- unclosed"},
        {"<style", "<style"},
        {"", ""},
    };
    for (const auto& [page, expected] : cases) {
        SCOPED_TRACE(page.toStdString());
        EXPECT_EQ(WithStyleCommentsOpened(page), expected);
    }
}

// Headings are drawn at the sizes the pages' style sheet gives (h1 15 pt, h2 12 pt), not at those
// sizes scaled once more by the text engine's own step for headings.
TEST_F(HelpBrowserTest, HeadingsAreDrawnAtTheStyleSheetsSize) {
    const std::map<int, qreal> sizes = {{1, 15.0}, {2, 12.0}};
    std::map<int, int> seen;
    for (const QString& page : HelpPageNames()) {
        view.Navigate(Page(page));
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
            const int level = block.blockFormat().headingLevel();
            if (level == 0)
                continue;
            ++seen[level];
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().text().trimmed().isEmpty())
                    continue;
                EXPECT_EQ(it.fragment().charFormat().font().pointSizeF(), sizes.at(level))
                    << page.toStdString() << ": " << it.fragment().text().toStdString();
            }
        }
    }
    EXPECT_EQ(seen[1], HelpPageNames().size());
    EXPECT_GT(seen[2], 0);
}

// Every page is one link away from the index page, and the link loads the page with its heading.
TEST_F(HelpBrowserTest, IndexLinksLoadTheirPages) {
    const QList<std::tuple<QString, QString, QString>> links = {
        {"Типовая конструкция стелворна", "КОНСТРУКЦИЯ", "Типовая конструкция стелворна"},
        {"Минимальные толщины и диаметры материалов", "ТОЛЩИНЫ", "Минимальные толщины материалов"},
        {"Нормативы по сопротивлению заземлений", "НОРМАТИВЫ", "Нормативы по сопротивлению"},
        {"Описание вводимых в программу данных", "ОПИСАНИЕ", "Описание вводимых данных"},
        {"Методика расчёта", "МЕТОДИКА", "Методика расчёта"},
        {"История версий", "ИСТОРИЯ", "История версий"},
    };
    view.Navigate(HelpIndexUrl());
    for (const auto& [text, page, heading] : links) {
        SCOPED_TRACE(page.toStdString());
        ClickLink(text);
        EXPECT_EQ(view.LocationURL(), Page(page));
        EXPECT_EQ(Heading(), heading);
        ASSERT_TRUE(view.GoBack());
        EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
    }
}

TEST_F(HelpBrowserTest, NormsLinksOfDescriptionAndHistory) {
    for (const auto& [page, text] : {std::pair<QString, QString>{"ОПИСАНИЕ", "по этой ссылке"},
                                     {"ИСТОРИЯ", "«Нормативы по сопротивлению стелворнов»"}}) {
        SCOPED_TRACE(page.toStdString());
        view.Navigate(Page(page));
        ClickLink(text);
        EXPECT_EQ(view.LocationURL(), Page("НОРМАТИВЫ"));
        EXPECT_EQ(Heading(), "Нормативы по сопротивлению");
    }
}

// The pictures resolve from the resource root and are laid out at their own size.
TEST_F(HelpBrowserTest, PicturesResolveAtTheirSize) {
    const QList<std::pair<QString, int>> pages = {{"КОНСТРУКЦИЯ", 1}, {"ОПИСАНИЕ", 1}, {"МЕТОДИКА", 5}};
    for (const auto& [page, count] : pages) {
        SCOPED_TRACE(page.toStdString());
        view.Navigate(Page(page));
        int found = 0;
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
                if (!image.isValid())
                    continue;
                ++found;
                const QVariant data =
                    view.document()->resource(QTextDocument::ImageResource, QUrl(image.name()));
                const QImage picture = data.typeId() == QMetaType::QByteArray
                                           ? QImage::fromData(data.toByteArray())
                                           : data.value<QImage>();
                ASSERT_FALSE(picture.isNull()) << image.name().toStdString();
                EXPECT_EQ(picture.width(), image.width());
                EXPECT_EQ(picture.height(), image.height());
            }
        }
        EXPECT_EQ(found, count);
    }
}

TEST_F(HelpBrowserTest, BackAndForwardFollowTheHistory) {
    view.Navigate(HelpIndexUrl());
    EXPECT_FALSE(view.GoBack());
    EXPECT_FALSE(view.GoForward());

    states.clear();
    ClickLink("Методика расчёта");
    EXPECT_EQ(states, (QList<std::pair<int, bool>>{{Forward, false}, {Back, true}}));

    states.clear();
    ASSERT_TRUE(view.GoBack());
    EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
    EXPECT_EQ(states, (QList<std::pair<int, bool>>{{Forward, true}, {Back, false}}));

    states.clear();
    ASSERT_TRUE(view.GoForward());
    EXPECT_EQ(view.LocationURL(), Page("МЕТОДИКА"));
    EXPECT_EQ(states, (QList<std::pair<int, bool>>{{Forward, false}, {Back, true}}));

    // A new page after going back drops the forward history.
    ASSERT_TRUE(view.GoBack());
    ClickLink("История версий");
    EXPECT_FALSE(view.CanGoForward());
    EXPECT_FALSE(view.GoForward());
}

// Home on the index page loads it again and adds no history entry.
TEST_F(HelpBrowserTest, NavigatingToTheShownPageReloadsIt) {
    view.Navigate(HelpIndexUrl());
    QSignalSpy completed(&view, &THelpBrowser::NavigateComplete2);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.Navigate(HelpIndexUrl());
    EXPECT_EQ(completed.size(), 1);
    EXPECT_FALSE(view.CanGoBack());
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

// Web links go to the desktop's browser; the page and the history stay as they were.
TEST_F(HelpBrowserTest, WebLinksGoToTheDesktop) {
    UrlCatcher desktop;
    view.Navigate(Page("НОРМАТИВЫ"));
    view.Navigate(HelpIndexUrl());
    QSignalSpy completed(&view, &THelpBrowser::NavigateComplete2);
    ClickLink("платёжный сервис pay.example.com");
    ClickLink("https://stelvorn.example.org/...");
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_EQ(desktop.opened[0], QUrl("https://pay.example.com/to/stelvorn"));
    EXPECT_EQ(desktop.opened[1], QUrl("https://stelvorn.example.org/programs/stelvorn.html"));
    EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
    EXPECT_TRUE(view.CanGoBack());
    EXPECT_FALSE(view.CanGoForward());
    EXPECT_EQ(completed.size(), 0);
    ASSERT_TRUE(view.GoBack());
    EXPECT_EQ(view.LocationURL(), Page("НОРМАТИВЫ"));
}

// The mail link is not a web link: the view hands it to the desktop's mail program and stays on
// its page, which keeps its text.
TEST_F(HelpBrowserTest, MailLinkGoesToTheDesktopAndThePageStays) {
    UrlCatcher desktop;
    view.Navigate(HelpIndexUrl());
    bool seenByLinkTest = false;
    QObject::connect(&view, &THelpBrowser::BeforeNavigate2, &view, [&](const QUrl& url, bool& cancel) {
        bool webCancel = false;
        ApplyLinkTest(url, webCancel);
        seenByLinkTest = url.scheme() == u"mailto" && !webCancel && !cancel;
    });
    ClickLink("E-Mail");
    EXPECT_TRUE(seenByLinkTest);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened[0].scheme(), "mailto");
    EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
    EXPECT_TRUE(Heading().startsWith(u"Стелворн"));
    EXPECT_FALSE(view.CanGoBack());
}

// Where the desktop has no browser or mail program for a link, a message box says so and offers to
// copy the address; the view stays on its page. The copy puts the web address whole, or the mail
// address alone, on the clipboard; closing the box copies nothing.
TEST_F(HelpBrowserTest, ALinkTheDesktopCannotOpenOffersToCopyItsAddress) {
    const struct {
        const char* link;
        bool copy;
        const char* clipboard;
        const char* says;
    } cases[] = {
        {"платёжный сервис pay.example.com", true, "https://pay.example.com/to/stelvorn",
         "не найден браузер"},
        {"E-Mail", true, "stelvorn@example.org", "не найдено программы"},
        {"https://stelvorn.example.org/...", false, "прежнее",
         "https://stelvorn.example.org/programs/stelvorn.html"},
    };
    view.Navigate(HelpIndexUrl());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        QGuiApplication::clipboard()->setText(QStringLiteral("прежнее"));
        QString text;
        QStringList buttons;
        QTimer answer;
        answer.setInterval(5);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == (c.copy ? u"Скопировать адрес" : u"Закрыть"))
                    button->click();
        });
        answer.start();
        ClickLink(QString::fromUtf8(c.link));
        EXPECT_EQ(buttons, QStringList({"Скопировать адрес", "Закрыть"}));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.says))) << text.toStdString();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(c.clipboard));
        EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
        EXPECT_FALSE(view.CanGoBack());
    }
}

TEST(HelpLinks, LinkTestIsASubstringTest) {
    const QList<std::pair<QString, bool>> cases = {
        {"http://example.org/", true},
        {"https://example.org/", true},
        {"qrc:/INDEX?next=https://example.org", true}, // anywhere, not only at the start
        {"HTTPS://example.org/", false},               // case-sensitive
        {"https:/example.org", false},
        {"mailto:stelvorn@example.org?subject=http", false},
        {"qrc:/КОНСТРУКЦИЯ", false},
        {"", false},
    };
    for (const auto& [url, web] : cases)
        EXPECT_EQ(IsWebLink(url), web) << url.toStdString();
}

// A cancelled navigation, or one to a page the program does not have, leaves everything as it was.
TEST_F(HelpBrowserTest, CancelledOrMissingPageLeavesTheView) {
    view.Navigate(HelpIndexUrl());
    QSignalSpy completed(&view, &THelpBrowser::NavigateComplete2);
    const auto canceller = QObject::connect(&view, &THelpBrowser::BeforeNavigate2, &view,
                                            [](const QUrl&, bool& cancel) { cancel = true; });
    ClickLink("Методика расчёта");
    QObject::disconnect(canceller);
    view.Navigate(Page("НЕТ_ТАКОЙ"));
    view.Navigate(QUrl("ftp://example.org/file"));
    EXPECT_EQ(completed.size(), 0);
    EXPECT_EQ(view.LocationURL(), HelpIndexUrl());
    EXPECT_TRUE(Heading().startsWith(u"Стелворн"));
    EXPECT_FALSE(view.CanGoBack());
}

// A view that never loads keeps the wait from going on for ever.
TEST(HelpWait, WaitIsBounded) {
    THelpBrowser view;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(NavigateAndWait(view, QUrl("qrc:/НЕТ_ТАКОЙ"), std::chrono::milliseconds(200)));
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(view.ReadyState(), THelpBrowser::READYSTATE_UNINITIALIZED);
}

// After every navigation, back, forward and home included, no border is drawn around the page, even
// when something (an interface theme, say) gave the view a frame in between.
TEST_F(HelpBrowserTest, NoBorderAfterAnyNavigation) {
    const auto expectNoBorder = [this](const char* step) {
        EXPECT_EQ(view.frameShape(), QFrame::NoFrame) << step;
        const QTextFrameFormat body = view.document()->rootFrame()->frameFormat();
        EXPECT_EQ(body.border(), 0) << step;
        EXPECT_EQ(body.borderStyle(), QTextFrameFormat::BorderStyle_None) << step;
    };
    const auto frame = [this] {
        view.setFrameShape(QFrame::StyledPanel);
        QTextFrameFormat body = view.document()->rootFrame()->frameFormat();
        body.setBorder(2);
        body.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        view.document()->rootFrame()->setFrameFormat(body);
    };
    view.Navigate(HelpIndexUrl());
    expectNoBorder("first load");
    frame();
    ClickLink("Методика расчёта");
    expectNoBorder("link");
    frame();
    view.GoBack();
    expectNoBorder("back");
    frame();
    view.GoForward();
    expectNoBorder("forward");
    frame();
    view.Navigate(HelpIndexUrl());
    expectNoBorder("home");
    frame();
    view.Navigate(HelpIndexUrl());
    expectNoBorder("home on the index page");
}

TEST(HelpBorder, NothingWithoutADocument) {
    HideBodyBorder(nullptr);
    THelpBrowser view;
    view.setFrameShape(QFrame::Box);
    HideBodyBorder(&view);
    EXPECT_EQ(view.frameShape(), QFrame::Box);
}

TEST_F(HelpBrowserTest, TakesTheFocusOnlyWithADocument) {
    QLineEdit other(&view);
    other.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    other.setFocus();
    view.TakeFocus();
    EXPECT_TRUE(other.hasFocus());
    view.Navigate(HelpIndexUrl());
    view.TakeFocus();
    EXPECT_TRUE(view.hasFocus());
}

// Back and forward scroll to where the page was left.
TEST_F(HelpBrowserTest, HistoryKeepsTheScrollPosition) {
    view.Navigate(Page("ОПИСАНИЕ"));
    ASSERT_GT(view.verticalScrollBar()->maximum(), 100);
    view.verticalScrollBar()->setValue(100);
    view.Navigate(Page("ИСТОРИЯ"));
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    view.GoBack();
    EXPECT_EQ(view.verticalScrollBar()->value(), 100);
}

// The view may go away while it holds the focus and its owner is connected to it.
TEST(HelpBrowserLife, DestroyedWhileConnectedAndFocused) {
    QWidget window;
    auto* view = new THelpBrowser(&window);
    int notifications = 0;
    QObject::connect(view, &THelpBrowser::CommandStateChange, &window, [&] { ++notifications; });
    window.show();
    view->Navigate(HelpIndexUrl());
    view->TakeFocus();
    const int before = notifications;
    delete view;
    EXPECT_EQ(notifications, before);
    EXPECT_EQ(window.focusWidget(), nullptr);
}

} // namespace
