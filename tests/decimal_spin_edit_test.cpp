// The decimal field, driven as a user drives it, under both decimal separators: its stored value
// follows every typed text at once while the text stays as typed; the field writes its own text
// only for steps, sets from code, the focus loss and Loaded().

#include "TsDecimalSpinEdit.h"
#include "field_test_support.h"
#include "numeric_fields.h"
#include "numeric_text.h"

#include <QElapsedTimer>

#include <vector>

namespace {

class DecimalFieldTest : public FieldWindowTest, public ::testing::WithParamInterface<char16_t> {
  protected:
    void SetUp() override {
        FieldWindowTest::SetUp();
        OverrideUserDecimalSeparator(GetParam());
        thickness = Make("sDecimalSpinEdit1");
        depth = Make("sDecimalSpinEdit2");
        length = Make("sDecimalSpinEdit6");
        Show();
    }

    TsDecimalSpinEdit* Make(const char* name) {
        TsDecimalSpinEdit* field = Place(CreateProgramDecimalSpinEdit(QString::fromUtf8(name), nullptr));
        field->Loaded();
        return field;
    }

    TsDecimalSpinEdit* thickness = nullptr; // 0.1..3.0, one place
    TsDecimalSpinEdit* depth = nullptr;     // 0.1..1.0, one place
    TsDecimalSpinEdit* length = nullptr;    // 1.0 and up, one place, excess zeros hidden
};

INSTANTIATE_TEST_SUITE_P(Separators, DecimalFieldTest, ::testing::Values(u',', u'.'),
                         [](const auto& info) { return info.param == u',' ? "Comma" : "Point"; });

TEST_P(DecimalFieldTest, StoresTheTypedNumberAtOnceAndKeepsTheTypedText) {
    struct Case {
        TsDecimalSpinEdit* field;
        const char* typed; // "," stands for the user's separator
        long double whileTyped;
        const char* afterLeaving;
        long double afterValue;
        int eventsOnLeaving;
    };
    const Case cases[] = {
        {thickness, "5", 3.0L, "3,0", 3.0L, 0}, // stored clamped, shown as typed
        {thickness, "", 0.1L, "0,1", 0.1L, 0},  // 0, clamped
        {thickness, "+", 0.1L, "0,1", 0.1L, 0},
        {thickness, "1,", 1.0L, "1,0", 1.0L, 0},
        {thickness, "2,55", 2.55L, "2,6", 2.55L, 0},
        {depth, "", 0.1L, "0,1", 0.1L, 0},
        {depth, "0,27", 0.27L, "0,3", 0.27L, 0}, // the value keeps the digits the text drops
        {length, "0,5", 0.5L, "1", 1.0L, 1},     // unclamped while typed, raised on leaving
        {length, "", 0.0L, "1", 1.0L, 1},
        {length, "3,0", 3.0L, "3", 3.0L, 0},
        {length, "12,25", 12.25L, "12,3", 12.25L, 0},
        {length, "100000", 100000.0L, "100000", 100000.0L, 0},
    };
    for (const Case& c : cases) {
        const QString typed = Sep(c.typed);
        SCOPED_TRACE(typed.toStdString());
        QSignalSpy changed(c.field, &TsDecimalSpinEdit::changed);
        std::vector<long double> seen; // what a change handler reads
        const auto connection =
            QObject::connect(c.field, &TsDecimalSpinEdit::changed, [&] { seen.push_back(c.field->Value()); });
        Empty(c.field);
        Type(c.field, typed);
        QObject::disconnect(connection);
        EXPECT_EQ(changed.count(), 1 + typed.size());
        EXPECT_EQ(c.field->Text(), typed);
        EXPECT_EQ(c.field->Value(), c.whileTyped);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), c.whileTyped);

        changed.clear();
        Leave();
        EXPECT_EQ(c.field->Text(), Sep(c.afterLeaving));
        EXPECT_EQ(c.field->Value(), c.afterValue);
        EXPECT_EQ(changed.count(), c.eventsOnLeaving);
    }
}

