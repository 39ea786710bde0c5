#include "application.h"

#include "resource_image.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The window class (an X11 window class is Latin-1 text) that the desktop entry's
    // StartupWMClass names, and the entry itself, whatever the program was started as: the link
    // "stelvorn" or the file "Стелворн". Message boxes take their caption from the file name.
    setApplicationName(QStringLiteral("Stelvorn"));
    setDesktopFileName(QStringLiteral("ru.stelvorn.Stelvorn"));
    setWindowIcon(ResourcePngIcon(QStringLiteral(":/icons/stelvorn-48.png")));
    // The program writes nothing outside its folder. Qt's own dialogs would keep their state in a
    // user settings file, the file dialog its folder history in ~/.config/QtProject.conf: the user
    // scope of every settings file points at a path under which no file can be created, so that
    // state lives for the run only.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorMessage(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

void InstallProgramFont() {
    // The regular face only: the package's bold face draws regular-weight glyphs, only spaced wider,
    // while without it Qt thickens the regular glyphs for a bold font.
    const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(regular))
        QFontDatabase::addApplicationFont(regular);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
}

namespace {

bool IsRussian(const QLocale& userLocale) {
    const QStringList languages = userLocale.uiLanguages();
    const QLocale first = languages.isEmpty() ? userLocale : QLocale(languages.first());
    return first.language() == QLocale::Russian;
}

} // namespace

QTranslator* InstallQtTranslation(const QLocale& userLocale) {
    if (!IsRussian(userLocale))
        return nullptr;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator; // without the translations installed Qt's texts stay English
        return nullptr;
    }
    return translator;
}
