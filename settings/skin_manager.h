#pragma once

#include "qt_text.h"
#include "settings_keys.h"

#include <QString>

// The state of the interface theme: the folder in which further themes are looked for, the name of
// the current theme and whether theming is on. The settings file carries the name and the switch
// from one run to the next.
struct TSkinManager {
    static QString BuiltInSkinName() { return ToQString(::BuiltInSkinName); }

    QString SkinDirectory = QStringLiteral("Skins");
    QString SkinName = BuiltInSkinName();
    bool Active = true;
};