TEST_P(DecimalFieldTest, TypedCharacters) {
    // '-' is refused because no field of the program has a lower bound of 0 or below.
    for (const QString& refused : {QStringLiteral("-"), QStringLiteral("a"), QStringLiteral("e")}) {
        SCOPED_TRACE(refused.toStdString());
        Empty(thickness);
        Type(thickness, QStringLiteral("1"));
        QSignalSpy changed(thickness, &TsDecimalSpinEdit::changed);
        beeps = 0;
        Type(thickness, refused);
        EXPECT_EQ(thickness->Text(), u"1");
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(beeps, 1);
        EXPECT_NE(RefusedKeySign(thickness), nullptr);
    }
    QSignalSpy changed(thickness, &TsDecimalSpinEdit::changed);
    Type(thickness, Sep(",5"));
    EXPECT_EQ(thickness->Text(), Sep("1,5"));
    EXPECT_EQ(thickness->Value(), 1.5L);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(beeps, 1);
}

// Under either separator a typed "." or "," (or the keypad's key) is the separator, once.
TEST_P(DecimalFieldTest, APointOrACommaIsTheSeparatorOnce) {
    struct Case {
        const char* before; // selected whole before typing; "," stands for the user's separator
        QString typed;      // literal keys; "|" stands for the keypad's decimal key
        const char* after;
        long double value;
        int refused;
    };
    const Case cases[] = {
        {"", QStringLiteral("2.5"), "2,5", 2.5L, 0},
        {"", QStringLiteral("2,5"), "2,5", 2.5L, 0},
        {"", QStringLiteral(".5"), ",5", 0.5L, 0},
        {"", QStringLiteral("3|5"), "3,5", 3.5L, 0},
        {"", QStringLiteral("1,5."), "1,5", 1.5L, 1},
        {"", QStringLiteral("1.5,"), "1,5", 1.5L, 1},
        {"", QStringLiteral("1.|5"), "1,5", 1.5L, 1},
        {"4,5", QStringLiteral(".7"), ",7", 0.7L, 0}, // the selected separator goes with the selection
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Empty(length);
        Type(length, Sep(c.before));
        length->Edit()->selectAll();
        beeps = 0;
        for (QChar key : c.typed) {
            if (key == u'|')
                QTest::keyClick(length->Edit(), Qt::Key_Period, Qt::KeypadModifier);
            else
                Type(length, QString(key));
        }
        EXPECT_EQ(length->Text(), Sep(c.after));
        EXPECT_EQ(length->Value(), c.value);
        EXPECT_EQ(beeps, c.refused);
        EXPECT_EQ(RefusedKeySign(length) != nullptr, c.refused > 0);
        Leave();
        WaitForNoRefusedKeySign(length);
    }
}

// A refused key shows for a moment as a red frame on the field, in the standard look and under a
// style sheet alike; the key returns at once, and the frame goes by itself.
TEST_P(DecimalFieldTest, ARefusedKeyShowsARedFrameForAMoment) {
    const QColor red(0xE0, 0x1B, 0x24);
    const auto edgeColour = [this] { return length->grab().toImage().pixelColor(1, length->height() / 2); };
    for (const char* sheet :
         {"", "QLineEdit { border: 1px solid #3060c0; background: #fbfbfb; color: #202020; }"}) {
        SCOPED_TRACE(sheet);
        window->setStyleSheet(QString::fromUtf8(sheet));
        Empty(length);
        Type(length, Sep("1,5"));
        EXPECT_NE(edgeColour(), red);
        QElapsedTimer clock;
        clock.start();
        Type(length, QStringLiteral("x"));
        EXPECT_LT(clock.elapsed(), kRefusedKeySignMs);
        ASSERT_NE(RefusedKeySign(length), nullptr);
        EXPECT_EQ(edgeColour(), red);
        Type(length, Sep(",")); // a second refusal while it shows: still one frame, its time anew
        EXPECT_EQ(length->findChildren<QWidget*>(QStringLiteral("RefusedKeySign")).size(), 1);
        EXPECT_EQ(length->Text(), Sep("1,5"));
        clock.restart();
        WaitForNoRefusedKeySign(length);
        EXPECT_GE(clock.elapsed(), kRefusedKeySignMs - 50);
        EXPECT_NE(edgeColour(), red);
    }
    window->setStyleSheet(QString());
}

