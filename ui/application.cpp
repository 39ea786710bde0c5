#include "application.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QMessageBox>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
