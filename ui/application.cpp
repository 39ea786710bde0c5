#include "application.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QMessageBox>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The window class (an X11 window class is Latin-1 text) that the desktop entry's
    // StartupWMClass names, and the entry itself, whatever the program was started as: the link
    // "stelvorn" or the file "Стелворн". Message boxes take their caption from the file name.
    setApplicationName(QStringLiteral("Stelvorn"));
    setDesktopFileName(QStringLiteral("ru.stelvorn.Stelvorn"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/stelvorn-48.png")));
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

QString ApplicationTitleFromPath(const QString& executablePath) {
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name.left(1) + name.mid(1).toLower();
}

QString ApplicationTitle() {
    return ApplicationTitleFromPath(QCoreApplication::applicationFilePath());
}

void ShowErrorMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

void InstallProgramFont() {
    for (const char* face : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFile::exists(QString::fromLatin1(face)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    }
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
}
