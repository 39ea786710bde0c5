// The window as a new user meets it: completion back to an item after editing, F1 over an open
// list, a rod length below its bound, the bold total, very long soil texts and Qt's own menus.
#include "Unit1.h"
#include "application.h"
#include "user_locale.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class NewUser : public WindowTest {
  protected:
    QString Total() { return LabelText("sLabel39"); }
    static void SelectAll() { QTest::keyClick(Focus(), Qt::Key_A, Qt::ControlModifier); }
    static void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
    }
};

TEST_F(NewUser, CompletingBackToTheSelectedItemAfterEditingRecalculates) {
    // "Глина влажная (20)" in one layer, the rest as reset.
    const struct {
        const char* box;
        QString total;
    } cases[] = {{"sComboBox1", "14,5 Ом"}, {"sComboBox2", "11 Ом"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        form->sButton1Click();
        auto* box = Find<TsComboBox>(c.box);
        box->setFocus();
        // Each way of editing the text away from the completed item, then completing back to it.
        const std::function<void()> edits[] = {
            [] { Type("5"); },                                                // completes nothing
            [] { QTest::keyClick(Focus(), Qt::Key_Delete); },                 // Delete
            [] { QTest::keyClick(Focus(), Qt::Key_X, Qt::ControlModifier); }, // cut
            [] { Paste("5"); },                                               // paste
        };
        for (const auto& edit : edits) {
            SelectAll();
            Type("Г");
            ASSERT_EQ(box->currentText(), "Глина влажная (20)");
            SelectAll();
            edit();
            SelectAll();
            Type("Г");
            EXPECT_EQ(box->currentText(), "Глина влажная (20)");
            const QStringList shown = ResultLabels();
            form->Сalculation(); // what the inputs on screen give
            EXPECT_EQ(shown, ResultLabels());
            EXPECT_EQ(Total(), c.total);
        }
    }
}

TEST_F(NewUser, F1OverAnOpenSoilListClosesItAndTogglesTheHelpPage) {
    auto* pages = Find<TsPageControl>("sPageControl1");
    for (const char* name : {"sComboBox1", "sComboBox2"}) {
        SCOPED_TRACE(name);
        auto* box = Find<TsComboBox>(name);
        box->setFocus();
        box->showPopup();
        ASSERT_TRUE(box->view()->isVisible());
        QTest::keyClick(box->view(), Qt::Key_F1);
        EXPECT_FALSE(box->view()->isVisible());
        EXPECT_EQ(pages->currentIndex(), 2);
        QTest::keyClick(Focus() ? Focus() : form.get(), Qt::Key_F1);
        EXPECT_EQ(pages->currentIndex(), 0);
    }
}

TEST_F(NewUser, TheRodLengthFieldShowsTheLengthTheCalculationUses) {
    auto* length = Find<TsDecimalSpinEdit>("sDecimalSpinEdit6");
    length->SetValue(1);
    Find("sSpinEdit3")->setFocus(); // another control has the focus
    QSignalSpy changes(length, &TsDecimalSpinEdit::changed);
    const QPointF at(5, 5);
    QWheelEvent down(at, length->Edit()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(length->Edit(), &down);
    EXPECT_EQ(static_cast<double>(length->Value()), 0.9);
    EXPECT_EQ(length->Text(), "0,9");
    EXPECT_EQ(Find<QLabel>("sLabel31")->text(), "0,9 м.");

    length->setFocus(); // the focus passes through: the bound raises the value, with its event
    Find("sSpinEdit3")->setFocus();
    EXPECT_EQ(static_cast<double>(length->Value()), 1.0);
    EXPECT_EQ(length->Text(), "1");
    EXPECT_EQ(Find<QLabel>("sLabel31")->text(), "1 м.");
    EXPECT_EQ(changes.count(), 2);
}

// Dark pixels of a text drawn in black on white.
int Ink(const QFont& font, const QString& text) {
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(4, 28), text);
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    return ink;
}

TEST_F(NewUser, TheTotalIsBoldInTahoma8) {
    if (QFontInfo(QApplication::font()).family() != "Tahoma")
        GTEST_SKIP() << "Tahoma (fonts-wine) is not installed";
    auto* total = Find<QLabel>("sLabel39");
    QFont regular = total->font();
    regular.setBold(false);
    EXPECT_EQ(QFontInfo(total->font()).family(), "Tahoma");
    EXPECT_EQ(total->font().pointSize(), 8);
    EXPECT_TRUE(total->font().bold());
    // Bold strokes are thicker: clearly more ink for the same text, not just wider spacing.
    const QString text = QStringLiteral("27,8 Ом Глина");
    EXPECT_GT(Ink(total->font(), text), Ink(regular, text) * 5 / 4);
    for (const char* name : {"sLabel15", "sComboBox1", "sDecimalSpinEdit6", "sButton1"})
        EXPECT_EQ(QFontInfo(Find(name)->font()).family(), "Tahoma") << name;
}

TEST_F(NewUser, ASoilBoxHoldsAtMost2047Characters) {
    for (const char* name : {"sComboBox1", "sComboBox2"}) {
        SCOPED_TRACE(name);
        auto* box = Find<TsComboBox>(name);
        box->setFocus();
        SelectAll();
        Paste(QString(1'000'000, u'7'));
        EXPECT_EQ(box->currentText(), QString(2047, u'7'));
        EXPECT_EQ(Total(), "- Ом"); // far beyond any resistivity the calculation takes
        Type("8");                  // a full box takes no more
        EXPECT_EQ(box->currentText().size(), 2047);
        form->sButton1Click();
    }
}

// Texts of the context menu that a right click on `target` opens (some text boxes run their menu
// in a loop of its own, others leave it open and return).
QStringList ContextMenuTexts(QWidget* target) {
    QStringList texts;
    bool seen = false;
    auto read = [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        seen = true;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text().section(u'\t', 0, 0).remove(u'&');
        }
        menu->close();
    };
    QTimer::singleShot(0, read);
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen; }, 2000));
    return texts;
}

