#pragma once

// What the numeric field tests share: a shown, active window to put fields in, with a text box that
// takes the focus away; a beep counter; key, paste, wheel and focus helpers driving real widgets.

#include "TsCustomSpinEdit.h"
#include "system_beep.h"
#include "user_locale.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

class FieldWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideUserDecimalSeparator(u',');
        SetSystemBeepHandler([this] { ++beeps; });
        window = std::make_unique<QWidget>();
        window->resize(200, 300);
    }

    void TearDown() override {
        window.reset();
        SetSystemBeepHandler({});
        OverrideUserDecimalSeparator(u'\0');
    }

    // Places a widget in the window below the previous one.
    template <class W> W* Place(W* widget) {
        widget->setParent(window.get());
        widget->move(10, 10 + 30 * placed++);
        return widget;
    }

    // Shows the window with a text box after the fields, which takes the focus on Leave().
    void Show() {
        other = Place(new QLineEdit);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    static void Focus(TsCustomSpinEdit* field) {
        field->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(field->Edit()->hasFocus());
    }

    // Moves the focus from the field to the text box after it.
    void Leave() {
        other->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(other->hasFocus());
    }

    static void Key(TsCustomSpinEdit* field, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(field->Edit(), key, modifiers);
    }

    static void Type(TsCustomSpinEdit* field, const QString& text) { QTest::keyClicks(field->Edit(), text); }

    // Focuses the field and empties it with Ctrl+A and Backspace, as a user would.
    static void Empty(TsCustomSpinEdit* field) {
        Focus(field);
        Key(field, Qt::Key_A, Qt::ControlModifier);
        Key(field, Qt::Key_Backspace);
        ASSERT_EQ(field->Text(), QString());
    }

    static void Paste(TsCustomSpinEdit* field, const QString& clipboard) {
        QGuiApplication::clipboard()->setText(clipboard);
        Key(field, Qt::Key_V, Qt::ControlModifier);
    }

    // A wheel turn of `delta` eighths of a degree (one notch is 120) received by the field's text box.
    static void Wheel(TsCustomSpinEdit* field, int delta) {
        QLineEdit* edit = field->Edit();
        const QPointF at(5, 5);
        QWheelEvent event(at, edit->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(edit, &event);
    }

    // Points on the arrow strip.
    static QPoint UpButton(TsCustomSpinEdit* field) { return {field->Buttons()->width() / 2, 3}; }
    static QPoint DownButton(TsCustomSpinEdit* field) {
        return {field->Buttons()->width() / 2, field->Buttons()->height() - 3};
    }

    // Lets the event loop run until the refused-key frame of `field` has gone, at most a second more
    // than its time.
    static void WaitForNoRefusedKeySign(const QWidget* field) {
        QElapsedTimer clock;
        clock.start();
        while (RefusedKeySign(field) && clock.elapsed() < kRefusedKeySignMs + 1000)
            QTest::qWait(10);
        EXPECT_EQ(RefusedKeySign(field), nullptr);
    }

    static void MoveHeld(QWidget* widget, QPoint to) {
        QMouseEvent event(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* other = nullptr;
    int beeps = 0;
    int placed = 0;
};

// The text with "," replaced by the user's decimal separator.
inline QString Sep(const char* text) {
    return QString::fromUtf8(text).replace(u',', QChar(UserDecimalSeparator()));
}
