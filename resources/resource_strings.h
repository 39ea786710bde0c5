#pragma once

#include <string>

// The program's resource strings. They are read through these functions each time they are
// used, so that a translation or a rebuilt resource only has to change them here.

// Base name of the settings file in the program folder (the extension ".ini" is added).
inline std::u16string ResSettingsBaseName() {
    return u"стелворн";
}

// Suffix of the total resistance, with its leading space.
inline std::u16string ResOhmSuffix() {
    return u" Ом";
}
