#include "TsCustomSpinEdit.h"

#include "char_classes.h"

#include "system_beep.h"
#include "user_locale.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>
#include <QWheelEvent>
#include <memory>
#include <utility>

namespace spin_edit_detail {

bool IsControlCharacter(QChar c) {
    return c.unicode() < 32 || c.unicode() == 127;
}

// The text box of a field. Keys, pastes and the focus loss go to the field first.
class SpinLineEdit : public QLineEdit {
  public:
    explicit SpinLineEdit(TsCustomSpinEdit* owner) : QLineEdit(owner), owner_(owner) {
        // Every way text gets in passes the field's checks: typed keys and checked pastes only.
        setAcceptDrops(false);
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    // From now on a plain text box: the field is being destroyed.
    void Detach() { owner_ = nullptr; }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!owner_) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            event->accept();
            owner_->Step(event->key() == Qt::Key_Up ? 1 : -1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept(); // Enter does nothing in a field
            return;
        default:
            break;
        }
        if ((event->key() == Qt::Key_A && event->modifiers() == Qt::ControlModifier) ||
            event->matches(QKeySequence::SelectAll)) {
            event->accept();
            selectAll();
            return;
        }
        // The text box's own undo and redo, whether the key comes with a control character or with its
        // letter as text (as some platforms and input methods send it): no typed character.
        if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            event->accept();
            owner_->GuardedPaste(QClipboard::Clipboard, [this, event] { QLineEdit::keyPressEvent(event); });
            return;
        }
        QString typed = event->text();
        bool rewritten = false;
        for (QChar& c : typed) {
            if (IsControlCharacter(c))
                continue;
            const std::optional<QChar> accepted = owner_->AcceptTypedCharacter(c);
            if (!accepted) {
                event->accept();
                SignalRefusedKey(owner_);
                return;
            }
            rewritten = rewritten || *accepted != c;
            c = *accepted;
        }
        if (!rewritten) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        QKeyEvent translated(event->type(), event->key(), event->modifiers(), typed, event->isAutoRepeat(),
                             event->count());
        QLineEdit::keyPressEvent(&translated);
        event->setAccepted(translated.isAccepted());
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        // A context menu of its own or another window becoming active is no focus loss of the field:
        // the focus comes back to it.
        if (owner_ && event->reason() != Qt::PopupFocusReason &&
            event->reason() != Qt::ActiveWindowFocusReason)
            owner_->FocusLost();
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        if (!owner_)
            return;
        const std::unique_ptr<QMenu> menu(createStandardContextMenu());
        // The standard menu's paste item (named in newer Qt versions; its text is the text box's own).
        const QString pasteText = QLineEdit::tr("&Paste");
        for (QAction* action : menu->actions()) {
            if (action->objectName() != u"edit-paste" && !action->text().startsWith(pasteText))
                continue;
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this,
                    [this] { owner_->GuardedPaste(QClipboard::Clipboard, [this] { QLineEdit::paste(); }); });
        }
        menu->exec(event->globalPos());
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        // The middle button pastes the selection where the platform has one.
        if (owner_ && event->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection())
            owner_->GuardedPaste(QClipboard::Selection,
                                 [this, event] { QLineEdit::mouseReleaseEvent(event); });
        else
            QLineEdit::mouseReleaseEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override { event->accept(); }

    void wheelEvent(QWheelEvent* event) override {
        if (owner_)
            owner_->wheelEvent(event);
        else
            QLineEdit::wheelEvent(event);
    }

  private:
    TsCustomSpinEdit* owner_;
};

