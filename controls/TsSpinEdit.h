#pragma once

#include "TsCustomSpinEdit.h"

#include <cstdint>

// The integer field. Its value is not stored: it is its text, read anew each time. While the user
// types, the number is yielded as typed, in range or not; the bounds apply to steps, to values set
// from code and when the field loses the focus.
class TsSpinEdit : public TsCustomSpinEdit {
    Q_OBJECT
  public:
    explicit TsSpinEdit(QWidget* parent = nullptr);

    // Bounds: 0 means no bound on that side; equal bounds mean no bound at all.
    int64_t MinValue() const { return minValue_; }
    void SetMinValue(int64_t value) { minValue_ = value; }
    int64_t MaxValue() const { return maxValue_; }
    void SetMaxValue(int64_t value) { maxValue_ = value; }
    // The step of the arrows, the Up and Down keys and a wheel notch; 1 unless set.
    int64_t Increment() const { return increment_; }
    void SetIncrement(int64_t value) { increment_ = value; }
    // When true (the default) the text box takes typed digits only.
    bool NumbersOnly() const { return numbersOnly_; }
    void SetNumbersOnly(bool value) { numbersOnly_ = value; }

    // The text read as a whole number: 0 for an empty text, MinValue for a text that is no whole
    // number, the nearest 64-bit bound for one beyond that range; no bound check.
    int64_t Value() const;
    // Writes the bound-checked value in digits; when that changes the text, raises changed() once.
    void SetValue(int64_t value);
    // MinValue below it, MaxValue above it (sides that are 0 do not bound), else the value itself.
    int64_t BoundCheck(int64_t value) const;

  protected:
    bool MinusAllowedByBounds() const override { return minValue_ <= 0; }
    bool DigitsOnly() const override { return numbersOnly_; }
    void Step(int64_t steps) override;
    void TextEdited() override;
    void FocusLost() override;
    void NotePasteValue() override;
    bool PastedTextAcceptable() const override;
    void RestoreRefusedPaste() override;
    void RewriteLoadedText() override;

  private:
    int64_t minValue_ = 0;
    int64_t maxValue_ = 0;
    int64_t increment_ = 1;
    bool numbersOnly_ = true;
    int64_t notedValue_ = 0;
};
