// The seven configured fields of the program: what the window places.

#include "TsDecimalSpinEdit.h"
#include "TsSpinEdit.h"
#include "field_test_support.h"
#include "numeric_fields.h"

#include <stdexcept>

namespace {

using ProgramFieldsTest = FieldWindowTest;

TEST_F(ProgramFieldsTest, IntegerFieldsAsConfigured) {
    struct Expected {
        const char* name;
        int64_t min, max;
        const char* designText;
    };
    const Expected expected[] = {
        {"sSpinEdit1", 1, 20, "3"},
        {"sSpinEdit2", 1, 4, "1"},
        {"sSpinEdit3", 8, 1000, "50"},
        {"sSpinEdit4", 1, 0, "40"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        TsSpinEdit* field = CreateProgramSpinEdit(QString::fromUtf8(e.name), window.get());
        EXPECT_EQ(field->parent(), window.get());
        EXPECT_EQ(field->objectName(), QString::fromUtf8(e.name));
        EXPECT_EQ(field->MinValue(), e.min);
        EXPECT_EQ(field->MaxValue(), e.max);
        EXPECT_EQ(field->Increment(), 1);
        EXPECT_TRUE(field->NumbersOnly());
        EXPECT_TRUE(field->AllowNegative());
        EXPECT_TRUE(field->IsLoading()); // the window calls Loaded()
        EXPECT_EQ(field->Text(), QString::fromUtf8(e.designText));
    }
}

TEST_F(ProgramFieldsTest, DecimalFieldsAsConfigured) {
    struct Expected {
        const char* name;
        long double min, max;
        bool hideExcessZeros;
        long double design;
        const char* designText;
    };
    const Expected expected[] = {
        {"sDecimalSpinEdit1", 0.1L, 3.0L, false, 1.5L, "1,5"},
        {"sDecimalSpinEdit2", 0.1L, 1.0L, false, 0.5L, "0,5"},
        {"sDecimalSpinEdit6", 1.0L, 0.0L, true, 2.5L, "2,5"},
    };
    for (const char16_t separator : {u',', u'.'}) {
        OverrideUserDecimalSeparator(separator);
        for (const Expected& e : expected) {
            SCOPED_TRACE(e.name);
            TsDecimalSpinEdit* field = CreateProgramDecimalSpinEdit(QString::fromUtf8(e.name), window.get());
            EXPECT_EQ(field->objectName(), QString::fromUtf8(e.name));
            EXPECT_EQ(field->MinValue(), e.min);
            EXPECT_EQ(field->MaxValue(), e.max);
            EXPECT_EQ(field->Increment(), 0.1L);
            EXPECT_EQ(field->DecimalPlaces(), 1);
            EXPECT_EQ(field->HideExcessZeros(), e.hideExcessZeros);
            EXPECT_TRUE(field->AllowNegative());
            EXPECT_TRUE(field->IsLoading());
            EXPECT_EQ(field->Value(), e.design);
            field->Loaded();
            EXPECT_EQ(field->Text(), Sep(e.designText));
        }
    }
}

TEST_F(ProgramFieldsTest, UnknownNamesAreRefused) {
    EXPECT_THROW(CreateProgramSpinEdit(QStringLiteral("sSpinEdit5"), window.get()), std::invalid_argument);
    EXPECT_THROW(CreateProgramSpinEdit(QStringLiteral("sDecimalSpinEdit1"), window.get()),
                 std::invalid_argument);
    EXPECT_THROW(CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit3"), window.get()),
                 std::invalid_argument);
    EXPECT_TRUE(window->findChildren<TsCustomSpinEdit*>().isEmpty());
}

TEST_F(ProgramFieldsTest, FieldShapeAndFocus) {
    TsSpinEdit* first = Place(CreateProgramSpinEdit(QStringLiteral("sSpinEdit3"), nullptr));
    TsDecimalSpinEdit* second =
        Place(CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit6"), nullptr));
    Show();
    for (TsCustomSpinEdit* field :
         {static_cast<TsCustomSpinEdit*>(first), static_cast<TsCustomSpinEdit*>(second)}) {
        EXPECT_EQ(field->size(), QSize(49, 21));
        EXPECT_EQ(field->sizeHint(), QSize(49, 21));
        EXPECT_EQ(field->focusProxy(), field->Edit());
        // The arrow strip at the right end, the text box filling the rest.
        EXPECT_EQ(field->Buttons()->geometry().right(), 48);
        EXPECT_EQ(field->Buttons()->height(), 21);
        EXPECT_EQ(field->Edit()->geometry(), QRect(0, 0, 49 - field->Buttons()->width(), 21));
    }
    // The window sets its tab order on the fields themselves.
    QWidget::setTabOrder(second, first);
    QWidget::setTabOrder(first, other);
    second->setFocus();
    EXPECT_TRUE(second->Edit()->hasFocus());
    QTest::keyClick(second->Edit(), Qt::Key_Tab);
    EXPECT_TRUE(first->Edit()->hasFocus());
    QTest::keyClick(first->Edit(), Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());
}

TEST(UserDecimalSeparator, FollowsTheSystemLocaleUnlessOverridden) {
    const QString system = QLocale::system().decimalPoint();
    EXPECT_EQ(UserDecimalSeparator(), system.front().unicode());
    OverrideUserDecimalSeparator(u',');
    EXPECT_EQ(UserDecimalSeparator(), u',');
    OverrideUserDecimalSeparator(u'.');
    EXPECT_EQ(UserDecimalSeparator(), u'.');
    OverrideUserDecimalSeparator(u'\0');
    EXPECT_EQ(UserDecimalSeparator(), system.front().unicode());
}

} // namespace
