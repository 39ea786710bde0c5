#include "TsSpinEdit.h"

#include "numeric_text.h"

#include <limits>

namespace {

constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();

// a + b·n, saturated at the 64-bit bounds instead of overflowing.
int64_t AddSteps(int64_t a, int64_t b, int64_t n) {
    int64_t delta = 0;
    if (__builtin_mul_overflow(b, n, &delta))
        return (b < 0) != (n < 0) ? kMin64 : kMax64;
    int64_t sum = 0;
    if (__builtin_add_overflow(a, delta, &sum))
        return delta < 0 ? kMin64 : kMax64;
    return sum;
}

bool IsBareSignOrSignedZero(const QString& text) {
    return text == u"-0" || text == u"-" || text == u"+0" || text == u"+";
}

} // namespace

TsSpinEdit::TsSpinEdit(QWidget* parent) : TsCustomSpinEdit(parent) {
    WriteTextSilently(QStringLiteral("0"));
}

int64_t TsSpinEdit::Value() const {
    const QString text = Text();
    if (text.isEmpty())
        return 0;
    const WholeNumberText number = ParseWholeNumber(text);
    return number.valid ? number.value : minValue_;
}

int64_t TsSpinEdit::BoundCheck(int64_t value) const {
    if (minValue_ == maxValue_)
        return value;
    if (minValue_ != 0 && value < minValue_)
        return minValue_;
    if (maxValue_ != 0 && value > maxValue_)
        return maxValue_;
    return value;
}

void TsSpinEdit::SetValue(int64_t value) {
    const QString text = QString::number(BoundCheck(value));
    if (text != Text())
        WriteText(text); // raises changed() through TextEdited()
}

void TsSpinEdit::Step(int64_t steps) {
    SetValue(AddSteps(Value(), increment_, steps));
}

void TsSpinEdit::TextEdited() {
    RaiseChanged();
}

void TsSpinEdit::FocusLost() {
    if (IsBareSignOrSignedZero(Text()))
        WriteText(QStringLiteral("0"));
    const int64_t value = Value();
    // A number beyond the 64-bit range reads as the nearest bound; its text is then rewritten too,
    // so that the field shows the number it yields.
    if (BoundCheck(value) != value || ParseWholeNumber(Text()).overflow)
        SetValue(value);
}

void TsSpinEdit::NotePasteValue() {
    notedValue_ = Value();
}

bool TsSpinEdit::PastedTextAcceptable() const {
    return IsWholeNumber32(Text());
}

void TsSpinEdit::RestoreRefusedPaste() {
    WriteText(QString::number(notedValue_));
}

void TsSpinEdit::RewriteLoadedText() {
    WriteTextSilently(QString::number(Value()));
}
