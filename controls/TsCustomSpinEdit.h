#pragma once

#include <QClipboard>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class QAbstractSpinBox;
class QLineEdit;
class QWheelEvent;
class QResizeEvent;

namespace spin_edit_detail {
class SpinLineEdit;
class SpinButtons;
} // namespace spin_edit_detail

// What the integer field TsSpinEdit and the decimal field TsDecimalSpinEdit share: a one-line text
// box with a strip of two arrow buttons (up above down) at its right end, the filter of typed
// characters, the checked paste, the steps of the arrows, the Up and Down keys and the mouse wheel,
// and the change event. Each kind decides how its text and value relate.
//
// A new field is "being created": until Loaded() is called it raises no change event, whatever
// is set or typed. Loaded() ends that state and writes the field's text anew.
class TsCustomSpinEdit : public QWidget {
    Q_OBJECT
  public:
    // Default size of a field, and the width of its arrow strip.
    static constexpr int kDefaultWidth = 49;
    static constexpr int kDefaultHeight = 21;
    static constexpr int kButtonsWidth = 15;
    // While an arrow button is held: the first repeated step after this delay, then one every interval.
    static constexpr int kFirstRepeatDelayMs = 300;
    static constexpr int kRepeatIntervalMs = 80;
    // The most characters the text box holds; a paste that would make the text longer is refused.
    static constexpr int kMaxTextLength = 2047;

    ~TsCustomSpinEdit() override;

    QString Text() const;
    QLineEdit* Edit() const;  // the text box inside (also the focus proxy of the field)
    QWidget* Buttons() const; // the arrow strip

    // A typed "-" is accepted only when this is true (it is for every field of the program) and the
    // lower bound allows negative numbers. Default true.
    bool AllowNegative() const { return allowNegative_; }
    void SetAllowNegative(bool allow) { allowNegative_ = allow; }

    // End of window creation: writes the text anew (no event) and from now on raises change events.
    void Loaded();
    bool IsLoading() const { return loading_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The change event: once for every change of the text the user makes, and when a step, code or
    // the focus loss changes the field as each kind describes. Never while the field is being created.
    void changed();

  protected:
    explicit TsCustomSpinEdit(QWidget* parent);

    // What each kind supplies.
    virtual bool MinusAllowedByBounds() const = 0; // the lower bound is 0 or below
    virtual bool DigitsOnly() const = 0;           // the text box takes typed digits only
    virtual void Step(int64_t steps) = 0;          // +1 one step up, -1 one down, n for n wheel notches
    virtual void TextEdited() = 0;                 // the text changed, not by WriteTextSilently
    virtual void FocusLost() = 0;
    virtual void NotePasteValue() = 0;             // before a paste
    virtual bool PastedTextAcceptable() const = 0; // after it
    virtual void RestoreRefusedPaste() = 0;
    virtual void RewriteLoadedText() = 0;

    // Replaces the text; the change goes through TextEdited() like one the user made.
    void WriteText(const QString& text);
    // Replaces the text unseen by TextEdited().
    void WriteTextSilently(const QString& text);
    // Emits changed() unless the field is being created.
    void RaiseChanged();

    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    friend class spin_edit_detail::SpinLineEdit; // hands keys, pastes, the wheel and the focus loss on
    friend class spin_edit_detail::SpinButtons;

    void LayOut();
    // The character a typed one goes in as (a "." or "," becomes the user's separator), or nothing
    // when the field refuses it.
    std::optional<QChar> AcceptTypedCharacter(QChar c);
    void GuardedPaste(QClipboard::Mode mode, const std::function<void()>& paste);
    void OnTextChanged();

    spin_edit_detail::SpinLineEdit* edit_;
    spin_edit_detail::SpinButtons* buttons_;
    bool allowNegative_ = true;
    bool loading_ = true;
    bool silent_ = false;
};

// A typed "." or "," (of the main keyboard or the keypad) in a decimal field: the decimal separator
// `separator` when the edit's text, leaving out its selection, holds no "." or "," or `separator`
// yet; nothing (the key is refused) when it holds one.
bool IsPointOrComma(QChar c);
std::optional<QChar> DecimalSeparatorKey(const QLineEdit& edit, QChar separator);

// Gives a Qt spin box for decimals the typed-key rule of the program's decimal fields: "." and ","
// are its locale's decimal separator, once; and every printable key the box refuses shows its
// refusal (SignalRefusedKey). The rule lives as long as the box.
void FollowDecimalKeyRule(QAbstractSpinBox* box);

// Sets a flag for the life of the scope and restores it afterwards, also when an event handler
// called inside throws.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool old_;
};
