#include "TsComboBox.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

TsComboBox::TsComboBox(QWidget* parent) : QComboBox(parent) {
    // setEditable() would make the opened list at once (its popup look asks for it); the line edit
    // given as setEditable() gives it leaves the list to its first opening (PrepareList).
    auto* edit = new QLineEdit(this);
    edit->setPalette(palette());
    setLineEdit(edit);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // the box completes by its own rule
    setMaxVisibleItems(25);
    lineEdit()->setMaxLength(MaxTextLength);
    connect(this, &QComboBox::activated, this, &TsComboBox::changed);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TsComboBox::changed);
    // An item chosen or a text set from code shows from its beginning, as a box without the focus does.
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!lineEdit()->hasFocus())
            lineEdit()->home(false);
    });
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        if (!lineEdit()->hasFocus())
            lineEdit()->home(false);
    });
}

void TsComboBox::ClearSelectionKeepText() {
    QLineEdit* edit = lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = edit->selectionLength();
    const QSignalBlocker blocker(edit);
    setCurrentIndex(-1);
    edit->setText(text);
    if (selectionStart >= 0)
        edit->setSelection(selectionStart, selectionLength);
    else
        edit->setCursorPosition(cursor);
}

void TsComboBox::SetListMinimumWidth(int width) {
    listMinimumWidth_ = width;
    if (list_)
        list_->setMinimumWidth(width);
}

void TsComboBox::PrepareList() {
    if (list_)
        return;
    list_ = view();
    list_->installEventFilter(this); // keys of the opened list
    list_->setMinimumWidth(listMinimumWidth_);
}

void TsComboBox::showPopup() {
    PrepareList();
    QComboBox::showPopup();
}

bool TsComboBox::Complete(const QString& typed) {
    QLineEdit* edit = lineEdit();
    const QString before = edit->text();
    QString candidate = before;
    if (edit->hasSelectedText())
        candidate.replace(edit->selectionStart(), edit->selectionLength(), typed);
    else
        candidate.insert(edit->cursorPosition(), typed);

    for (int i = 0; i < count(); ++i) {
        const QString item = itemText(i);
        if (!item.startsWith(candidate, Qt::CaseInsensitive))
            continue;
        const bool itemChanged = currentIndex() != i;
        {
            const QSignalBlocker blocker(edit);
            setCurrentIndex(i);
            edit->setText(candidate + item.mid(candidate.size()));
            edit->setSelection(static_cast<int>(candidate.size()),
                               static_cast<int>(item.size() - candidate.size()));
        }
        if (itemChanged || edit->text() != before)
            emit changed();
        return true;
    }
    return false;
}

void TsComboBox::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & commands)) {
        ClearSelectionKeepText();
        QComboBox::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore(); // Enter does nothing here
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & commands) && Complete(text)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TsComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Its own list opening, or another window becoming active, is no leaving: the caret stays for
    // the user's return.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        lineEdit()->home(false);
}

bool TsComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1) {
            // The open list would swallow the key: close it, then hand the key to the box, where
            // the window's shortcut takes it.
            hidePopup();
            QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(this, &again);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}
