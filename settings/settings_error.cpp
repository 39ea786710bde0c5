#include "settings_error.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

EProgramError::EProgramError(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}

EIniFileException::EIniFileException(const QString& path)
    : EProgramError(QStringLiteral("Unable to write to ") + path) {}

QString ErrorTypeAndMessage(const std::exception& error) {
    if (const auto* own = dynamic_cast<const EProgramError*>(&error))
        return QString::fromUtf8(own->TypeName()) + QStringLiteral(": ") + own->Message();
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    const QString type = QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled);
    return type + QStringLiteral(": ") + QString::fromUtf8(error.what());
}
