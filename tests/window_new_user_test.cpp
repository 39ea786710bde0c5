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

} // namespace
