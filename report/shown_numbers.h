#pragma once

#include "number_format.h"
#include "qt_text.h"
#include "resource_strings.h"

#include <QString>

// Numbers as the window side shows them outside the result labels (the fit and the document): the
// core's number formats, as Qt strings, and the program's ohm suffix.
inline QString PlainText(double x, char16_t separator) {
    return ToQString(FormatPlain(x, separator));
}

inline QString OhmSuffix() {
    return ToQString(ResOhmSuffix());
}