// The arrow strip: the upper half steps up, the lower half down. A press focuses the field; the step
// is made on release over the pressed button, and repeated while the button is held over it.
class SpinButtons : public QWidget {
  public:
    SpinButtons(TsCustomSpinEdit* owner, std::function<void()> onPress, std::function<void(int)> onStep)
        : QWidget(owner), owner_(owner), onPress_(std::move(onPress)), onStep_(std::move(onStep)) {
        setFocusPolicy(Qt::NoFocus);
        repeat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&repeat_, &QTimer::timeout, this, [this] {
            repeat_.start(TsCustomSpinEdit::kRepeatIntervalMs);
            if (owner_ && pressed_ != 0 && over_)
                onStep_(pressed_);
        });
    }

    // From now on inert: the field is being destroyed.
    void Detach() {
        owner_ = nullptr;
        repeat_.stop();
        pressed_ = 0;
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (!owner_ || event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        pressed_ = ButtonAt(event->position());
        over_ = pressed_ != 0;
        update();
        if (pressed_ == 0)
            return;
        repeat_.start(TsCustomSpinEdit::kFirstRepeatDelayMs);
        onPress_();
    }

    void wheelEvent(QWheelEvent* event) override {
        if (owner_)
            owner_->wheelEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const bool over = pressed_ != 0 && ButtonAt(event->position()) == pressed_;
        if (over != over_) {
            over_ = over;
            update();
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        repeat_.stop();
        const int button = pressed_;
        const bool over = button != 0 && ButtonAt(event->position()) == button;
        pressed_ = 0;
        over_ = false;
        update();
        if (over && owner_)
            onStep_(button);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int half = height() / 2;
        const QRect rects[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
        for (int i = 0; i < 2; ++i) {
            const int button = i == 0 ? 1 : -1;
            QStyleOption option;
            option.initFrom(this);
            option.rect = rects[i];
            option.state |= pressed_ == button && over_ ? QStyle::State_Sunken : QStyle::State_Raised;
            style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
            option.rect = rects[i].adjusted(3, 2, -3, -2);
            style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                                   &option, &painter, this);
        }
    }

  private:
    // +1 for the up button, -1 for the down button, 0 outside the strip.
    int ButtonAt(QPointF position) const {
        if (!rect().contains(position.toPoint()))
            return 0;
        return position.y() < height() / 2 ? 1 : -1;
    }

    TsCustomSpinEdit* owner_;
    std::function<void()> onPress_;
    std::function<void(int)> onStep_;
    QTimer repeat_;
    int pressed_ = 0;
    bool over_ = false;
};

// The typed-key rule of the decimal fields for a Qt spin box, on the box's key events.
class DecimalKeyFilter : public QObject {
  public:
    DecimalKeyFilter(QAbstractSpinBox* box, QLineEdit* edit) : QObject(box), box_(box), edit_(edit) {
        box->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::KeyPress || forwarding_)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (key->text().size() != 1 || IsControlCharacter(key->text().front()) ||
            (key->modifiers() & commands))
            return false;
        QChar typed = key->text().front();
        if (IsPointOrComma(typed)) {
            const QString point = box_->locale().decimalPoint();
            const std::optional<QChar> separator =
                DecimalSeparatorKey(*edit_, point.isEmpty() ? QChar(u'.') : point.front());
            if (!separator) {
                SignalRefusedKey(box_);
                return true;
            }
            typed = *separator;
        }
        // The box's own validator decides; a key that changes nothing at all was refused.
        const QString textBefore = edit_->text();
        const int cursorBefore = edit_->cursorPosition();
        const QString selectionBefore = edit_->selectedText();
        QKeyEvent translated(key->type(), key->key(), key->modifiers(), QString(typed), key->isAutoRepeat(),
                             key->count());
        {
            const FlagScope forwarding(forwarding_);
            QCoreApplication::sendEvent(box_, &translated);
        }
        if (edit_->text() == textBefore && edit_->cursorPosition() == cursorBefore &&
            edit_->selectedText() == selectionBefore)
            SignalRefusedKey(box_);
        return true;
    }

  private:
    QAbstractSpinBox* box_;
    QLineEdit* edit_;
    bool forwarding_ = false;
};

} // namespace spin_edit_detail

bool IsPointOrComma(QChar c) {
    return c == u'.' || c == u',';
}

std::optional<QChar> DecimalSeparatorKey(const QLineEdit& edit, QChar separator) {
    QString kept = edit.text();
    if (edit.hasSelectedText())
        kept.remove(edit.selectionStart(), edit.selectedText().size());
    if (kept.contains(u'.') || kept.contains(u',') || kept.contains(separator))
        return std::nullopt;
    return separator;
}

void FollowDecimalKeyRule(QAbstractSpinBox* box) {
    if (auto* edit = box->findChild<QLineEdit*>())
        new spin_edit_detail::DecimalKeyFilter(box, edit);
}

