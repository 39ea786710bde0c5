#pragma once

#include <QComboBox>

class TsSkinManager;

// The theme selector (sSkinSelector1): a drop-down list bound to the engine. Its first entry
// "Standard theme" switches theming off and is disabled while theming is off; every theme on offer
// follows, sorted by name without regard to case. Choosing a theme makes it the current one and
// switches theming on. While theming is on the selector shows the current theme, while off the
// "Standard theme" entry. The list is read anew each time it opens, so themes put into the folder
// meanwhile are offered.
class TsSkinSelector : public QComboBox {
  public:
    explicit TsSkinSelector(TsSkinManager* manager, QWidget* parent = nullptr);

    static QString StandardThemeText() { return QStringLiteral("Standard theme"); }

    // Reads the list of themes and the current choice from the engine.
    void Refresh();

    void showPopup() override;

  private:
    void Chosen(int index);

    TsSkinManager* manager_;
};
