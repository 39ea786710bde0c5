// The rich-text hint window: its little HTML, wrapping, colours, and when it shows and hides.
#include "TsHints.h"
#include "TsSkinManager.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

const QString DepthHint =
    QStringLiteral("Расстояние от поверхности земли до верхней части электродов<br>\r\n(от 10 см до 1 м.)");
const QString RegionHint = QStringLiteral(
    "<b>I климатический район</b><br><br>\r\n\r\nСредний минимум: −20...−15°C<br>\r\nСредний максимум: "
    "+16...+18°C<br>\r\nСреднегодовое кол-во осадков: 40 см<br>\r\nПродолжительность замерзания воды: 180 "
    "дней<br><br>\r\n\r\n<i>Архангельская, Кировская области, Карелия</i>");
const QString LongHint =
    QStringLiteral("В зависимости от формы сечения соединителя, ширина полосы, ширина стороны "
                   "уголка или диаметр трубы (от 8 мм.) ")
        .repeated(2);

// The lines as shown.
QStringList Lines(const QTextDocument& document) {
    return document.toPlainText().split(u'\n');
}

} // namespace

TEST(HintText, OnlyBoldItalicAndBreakAreTagsAndCrLfIsABlank) {
    const struct {
        const char* hint;
        const char* html;
    } cases[] = {
        {"a<B>b</b><I>c</i>d<BR>e<Br>f", "a<b>b</b><i>c</i>d<br>e<br>f"},
        {"one\r\ntwo", "one two"},
        {"<u>x</u> & <script> \"q\" a>b", "&lt;u&gt;x&lt;/u&gt; &amp; &lt;script&gt; &quot;q&quot; a&gt;b"},
        {"<b", "&lt;b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HintToHtml(QString::fromUtf8(c.hint)), QString::fromUtf8(c.html)) << c.hint;
}

class Hints : public testing::Test {
  protected:
    void SetUp() override {
        window.setLayout(new QVBoxLayout);
        field = new QLineEdit(&window);
        plain = new QLineEdit(&window);
        window.layout()->addWidget(field);
        window.layout()->addWidget(plain);
        field->setToolTip(DepthHint);
        window.resize(300, 100);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        hints = new TsHints(&manager, &window, [this] { return showHints; });
    }

    // What the toolkit sends when the pointer rests on a widget.
    void Rest(QWidget* widget) {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(widget, &help);
    }
    bool Showing(QWidget* owner) { return hints->HintWindow()->isVisible() && hints->Owner() == owner; }

    TsSkinManager manager;
    QWidget window;
    QLineEdit *field, *plain;
    TsHints* hints;
    bool showHints = true;
};

TEST_F(Hints, TheDepthHintShowsTwoLinesAndTheRegionHintBlankLinesBoldAndItalic) {
    Rest(field);
    ASSERT_TRUE(Showing(field));
    EXPECT_FALSE(QToolTip::isVisible()); // our window, not the toolkit's tooltip
    EXPECT_EQ(Lines(hints->HintWindow()->Document()),
              (QStringList{QStringLiteral("Расстояние от поверхности земли до верхней части электродов"),
                           QStringLiteral("(от 10 см до 1 м.)")}));

    field->setToolTip(RegionHint);
    Rest(field);
    const QTextDocument& document = hints->HintWindow()->Document();
    const QStringList lines = Lines(document);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], QStringLiteral("I климатический район"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("Средний минимум: −20...−15°C"));
    EXPECT_EQ(lines[6], QString());
    EXPECT_EQ(lines[7], QStringLiteral("Архангельская, Кировская области, Карелия"));
    EXPECT_TRUE(document.find(lines[0]).charFormat().font().bold());
    EXPECT_FALSE(document.find(lines[2]).charFormat().font().bold());
    EXPECT_TRUE(document.find(lines[7]).charFormat().font().italic());
    EXPECT_FALSE(document.find(lines[2]).charFormat().font().italic());
}

TEST_F(Hints, ALongHintWrapsAt400PixelsAndStaysWithoutATimeLimit) {
    field->setToolTip(LongHint);
    Rest(field);
    ASSERT_TRUE(Showing(field));
    const int limit = HintMaxWidth(window.screen());
    EXPECT_EQ(limit, static_cast<int>(400 * window.screen()->logicalDotsPerInch() / 96));
    const QTextDocument& document = hints->HintWindow()->Document();
    EXPECT_LE(document.idealWidth(), limit);
    EXPECT_GT(document.idealWidth(), limit - 60); // it uses the width it has
    EXPECT_GE(document.firstBlock().layout()->lineCount(), 2);
    EXPECT_LE(hints->HintWindow()->width(), limit + 12);

    QTest::qWait(1500);
    EXPECT_TRUE(Showing(field));
    Rest(field); // the pointer rests on: the same hint stays where it is
    EXPECT_TRUE(Showing(field));
}

TEST_F(Hints, TheHintHidesOnLeavingAClickOrAKey) {
    const std::function<void()> hiders[] = {
        [&] {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(field, &leave);
        },
        [&] { QTest::mouseClick(plain, Qt::LeftButton); },
        [&] { QTest::keyClick(plain, Qt::Key_A); },
        [&] { field->hide(); },
    };
    for (const auto& hide : hiders) {
        field->show();
        Rest(field);
        ASSERT_TRUE(Showing(field));
        hide();
        EXPECT_FALSE(hints->HintWindow()->isVisible());
    }
    // Resting on a control without a hint shows nothing.
    Rest(plain);
    EXPECT_FALSE(hints->HintWindow()->isVisible());
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(Hints, TheWindowsSwitchStopsEveryHintAndTheThemeGivesTheColours) {
    showHints = false;
    Rest(field);
    EXPECT_FALSE(hints->HintWindow()->isVisible());
    EXPECT_FALSE(QToolTip::isVisible());

    showHints = true;
    Rest(field);
    const TsHintWindow::Style themed = hints->HintWindow()->CurrentStyle();
    EXPECT_EQ(themed.Background, manager.Theme().HintBackground);
    EXPECT_EQ(themed.Border, manager.Theme().HintBorder);
    hints->HideHint();

    manager.SetActive(false);
    Rest(field);
    EXPECT_EQ(hints->HintWindow()->CurrentStyle().Background,
              QApplication::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(hints->HintWindow()->CurrentStyle().Text, QApplication::palette().color(QPalette::ToolTipText));
}

TEST_F(Hints, AControlDestroyedUnderItsHintTakesTheHintAlong) {
    Rest(field);
    ASSERT_TRUE(Showing(field));
    delete field;
    EXPECT_FALSE(hints->HintWindow()->isVisible());
}