TEST_P(DecimalFieldTest, SignsGoToTheFrontOfTheText) {
    TsDecimalSpinEdit* field = Place(new TsDecimalSpinEdit); // MinValue 0: a minus is allowed
    field->Loaded();
    field->show();
    struct Case {
        const char* text;
        int selectionStart, selectionLength; // -1: no selection, caret at the end
        char sign;
        const char* after;
        bool accepted;
    };
    const Case cases[] = {
        {"", -1, 0, '-', "-", true},     {"5", -1, 0, '-', "-5", true},   {"5", -1, 0, '+', "+5", true},
        {"-5", -1, 0, '-', "-5", false}, {"+5", -1, 0, '+', "+5", false}, {"-5", -1, 0, '+', "+5", true},
        {"+5", -1, 0, '-', "-5", true},  {"15", 0, 1, '-', "-5", true},   {"15", 1, 1, '-', "15", false},
        {"15", 0, 2, '+', "+", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text << " " << c.sign);
        Focus(field);
        field->Edit()->setText(QString::fromUtf8(c.text));
        if (c.selectionStart >= 0)
            field->Edit()->setSelection(c.selectionStart, c.selectionLength);
        QSignalSpy changed(field, &TsDecimalSpinEdit::changed);
        beeps = 0;
        QTest::keyClick(field->Edit(), c.sign);
        EXPECT_EQ(field->Text(), QString::fromUtf8(c.after));
        EXPECT_EQ(changed.count(), c.accepted ? 1 : 0);
        EXPECT_EQ(beeps, c.accepted ? 0 : 1);
    }
    EXPECT_EQ(field->Value(), 0); // "+" reads as 0

    // Without AllowNegative, or with a positive lower bound, the minus is refused; the plus is not.
    field->SetAllowNegative(false);
    Empty(field);
    Type(field, QStringLiteral("-+"));
    EXPECT_EQ(field->Text(), u"+");
    Empty(thickness);
    Type(thickness, QStringLiteral("-+"));
    EXPECT_EQ(thickness->Text(), u"+");
}

enum class Action { Up, Down, Wheel, ButtonUp, ButtonDown };

TEST_P(DecimalFieldTest, StepsFromTheStoredValueWithTheStoreClamp) {
    struct Case {
        TsDecimalSpinEdit* field;
        long double start;
        Action action;
        int wheelDelta;
        long double after;
        const char* text;
        int events;
    };
    const Case cases[] = {
        {depth, 0.95L, Action::Up, 0, 1.0L, "1,0", 1}, // 1.05, clamped
        {depth, 1.0L, Action::Up, 0, 1.0L, "1,0", 1},  // 1.1 differs from the stored value: an event
        {depth, 0.1L, Action::Down, 0, 0.1L, "0,1", 1},
        {thickness, 1.5L, Action::Up, 0, 1.5L + 0.1L, "1,6", 1},
        {thickness, 1.5L, Action::Wheel, 240, 1.5L + 0.1L * 2, "1,7", 1},
        {thickness, 1.5L, Action::Wheel, -120, 1.5L - 0.1L, "1,4", 1},
        {thickness, 1.5L, Action::Wheel, 100, 1.5L, "1,5", 0},
        {thickness, 1.5L, Action::ButtonUp, 0, 1.5L + 0.1L, "1,6", 1},
        {thickness, 1.5L, Action::ButtonDown, 0, 1.5L - 0.1L, "1,4", 1},
        {length, 2.5L, Action::Up, 0, 2.5L + 0.1L, "2,6", 1},
        {length, 1.0L, Action::Down, 0, 1.0L - 0.1L, "0,9", 1}, // stored below 1, and shown as stored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << static_cast<double>(c.start) << " action " << static_cast<int>(c.action));
        c.field->SetValue(c.start);
        ASSERT_EQ(c.field->Value(), c.start);
        QSignalSpy changed(c.field, &TsDecimalSpinEdit::changed);
        switch (c.action) {
        case Action::Up:
            Key(c.field, Qt::Key_Up);
            break;
        case Action::Down:
            Key(c.field, Qt::Key_Down);
            break;
        case Action::Wheel:
            Wheel(c.field, c.wheelDelta);
            break;
        case Action::ButtonUp:
            QTest::mouseClick(c.field->Buttons(), Qt::LeftButton, {}, UpButton(c.field));
            break;
        case Action::ButtonDown:
            QTest::mouseClick(c.field->Buttons(), Qt::LeftButton, {}, DownButton(c.field));
            break;
        }
        EXPECT_EQ(c.field->Value(), c.after);
        EXPECT_EQ(c.field->Text(), Sep(c.text));
        EXPECT_EQ(changed.count(), c.events);
    }
}

