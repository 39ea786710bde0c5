#pragma once

#include <QString>

// The state of the interface theme: the folder in which further themes are looked for, the name of
// the current theme and whether theming is on. The settings file carries the name and the switch
// from one run to the next.
struct TSkinManager {
    static QString BuiltInSkinName() { return QStringLiteral("Windows 10 (внутренний)"); }

    QString SkinDirectory = QStringLiteral("Skins");
    QString SkinName = BuiltInSkinName();
    bool Active = true;
};
