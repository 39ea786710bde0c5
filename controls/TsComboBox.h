#pragma once

#include "input_bounds.h"

#include <QComboBox>

// An editable drop-down list that completes what the user types from its own items and raises
// changed() for what the user does, never for what code does:
//  - picking an item from the list (mouse or arrow keys): once, with the item's text in the box;
//  - a typed character: the box looks for the first item that begins with the text as it would
//    read with the character put in place of the selection, ignoring case; if there is one it shows
//    that text followed by the rest of the item, selected, makes the item the current one and raises
//    changed() only if the current item changed; if there is none the character goes in as usual
//    and changed() is raised; a completion that changes the text raises changed() too, even when
//    the item stays the current one (the text may have been edited away from it in between);
//  - Backspace removes the selected completion or the character before the caret, leaves no item
//    current and raises changed();
//  - Delete, cut, paste and undo raise changed() once each.
// The text holds at most MaxTextLength characters, as many as the settings file gives back.
// F1 pressed while the list is open closes the list and then goes to the window as anywhere else.
// A box without the focus shows the beginning of its text, however long: after the focus left it,
// and after code set its text.
class TsComboBox : public QComboBox {
    Q_OBJECT
  public:
    static constexpr int MaxTextLength = InputBounds::MaxSoilTextLength;

    explicit TsComboBox(QWidget* parent = nullptr);

    // Makes no item current while keeping the text on screen.
    void ClearSelectionKeepText();

  signals:
    void changed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Complete(const QString& typed);
};