TEST_P(DecimalFieldTest, SetFromCodeRaisesWhenTheValueDiffers) {
    struct Case {
        TsDecimalSpinEdit* field;
        long double value;
        const char* text;
        int events;
    };
    // In order: each starts from the state the one before left.
    const Case cases[] = {
        {thickness, 1.5L, "1,5", 0}, // the design value itself
        {thickness, 3.0L, "3,0", 1}, {thickness, 3.0L, "3,0", 0}, {thickness, 1.56L, "1,6", 1},
        {length, 3.0L, "3", 1},      {length, 2.5L, "2,5", 1},    {length, 0.5L, "0,5", 1},
        {depth, 0.5L, "0,5", 0},     {depth, 5.0L, "1,0", 1},     {depth, -1.0L, "0,1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        QSignalSpy changed(c.field, &TsDecimalSpinEdit::changed);
        c.field->SetValue(c.value);
        EXPECT_EQ(c.field->Text(), Sep(c.text));
        EXPECT_EQ(changed.count(), c.events);
    }
    EXPECT_EQ(length->Value(), 0.5L); // stored unclamped: its MinValue is not below its MaxValue

    // A set of the stored value does nothing, even while the text shows something else.
    Empty(thickness);
    Type(thickness, QStringLiteral("5"));
    QSignalSpy changed(thickness, &TsDecimalSpinEdit::changed);
    thickness->SetValue(3.0L);
    EXPECT_EQ(thickness->Text(), u"5");
    EXPECT_EQ(changed.count(), 0);
}

TEST_P(DecimalFieldTest, PasteTakesOnlyANumberInTheUserFormat) {
    const char* otherSeparatorNumber = GetParam() == u',' ? "2.5" : "2,5";
    struct Case {
        TsDecimalSpinEdit* field;
        long double before;
        QString clipboard;
        const char* after;
        long double value;
        int events;
    };
    const Case cases[] = {
        {thickness, 1.5L, Sep("2,5"), "2,5", 2.5L, 1},
        {length, 2.5L, QStringLiteral("1e1"), "1e1", 10.0L, 1},
        // Refused: set back to the noted value in the plain number format (two text changes).
        {thickness, 1.5L, QStringLiteral("abc"), "1,5", 1.5L, 2},
        {thickness, 1.5L, QString::fromUtf8(otherSeparatorNumber), "1,5", 1.5L, 2},
        {length, 2.5L, QStringLiteral("1e5000"), "2,5", 2.5L, 2},
        // A number whose own text would not fit in the field's 2047 characters.
        {length, 2.5L, QStringLiteral("1E4932"), "2,5", 2.5L, 2},
        {length, 2.5L, QStringLiteral("1e2047"), "2,5", 2.5L, 2},
        {thickness, 1.5L, QStringLiteral("1e4932"), "1e4932", 3.0L, 1}, // stored as 3,0: fits
        {depth, 0.5L, QString(), "0,5", 0.5L, 2},                       // an empty text is no number either
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard.toStdString());
        c.field->SetValue(c.before);
        Focus(c.field);
        c.field->Edit()->selectAll();
        QSignalSpy changed(c.field, &TsDecimalSpinEdit::changed);
        std::vector<long double> seen;
        const auto connection =
            QObject::connect(c.field, &TsDecimalSpinEdit::changed, [&] { seen.push_back(c.field->Value()); });
        Paste(c.field, c.clipboard);
        QObject::disconnect(connection);
        EXPECT_EQ(c.field->Text(), Sep(c.after));
        EXPECT_EQ(c.field->Value(), c.value);
        EXPECT_EQ(changed.count(), c.events);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), c.value);
        Leave();
    }

    // The set-back text carries all the digits of the value, not the one place shown.
    Empty(depth);
    Type(depth, Sep("0,27"));
    Leave();
    ASSERT_EQ(depth->Text(), Sep("0,3"));
    Focus(depth);
    depth->Edit()->selectAll();
    Paste(depth, QStringLiteral("x"));
    EXPECT_EQ(depth->Text(), Sep("0,27"));
    EXPECT_EQ(depth->Value(), 0.27L);
}

