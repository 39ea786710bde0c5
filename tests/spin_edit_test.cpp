// The integer field, driven as a user drives it: keys, pastes, the wheel, the arrow buttons and the
// focus moving away; every change event counted.

#include "TsSpinEdit.h"
#include "field_test_support.h"
#include "numeric_fields.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QTimer>
#include <limits>

namespace {

constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();

class IntegerFieldTest : public FieldWindowTest {
  protected:
    void SetUp() override {
        FieldWindowTest::SetUp();
        for (int i = 0; i < 4; ++i) {
            fields[i] = Place(CreateProgramSpinEdit(QStringLiteral("sSpinEdit%1").arg(i + 1), nullptr));
            fields[i]->Loaded();
        }
        Show();
    }

    TsSpinEdit* Field(int number) const { return fields[number - 1]; }

    TsSpinEdit* fields[4] = {};
};

TEST_F(IntegerFieldTest, YieldsTheTypedNumberUntilTheFocusLeaves) {
    struct Case {
        int field;
        const char* typed;
        int64_t whileTyped;
        const char* afterLeaving;
        int eventsOnLeaving;
    };
    const Case cases[] = {
        {1, "", 0, "1", 1},
        {3, "", 0, "8", 1},
        {4, "", 0, "1", 1},
        {1, "0", 0, "1", 1},
        {1, "25", 25, "20", 1},
        {3, "5", 5, "8", 1},
        {4, "100000", 100000, "100000", 0}, // no upper bound
        {1, "007", 7, "007", 0},            // in range: left as typed
        {2, "3000000000", 3000000000, "4", 1},
        // Beyond 64 bits: the nearest bound, and the text follows on leaving.
        {1, "99999999999999999999", kMax64, "20", 1},
        {4, "99999999999999999999", kMax64, "9223372036854775807", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TsSpinEdit* field = Field(c.field);
        QSignalSpy changed(field, &TsSpinEdit::changed);
        Empty(field);
        Type(field, c.typed);
        EXPECT_EQ(changed.count(), 1 + static_cast<int>(strlen(c.typed))); // Backspace, then each digit
        EXPECT_EQ(field->Value(), c.whileTyped);
        EXPECT_EQ(field->Text(), QString::fromUtf8(c.typed));
        changed.clear();
        Leave();
        EXPECT_EQ(field->Text(), QString::fromUtf8(c.afterLeaving));
        EXPECT_EQ(changed.count(), c.eventsOnLeaving);
    }
}

TEST_F(IntegerFieldTest, LeavingRewritesBareSignsOnceForEachRewrite) {
    TsSpinEdit* unbounded = Place(new TsSpinEdit);
    unbounded->SetNumbersOnly(false);
    unbounded->Loaded();
    unbounded->show();
    struct Case {
        TsSpinEdit* field;
        const char* pasted;
        const char* afterLeaving;
        int eventsOnLeaving;
    };
    const Case cases[] = {
        {unbounded, "-", "0", 1},   {unbounded, "+0", "0", 1},
        {unbounded, "-7", "-7", 0}, {Field(1), "-0", "1", 2}, // "0", then the lower bound
        {Field(1), "+0", "1", 2},   {Field(1), "+5", "+5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        Focus(c.field);
        c.field->Edit()->setText(QString::fromUtf8(c.pasted));
        QSignalSpy changed(c.field, &TsSpinEdit::changed);
        Leave();
        EXPECT_EQ(c.field->Text(), QString::fromUtf8(c.afterLeaving));
        EXPECT_EQ(changed.count(), c.eventsOnLeaving);
    }
}

TEST_F(IntegerFieldTest, NumbersOnlyRefusesEveryOtherTypedCharacterWithABeep) {
    for (const char* refused : {"+", "-", ",", ".", "a", " ", "$"}) {
        SCOPED_TRACE(refused);
        TsSpinEdit* field = Field(4);
        Focus(field);
        QSignalSpy changed(field, &TsSpinEdit::changed);
        beeps = 0;
        Type(field, QString::fromUtf8(refused));
        EXPECT_EQ(field->Text(), u"40");
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(beeps, 1);
        EXPECT_NE(RefusedKeySign(field), nullptr); // seen too, where the beep is silent
    }
    QSignalSpy changed(Field(4), &TsSpinEdit::changed);
    Type(Field(4), QStringLiteral("0123456789"));
    EXPECT_EQ(Field(4)->Text(), u"400123456789");
    EXPECT_EQ(changed.count(), 10);
    EXPECT_EQ(beeps, 1);
}

enum class Action { Up, Down, Wheel, ButtonUp, ButtonDown };

struct StepCase {
    int field;
    const char* start;
    Action action;
    int wheelDelta;
    const char* after;
    int events;
};

TEST_F(IntegerFieldTest, StepsByTheIncrementFromTheValueRead) {
    const StepCase cases[] = {
        {1, "5", Action::Up, 0, "6", 1},
        {1, "5", Action::Down, 0, "4", 1},
        {1, "20", Action::Up, 0, "20", 0}, // at the bounds nothing changes
        {1, "1", Action::Down, 0, "1", 0},
        {1, "25", Action::Down, 0, "20", 1}, // 24, bound-checked
        {3, "", Action::Up, 0, "8", 1},      // from 0 to 1, bound-checked
        {3, "12a", Action::Up, 0, "9", 1},   // no number: from MinValue
        {1, "007", Action::Up, 0, "8", 1},
        {4, "40", Action::Wheel, 240, "42", 1},
        {4, "40", Action::Wheel, -120, "39", 1},
        {4, "40", Action::Wheel, -359, "38", 1}, // the quotient is truncated towards zero
        {4, "40", Action::Wheel, 60, "40", 0},   // less than a notch
        {4, "007", Action::Wheel, 60, "007", 0},
        {4, "9223372036854775807", Action::Up, 0, "9223372036854775807", 0}, // saturates
        {4, "40", Action::ButtonUp, 0, "41", 1},
        {4, "40", Action::ButtonDown, 0, "39", 1},
        {2, "4", Action::ButtonUp, 0, "4", 0},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << " action " << static_cast<int>(c.action));
        TsSpinEdit* field = Field(c.field);
        field->Edit()->setText(QString::fromUtf8(c.start));
        Leave(); // steps by the arrow buttons also take the focus into the field
        QSignalSpy changed(field, &TsSpinEdit::changed);
        switch (c.action) {
        case Action::Up:
            Key(field, Qt::Key_Up);
            break;
        case Action::Down:
            Key(field, Qt::Key_Down);
            break;
        case Action::Wheel:
            Wheel(field, c.wheelDelta);
            break;
        case Action::ButtonUp:
            QTest::mouseClick(field->Buttons(), Qt::LeftButton, {}, UpButton(field));
            EXPECT_TRUE(field->Edit()->hasFocus());
            break;
        case Action::ButtonDown:
            QTest::mouseClick(field->Buttons(), Qt::LeftButton, {}, DownButton(field));
            EXPECT_TRUE(field->Edit()->hasFocus());
            break;
        }
        EXPECT_EQ(field->Text(), QString::fromUtf8(c.after));
        EXPECT_EQ(changed.count(), c.events);
    }
}

TEST_F(IntegerFieldTest, ArrowButtonStepsOnReleaseOverThePressedButton) {
    TsSpinEdit* field = Field(4);
    QWidget* buttons = field->Buttons();
    QSignalSpy changed(field, &TsSpinEdit::changed);

    // Pressing focuses the field at once (the other field's focus loss comes first) but steps nothing.
    Empty(Field(1));
    Type(Field(1), QStringLiteral("25"));
    QTest::mousePress(buttons, Qt::LeftButton, {}, UpButton(field));
    EXPECT_TRUE(field->Edit()->hasFocus());
    EXPECT_EQ(Field(1)->Text(), u"20");
    EXPECT_EQ(field->Text(), u"40");
    // Released over the other button: no step.
    MoveHeld(buttons, DownButton(field));
    QTest::mouseRelease(buttons, Qt::LeftButton, {}, DownButton(field));
    EXPECT_EQ(field->Text(), u"40");
    // Released outside the strip: no step.
    QTest::mousePress(buttons, Qt::LeftButton, {}, DownButton(field));
    QTest::mouseRelease(buttons, Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_EQ(field->Text(), u"40");
    // Moved away and back before the release: one step.
    QTest::mousePress(buttons, Qt::LeftButton, {}, DownButton(field));
    MoveHeld(buttons, QPoint(-20, 5));
    MoveHeld(buttons, DownButton(field));
    QTest::mouseRelease(buttons, Qt::LeftButton, {}, DownButton(field));
    EXPECT_EQ(field->Text(), u"39");
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(IntegerFieldTest, HeldArrowButtonRepeatsAfterADelay) {
    TsSpinEdit* field = Field(4);
    QSignalSpy changed(field, &TsSpinEdit::changed);
    QElapsedTimer held;
    held.start();
    QTest::mousePress(field->Buttons(), Qt::LeftButton, {}, UpButton(field));
    EXPECT_TRUE(QTest::qWaitFor([&] { return changed.count() >= 1; }, 5000));
    EXPECT_GE(held.elapsed(), TsCustomSpinEdit::kFirstRepeatDelayMs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return changed.count() >= 4; }, 5000));
    EXPECT_GE(held.elapsed(),
              TsCustomSpinEdit::kFirstRepeatDelayMs + 3 * TsCustomSpinEdit::kRepeatIntervalMs);

    // Held off the button, it does not repeat.
    MoveHeld(field->Buttons(), QPoint(-20, 5));
    const int offButton = changed.count();
    QTest::qWait(3 * TsCustomSpinEdit::kRepeatIntervalMs);
    EXPECT_EQ(changed.count(), offButton);

    // Back over it, it repeats again; the release makes one more step and ends the repeating.
    MoveHeld(field->Buttons(), UpButton(field));
    EXPECT_TRUE(QTest::qWaitFor([&] { return changed.count() > offButton; }, 5000));
    QTest::mouseRelease(field->Buttons(), Qt::LeftButton, {}, UpButton(field));
    const int released = changed.count();
    QTest::qWait(3 * TsCustomSpinEdit::kRepeatIntervalMs);
    EXPECT_EQ(changed.count(), released);
    EXPECT_EQ(field->Value(), 40 + released);
}

TEST_F(IntegerFieldTest, PasteTakesOnlyA32BitWholeNumber) {
    struct Case {
        int field;
        const char* before;
        bool selectAll;
        const char* clipboard;
        const char* after;
        int events;
    };
    const Case cases[] = {
        {1, "3", true, "12", "12", 1},
        {1, "3", true, " 5", " 5", 1},
        {4, "40", false, "12", "4012", 1},
        {4, "40", true, "2147483647", "2147483647", 1},
        // Refused: the text is set back to the value noted before the paste (two text changes).
        {1, "3", true, "12a", "3", 2},
        {1, "007", true, "12a", "7", 2},
        {1, "", true, "x", "0", 2},
        {4, "40", true, "3000000000", "40", 2},
        {4, "40", false, "1,5", "40", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        TsSpinEdit* field = Field(c.field);
        Focus(field);
        field->Edit()->setText(QString::fromUtf8(c.before));
        if (c.selectAll)
            field->Edit()->selectAll();
        QSignalSpy changed(field, &TsSpinEdit::changed);
        Paste(field, QString::fromUtf8(c.clipboard));
        EXPECT_EQ(field->Text(), QString::fromUtf8(c.after));
        EXPECT_EQ(changed.count(), c.events);
    }
    // Shift+Insert pastes the same way.
    Focus(Field(1));
    Field(1)->Edit()->setText(QStringLiteral("3"));
    QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
    Key(Field(1), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Field(1)->Text(), u"3");
}

TEST_F(IntegerFieldTest, ContextMenuPasteIsCheckedToo) {
    TsSpinEdit* field = Field(1);
    Focus(field);
    field->Edit()->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
    QSignalSpy changed(field, &TsSpinEdit::changed);
    bool triggered = false;
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        for (QAction* action : popup ? popup->actions() : QList<QAction*>()) {
            if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
                action->trigger();
                triggered = true;
            }
        }
        if (popup)
            popup->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), field->Edit()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field->Edit(), &menu);
    ASSERT_TRUE(triggered);
    EXPECT_EQ(field->Text(), u"3");
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(IntegerFieldTest, SetFromCodeRaisesOnlyWhenTheTextChanges) {
    struct Case {
        int field;
        const char* before;
        int64_t value;
        const char* after;
        int events;
    };
    const Case cases[] = {
        {1, "3", 3, "3", 0},    {1, "3", 5, "5", 1},  {1, "3", 25, "20", 1},
        {1, "20", 25, "20", 0}, // the bound-checked text is the one shown
        {1, "007", 7, "7", 1},  {1, "3", -5, "1", 1}, {4, "40", 5000000000, "5000000000", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        TsSpinEdit* field = Field(c.field);
        field->Edit()->setText(QString::fromUtf8(c.before));
        QSignalSpy changed(field, &TsSpinEdit::changed);
        field->SetValue(c.value);
        EXPECT_EQ(field->Text(), QString::fromUtf8(c.after));
        EXPECT_EQ(changed.count(), c.events);
    }
    // Without bounds a negative value stays negative.
    TsSpinEdit unbounded;
    unbounded.Loaded();
    unbounded.SetValue(-5);
    EXPECT_EQ(unbounded.Text(), u"-5");
    EXPECT_EQ(unbounded.Value(), -5);
}

TEST_F(IntegerFieldTest, KeysOfTheTextBox) {
    TsSpinEdit* field = Field(1);
    Focus(field);
    QSignalSpy changed(field, &TsSpinEdit::changed);
    // Enter does nothing.
    Key(field, Qt::Key_Return);
    Key(field, Qt::Key_Enter);
    EXPECT_EQ(field->Text(), u"3");
    EXPECT_TRUE(field->Edit()->hasFocus());
    // Ctrl+A selects the whole text, which a digit then replaces.
    field->Edit()->setCursorPosition(1);
    Key(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->Edit()->selectedText(), u"3");
    Type(field, QStringLiteral("2"));
    EXPECT_EQ(field->Text(), u"2");
    // Backspace and Delete are text changes.
    Key(field, Qt::Key_Backspace);
    Type(field, QStringLiteral("45"));
    field->Edit()->setCursorPosition(0);
    Key(field, Qt::Key_Delete);
    EXPECT_EQ(field->Text(), u"5");
    EXPECT_EQ(changed.count(), 5);
    EXPECT_EQ(beeps, 0);
    // Tab moves the focus on, with the focus loss of the field.
    field->Edit()->end(false);
    Type(field, QStringLiteral("0"));
    Key(field, Qt::Key_Tab);
    EXPECT_TRUE(Field(2)->Edit()->hasFocus());
    EXPECT_EQ(field->Text(), u"20");
}

TEST_F(IntegerFieldTest, AnotherWindowOrAMenuTakingTheFocusIsNoFocusLoss) {
    TsSpinEdit* field = Field(1);
    Empty(field);
    Type(field, QStringLiteral("25"));
    QSignalSpy changed(field, &TsSpinEdit::changed);

    QWidget otherWindow;
    otherWindow.show();
    otherWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&otherWindow));
    EXPECT_FALSE(field->Edit()->hasFocus());
    EXPECT_EQ(field->Text(), u"25");

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(field->Edit()->hasFocus());
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(5, 5),
                           field->Edit()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field->Edit(), &menu);
    EXPECT_EQ(field->Text(), u"25");
    EXPECT_EQ(changed.count(), 0);

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Leave();
    EXPECT_EQ(field->Text(), u"20");
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(IntegerFieldTest, DestroyingTheFocusedFieldIsNoFocusLoss) {
    TsSpinEdit* field = Field(1);
    Empty(field);
    Type(field, QStringLiteral("25"));
    int changed = 0;
    QObject::connect(field, &TsSpinEdit::changed, window.get(), [&] { ++changed; });
    delete field;
    fields[0] = nullptr;
    EXPECT_EQ(changed, 0);
}

