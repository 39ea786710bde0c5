#pragma once

#include <QComboBox>

// An editable drop-down list that completes what the user types from its own items and raises
// changed() for what the user does, never for what code does:
//  - picking an item from the list (mouse or arrow keys): once, with the item's text in the box;
//  - a typed character: the box looks for the first item that begins with the text as it would
//    read with the character put in place of the selection, ignoring case; if there is one it shows
//    that text followed by the rest of the item, selected, makes the item the current one and raises
//    changed() only if the current item changed; if there is none the character goes in as usual
//    and changed() is raised;
//  - Backspace removes the selected completion or the character before the caret, leaves no item
//    current and raises changed();
//  - Delete, cut, paste and undo raise changed() once each.
class TsComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit TsComboBox(QWidget* parent = nullptr);

    // The longest text the box takes, typed or pasted: what the settings file can give back.
    static constexpr int MaxTextLength = 2047;

    // Makes no item current while keeping the text on screen.
    void ClearSelectionKeepText();

  signals:
    void changed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool Complete(const QString& typed);
};