using spin_edit_detail::SpinButtons;
using spin_edit_detail::SpinLineEdit;

TsCustomSpinEdit::TsCustomSpinEdit(QWidget* parent)
    : QWidget(parent), edit_(new SpinLineEdit(this)),
      buttons_(new SpinButtons(
          this, [this] { edit_->setFocus(Qt::MouseFocusReason); }, [this](int step) { Step(step); })) {
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(edit_);
    edit_->setMaxLength(kMaxTextLength);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(edit_, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
    resize(kDefaultWidth, kDefaultHeight);
    LayOut(); // a hidden widget gets its resize event only when shown
}

TsCustomSpinEdit::~TsCustomSpinEdit() {
    // Destroying the focused text box moves the focus away from it; that is no focus loss of a field
    // that no longer exists, nor a text change.
    disconnect(edit_, nullptr, this, nullptr);
    edit_->Detach();
    buttons_->Detach();
}

QString TsCustomSpinEdit::Text() const {
    return edit_->text();
}

QLineEdit* TsCustomSpinEdit::Edit() const {
    return edit_;
}

QWidget* TsCustomSpinEdit::Buttons() const {
    return buttons_;
}

void TsCustomSpinEdit::Loaded() {
    RewriteLoadedText();
    loading_ = false;
}

QSize TsCustomSpinEdit::sizeHint() const {
    return {kDefaultWidth, kDefaultHeight};
}

QSize TsCustomSpinEdit::minimumSizeHint() const {
    return {kButtonsWidth + 8, kDefaultHeight};
}

void TsCustomSpinEdit::WriteText(const QString& text) {
    edit_->setText(text);
}

void TsCustomSpinEdit::WriteTextSilently(const QString& text) {
    const FlagScope silent(silent_);
    edit_->setText(text);
}

void TsCustomSpinEdit::RaiseChanged() {
    if (!loading_)
        emit changed();
}

void TsCustomSpinEdit::OnTextChanged() {
    if (!silent_)
        TextEdited();
}

void TsCustomSpinEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TsCustomSpinEdit::LayOut() {
    const int buttons = std::min(kButtonsWidth, width());
    edit_->setGeometry(0, 0, width() - buttons, height());
    buttons_->setGeometry(width() - buttons, 0, buttons, height());
}

void TsCustomSpinEdit::wheelEvent(QWheelEvent* event) {
    event->accept();
    // One notch is 120; a part of a notch makes no step.
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        Step(notches);
}

std::optional<QChar> TsCustomSpinEdit::AcceptTypedCharacter(QChar c) {
    if (IsAsciiDigit(c.unicode()))
        return c;
    if (DigitsOnly())
        return std::nullopt;
    const QChar separator(UserDecimalSeparator());
    if (IsPointOrComma(c) || c == separator)
        return DecimalSeparatorKey(*edit_, separator);
    const bool plus = c == u'+';
    const bool minus = c == u'-' && allowNegative_ && MinusAllowedByBounds();
    if (!plus && !minus)
        return std::nullopt;

    // A sign goes to the front of the text.
    const QString text = edit_->text();
    if (text.isEmpty())
        return c;
    if (edit_->hasSelectedText())
        return edit_->selectionStart() == 0 ? std::optional<QChar>(c) : std::nullopt;
    if (text.front() == c)
        return std::nullopt;
    edit_->setCursorPosition(0);
    if (text.front() == (plus ? u'-' : u'+'))
        edit_->setSelection(0, 1);
    return c;
}

void TsCustomSpinEdit::GuardedPaste(QClipboard::Mode mode, const std::function<void()>& paste) {
    NotePasteValue();
    // A paste that the text box would have to cut is refused whole, before the box lays out a text
    // no number could need: what stays is never a silently shortened paste.
    const qsizetype incoming = QGuiApplication::clipboard()->text(mode).size();
    const qsizetype kept =
        edit_->text().size() - (mode == QClipboard::Clipboard ? edit_->selectedText().size() : 0);
    if (kept + incoming > edit_->maxLength()) {
        RestoreRefusedPaste();
        return;
    }
    paste();
    if (!PastedTextAcceptable())
        RestoreRefusedPaste();
}
