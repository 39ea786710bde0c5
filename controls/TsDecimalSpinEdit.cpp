#include "TsDecimalSpinEdit.h"

#include "number_format.h"
#include "numeric_text.h"
#include "qt_text.h"
#include "user_locale.h"

#include <algorithm>

TsDecimalSpinEdit::TsDecimalSpinEdit(QWidget* parent) : TsCustomSpinEdit(parent) {
    WriteTextSilently(FormattedText());
}

void TsDecimalSpinEdit::SetDecimalPlaces(int places) {
    decimalPlaces_ = std::clamp(places, 0, 18);
}

long double TsDecimalSpinEdit::StoreClamp(long double value) const {
    if (!(minValue_ < maxValue_))
        return value;
    if (value < minValue_)
        return minValue_;
    if (value > maxValue_)
        return maxValue_;
    return value;
}

long double TsDecimalSpinEdit::BoundCheck(long double value) const {
    if (minValue_ != 0 && value < minValue_)
        return minValue_;
    if (maxValue_ != 0 && value > maxValue_)
        return maxValue_;
    return value;
}

QString TsDecimalSpinEdit::FormattedText() const {
    // The stored value as it is: a value below an open-ended field's bound (a step down, a settings
    // file) is the one the calculation uses, so it is the one shown until the focus loss raises it.
    return FormatDecimalWithin(value_, decimalPlaces_, hideExcessZeros_, UserDecimalSeparator(),
                               kMaxTextLength);
}

void TsDecimalSpinEdit::SetValue(long double value) {
    if (value == value_)
        return;
    value_ = StoreClamp(value);
    if (textChanging_)
        return; // read from the user's text: the text stays as typed, the text change raises the event
    WriteTextSilently(FormattedText());
    RaiseChanged();
}

void TsDecimalSpinEdit::Step(int64_t steps) {
    SetValue(value_ + increment_ * static_cast<long double>(steps));
}

void TsDecimalSpinEdit::TextEdited() {
    {
        const FlagScope reading(textChanging_);
        const QString text = Text();
        if (text.isEmpty() || text == u"-" || text == u"+") {
            SetValue(0);
        } else {
            const char16_t separator = UserDecimalSeparator();
            SetValue(ParseDecimal(NormaliseSeparators(text, separator), separator).value_or(0));
        }
    }
    RaiseChanged();
}

void TsDecimalSpinEdit::FocusLost() {
    const long double checked = BoundCheck(value_);
    if (checked != value_)
        SetValue(checked);
    WriteTextSilently(FormattedText());
}

void TsDecimalSpinEdit::NotePasteValue() {
    notedValue_ = value_;
}

bool TsDecimalSpinEdit::PastedTextAcceptable() const {
    const char16_t separator = UserDecimalSeparator();
    const std::optional<long double> value = ParseDecimal(Text(), separator);
    // A number whose own text would not fit in the field is refused like any text that is no number:
    // the field would have to cut it on the focus loss, or show it in another form than its own.
    return value && FormatDecimal(StoreClamp(*value), decimalPlaces_, hideExcessZeros_, separator).size() <=
                        kMaxTextLength;
}

void TsDecimalSpinEdit::RestoreRefusedPaste() {
    // Written like the plain number format: up to 15 significant digits, no trailing zeros.
    WriteText(ToQString(FormatPlain(static_cast<double>(notedValue_), UserDecimalSeparator())));
}

void TsDecimalSpinEdit::RewriteLoadedText() {
    WriteTextSilently(FormattedText());
}
