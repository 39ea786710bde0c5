// The window as a new user meets it: completion back to an item after editing, F1 over an open
// list, a rod length below its bound, the bold total, very long soil texts and Qt's own menus.
#include "Unit1.h"
#include "application.h"
#include "user_locale.h"

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

class NewUser : public testing::Test {
  protected:
    void SetUp() override {
        OverrideUserDecimalSeparator(u',');
        ASSERT_TRUE(folder.isValid());
        OverrideProgramFolder(folder.path() + u'/'); // a first start: the reset inputs
        form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        form.reset();
        OverrideProgramFolder(QString());
        OverrideUserDecimalSeparator(u'\0');
    }

    template <typename T = QWidget> T* Find(const QString& name) {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString Total() { return Find<QLabel>("sLabel39")->text(); }
    QStringList ResultLabels() {
        QStringList texts;
        for (const char* name : {"sLabel31", "sLabel21", "sLabel25", "sLabel18", "sLabel33", "sLabel35",
                                 "sLabel38", "sLabel30", "sLabel28", "sLabel39"})
            texts << Find<QLabel>(name)->text();
        return texts;
    }

    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Type(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    static void SelectAll() { QTest::keyClick(Focus(), Qt::Key_A, Qt::ControlModifier); }
    static void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
    }

    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
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

} // namespace