TEST_F(NewUser, QtsOwnMenusAreRussianForARussianUser) {
    EXPECT_EQ(InstallQtTranslation(QLocale(QLocale::English, QLocale::UnitedStates)), nullptr);
    const std::unique_ptr<QTranslator> russian(
        InstallQtTranslation(QLocale(QLocale::Russian, QLocale::Russia)));
    ASSERT_NE(russian, nullptr) << "qtbase_ru.qm (qt6-translations-l10n) is not installed";
    QWidget* edits[] = {Find<TsDecimalSpinEdit>("sDecimalSpinEdit6")->Edit(),
                        Find<TsComboBox>("sComboBox1")->lineEdit()};
    for (QWidget* edit : edits) {
        edit->setFocus();
        const QStringList texts = ContextMenuTexts(edit);
        EXPECT_TRUE(texts.contains("Отменить действие")) << texts.join(" | ").toStdString();
        EXPECT_TRUE(texts.contains("Вставить")) << texts.join(" | ").toStdString();
        for (const QString& text : texts)
            EXPECT_FALSE(text.contains(QRegularExpression("[A-Za-z]"))) << text.toStdString();
    }
    QCoreApplication::removeTranslator(russian.get());
}

TEST_F(NewUser, AFieldRefusesAPasteItWouldHaveToCut) {
    auto* length = Find<TsDecimalSpinEdit>("sDecimalSpinEdit6");
    length->setFocus();
    SelectAll();
    Paste(QStringLiteral("2") + QString(2046, u' ')); // 2047 characters: a number, taken whole
    EXPECT_EQ(length->Text().size(), 2047);
    EXPECT_EQ(static_cast<double>(length->Value()), 2.0);
    SelectAll();
    Paste(QStringLiteral("1") + QString(2047, u'0')); // a number too long to keep: refused, not cut
    EXPECT_EQ(length->Text(), "2");
    EXPECT_EQ(static_cast<double>(length->Value()), 2.0);

    auto* width = Find<TsSpinEdit>("sSpinEdit3");
    width->setFocus();
    SelectAll();
    Paste(QString(1'000'000, u'7'));
    EXPECT_EQ(width->Text(), "50");
}

} // namespace
