#pragma once

// What the window tests share: the real window on a first start (no settings file, the separator
// ","), shown and active, with its controls found by name and driven by keys and clicks as a
// user's are.

#include "Unit1.h"
#include "user_locale.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class WindowTest : public testing::Test {
  protected:
    void SetUp() override {
        OverrideUserDecimalSeparator(u',');
        ASSERT_TRUE(folder.isValid());
        OverrideProgramFolder(folder.path() + u'/'); // a first start: no settings file
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

    template <typename T = QWidget> T* Find(const char* name) {
        T* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString LabelText(const char* name) { return Find<QLabel>(name)->text(); }

    // Keys go where the keyboard focus is, as a user's do.
    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Type(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // Replaces a field's text as a user does: focus it, select all, type.
    void TypeInto(QWidget* field, const QString& text) {
        field->setFocus();
        ASSERT_TRUE(field->hasFocus() || field->isAncestorOf(Focus()));
        QTest::keyClick(Focus(), Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(Focus(), Qt::Key_Delete);
        Type(text);
    }

    // Runs a dialog of the window modal, as the program runs it, and hands it to `use` once it is up and
    // has the focus; closes it if `use` leaves it open.
    static void ExecWhenActive(QDialog& dialog, const std::function<void()>& use) {
        QTimer::singleShot(0, &dialog, [&] {
            // The dialog counts as active through its parent at once: wait for the focus itself.
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
            use();
            if (dialog.isVisible())
                dialog.reject();
        });
        dialog.exec();
    }

    // Clicks the middle of a widget.
    void Click(const char* name) {
        QWidget* w = Find(name);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    }

    QStringList ResultLabels() {
        QStringList texts;
        for (const char* name : {"sLabel31", "sLabel21", "sLabel25", "sLabel18", "sLabel33", "sLabel35",
                                 "sLabel38", "sLabel30", "sLabel28", "sLabel39"})
            texts << LabelText(name);
        return texts;
    }

    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};
