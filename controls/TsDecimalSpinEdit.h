#pragma once

#include "TsCustomSpinEdit.h"

// The decimal field. It keeps a stored 80-bit Value beside its text: every change of the text by
// the user is read into Value at once (store-clamped), while the text stays as typed; the field
// writes its own text only when a step or code sets a different value, on focus loss and at
// Loaded().
class TsDecimalSpinEdit : public TsCustomSpinEdit {
    Q_OBJECT
  public:
    explicit TsDecimalSpinEdit(QWidget* parent = nullptr);

    // Bounds: 0 means no bound on that side. They clamp a stored value only when MinValue is below
    // MaxValue (store clamp); the bound check on focus loss applies each non-zero side alone.
    long double MinValue() const { return minValue_; }
    void SetMinValue(long double value) { minValue_ = value; }
    long double MaxValue() const { return maxValue_; }
    void SetMaxValue(long double value) { maxValue_ = value; }
    // The step of the arrows, the Up and Down keys and a wheel notch; 1 unless set.
    long double Increment() const { return increment_; }
    void SetIncrement(long double value) { increment_ = value; }
    // Digits after the separator in the text the field writes, 0 to 18; 2 unless set.
    int DecimalPlaces() const { return decimalPlaces_; }
    void SetDecimalPlaces(int places);
    // When true, the text the field writes drops trailing zeros after the separator.
    bool HideExcessZeros() const { return hideExcessZeros_; }
    void SetHideExcessZeros(bool hide) { hideExcessZeros_ = hide; }
    // The two settings above take effect at the next text the field writes.

    long double Value() const { return value_; }
    // The decimal set: nothing when `value` equals Value; otherwise stores it store-clamped, writes
    // the text from it and raises changed() once (even when the clamp leaves Value as it was).
    void SetValue(long double value);

    long double StoreClamp(long double value) const;
    long double BoundCheck(long double value) const;
    // The text the field writes for its Value, with the user's decimal separator: the stored Value
    // rounded to DecimalPlaces, never a bound in its place.
    QString FormattedText() const;

  protected:
    bool MinusAllowedByBounds() const override { return minValue_ <= 0; }
    bool DigitsOnly() const override { return false; }
    void Step(int64_t steps) override;
    void TextEdited() override;
    void FocusLost() override;
    void NotePasteValue() override;
    bool PastedTextAcceptable() const override;
    void RestoreRefusedPaste() override;
    void RewriteLoadedText() override;

  private:
    long double value_ = 0;
    long double minValue_ = 0;
    long double maxValue_ = 0;
    long double increment_ = 1;
    int decimalPlaces_ = 2;
    bool hideExcessZeros_ = false;
    bool textChanging_ = false; // the text is being read into Value
    long double notedValue_ = 0;
};
