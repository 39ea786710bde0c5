#pragma once

// What the settings-file tests share: the window started and closed as often as a test needs, beside
// a settings file of the test's own in a private program folder (the separator ",").

#include "Unit1.h"
#include "user_locale.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class Config : public testing::Test {
  public:
    void SetUp() override {
        OverrideUserDecimalSeparator(u',');
        ASSERT_TRUE(dir.isValid());
        UseFolder(dir.path() + u'/');
    }
    void TearDown() override {
        form.reset();
        OverrideProgramFolder(QString());
        OverrideUserDecimalSeparator(u'\0');
    }

    void UseFolder(const QString& folder) {
        programFolder = folder;
        OverrideProgramFolder(folder);
    }
    QString Path() const { return programFolder + QStringLiteral("/стелворн.ini"); }

    void WriteFile(const QByteArray& bytes) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray FileBytes() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Start() {
        form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void Close() {
        ASSERT_TRUE(form->close());
        form.reset();
    }

    template <typename T = QWidget> T* Find(const char* name) {
        T* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool Checked(const char* name) { return Find<QAbstractButton>(name)->isChecked(); }
    QString Text(const char* name) {
        QWidget* w = Find(name);
        if (auto* box = qobject_cast<QComboBox*>(w))
            return box->currentText();
        if (auto* field = qobject_cast<TsSpinEdit*>(w))
            return field->Text();
        return static_cast<TsDecimalSpinEdit*>(w)->Text();
    }
    // Empties a field as the user does, and moves on.
    void Empty(const char* name) {
        QWidget* w = Find(name);
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    }

    QTemporaryDir dir;
    QString programFolder;
    std::unique_ptr<TForm1> form;
};