TEST_F(IntegerFieldTest, BeingCreatedRaisesNoEvent) {
    TsSpinEdit* field = Place(CreateProgramSpinEdit(QStringLiteral("sSpinEdit1"), nullptr));
    field->show();
    QSignalSpy changed(field, &TsSpinEdit::changed);
    field->SetValue(7);
    Focus(field);
    Type(field, QStringLiteral("5"));
    Key(field, Qt::Key_Up);
    Paste(field, QStringLiteral("x"));
    Leave();
    EXPECT_EQ(field->Text(), u"20");
    EXPECT_EQ(changed.count(), 0);

    // Loaded() writes the text anew from the value read, without an event.
    for (const auto& [text, loaded] : {std::pair{"007", "7"}, {"", "0"}, {"25", "25"}}) {
        TsSpinEdit* fresh = Place(CreateProgramSpinEdit(QStringLiteral("sSpinEdit1"), nullptr));
        QSignalSpy freshChanged(fresh, &TsSpinEdit::changed);
        fresh->Edit()->setText(QString::fromUtf8(text));
        fresh->Loaded();
        EXPECT_EQ(fresh->Text(), QString::fromUtf8(loaded));
        EXPECT_EQ(freshChanged.count(), 0);
        fresh->SetValue(4);
        EXPECT_EQ(freshChanged.count(), 1);
    }
}

} // namespace
