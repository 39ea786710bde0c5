#include "user_locale.h"

#include <QLocale>
#include <QString>

namespace {
char16_t overrideSeparator = u'\0';
}

char16_t UserDecimalSeparator() {
    if (overrideSeparator != u'\0')
        return overrideSeparator;
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? u'.' : point.front().unicode();
}

void OverrideUserDecimalSeparator(char16_t separator) {
    overrideSeparator = separator;
}
