#pragma once

#include "skin_theme.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// The theme engine (the window's sSkinManager1): named themes, one built in and more from a folder,
// applied to the whole application as one style sheet, or none while theming is off.
//
// Look-up of a name: first the theme folder (the file "<name>.skin" there), then the built-in
// themes, by exact, case-sensitive comparison. A name found nowhere selects the first built-in
// theme, silently. A theme that is found but cannot be used (an empty or binary file, a file too
// large or unreadable, a folder or a pipe named like a theme) is reported in a message box and the
// previous theme stays.
class TsSkinManager : public QObject {
    Q_OBJECT
  public:
    explicit TsSkinManager(QObject* parent = nullptr);
    ~TsSkinManager() override;

    // "Windows 10 (внутренний)", the first built-in theme.
    static QString BuiltInSkinName();
    // The names of the themes built into the program.
    QStringList InternalSkins() const;

    // The folder in which further themes are looked for.
    QString SkinDirectory() const { return skinDirectory_; }
    void SetSkinDirectory(const QString& folder);

    // The theme in effect, after any replacement of a name found nowhere. Setting it while theming
    // is on applies the theme at once; while off it only stores the name.
    QString SkinName() const { return skinName_; }
    void SetSkinName(const QString& name);

    // Theming on: the theme named by SkinName is applied. Off: no style sheet, the standard look.
    bool Active() const { return active_; }
    void SetActive(bool on);

    // A choice in the theme selector: the theme named, theming on. A theme that cannot be used is
    // reported and nothing changes. Returns whether the theme is now in effect.
    bool SelectSkin(const QString& name);

    // Every theme on offer: the built-in ones and those in the theme folder, sorted by name without
    // regard to case.
    QStringList AvailableSkins() const;

    // The theme in effect (its colours are meaningful while Active()).
    const TsTheme& Theme() const { return theme_; }

    // How an unusable theme is reported; by default a message box with an OK button.
    std::function<void(const QString& text)> ReportError;
    // The caption of that message box.
    QString ErrorCaption = QStringLiteral("Тема оформления");

  signals:
    // A theme was applied or theming was switched on or off.
    void SkinChanged();
    // The theme folder changed: the list of themes on offer may differ.
    void SkinDirectoryChanged();

  private:
    enum class Missing { UseBuiltIn, Refuse };
    // Loads the theme named and makes it the one in effect; false (after a report) when it cannot be
    // used. A name found nowhere gives the first built-in theme or, with Missing::Refuse, false.
    bool Load(const QString& name, Missing missing);
    void ApplyStyleSheet();
    void Report(const QString& name, const QString& reason);

    QString skinDirectory_ = QStringLiteral("Skins");
    QString skinName_;
    bool active_ = true;
    TsTheme theme_;
    bool styled_ = false; // this engine has set the application's style sheet
};
