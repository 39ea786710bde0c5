#pragma once

#include <QString>

#include <string_view>

// The one conversion between the core's UTF-16 texts and Qt's strings on the window side: both are
// UTF-16, so the code units are taken over as they are.
inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string_view ToU16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}