// The field never shows a cut number: the largest paste it takes is written whole on leaving, and a
// typed number whose own text would be one character too long is written in exponent form.
TEST_P(DecimalFieldTest, ALongNumberIsNeverCut) {
    Focus(length);
    length->Edit()->selectAll();
    Paste(length, QStringLiteral("1e2046"));
    Leave();
    EXPECT_EQ(length->Text(), QStringLiteral("1") + QString(2046, u'0'));
    EXPECT_EQ(length->Value(), 1e2046L);

    Focus(length);
    length->Edit()->selectAll();
    Paste(length, QString(2046, u'9'));
    Type(length, QStringLiteral("9")); // 2047 nines round to 1 and 2047 zeros
    Leave();
    EXPECT_LE(length->Text().size(), TsCustomSpinEdit::kMaxTextLength);
    EXPECT_EQ(length->Text(), QStringLiteral("1e2047"));
    const std::optional<long double> shown = ParseDecimal(length->Text(), GetParam());
    ASSERT_TRUE(shown.has_value());
    EXPECT_NEAR(static_cast<double>(*shown / length->Value()), 1.0, 1e-15);
}

TEST_P(DecimalFieldTest, BeingCreatedRaisesNoEventAndLoadedTakesTheUserSeparator) {
    // Built under the other separator, loaded under the user's.
    OverrideUserDecimalSeparator(GetParam() == u',' ? u'.' : u',');
    TsDecimalSpinEdit* field =
        Place(CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit1"), nullptr));
    field->show();
    OverrideUserDecimalSeparator(GetParam());
    QSignalSpy changed(field, &TsDecimalSpinEdit::changed);
    EXPECT_EQ(field->Value(), 1.5L);
    field->Loaded();
    EXPECT_EQ(field->Text(), Sep("1,5"));
    EXPECT_EQ(changed.count(), 0);

    TsDecimalSpinEdit* unloaded =
        Place(CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit6"), nullptr));
    unloaded->show();
    QSignalSpy unloadedChanged(unloaded, &TsDecimalSpinEdit::changed);
    unloaded->SetValue(4.0L);
    EXPECT_EQ(unloaded->Text(), u"4");
    Empty(unloaded);
    Type(unloaded, Sep("0,5"));
    EXPECT_EQ(unloaded->Value(), 0.5L);
    Key(unloaded, Qt::Key_Up);
    Paste(unloaded, QStringLiteral("x"));
    Leave();
    EXPECT_EQ(unloaded->Value(), 1.0L);
    EXPECT_EQ(unloaded->Text(), u"1");
    EXPECT_EQ(unloadedChanged.count(), 0);
}

} // namespace
