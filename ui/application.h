#pragma once

#include <QApplication>
#include <QLocale>
#include <QString>

class QTranslator;

// The program's application object: an exception that escapes an event handler is reported in a
// message box captioned with the application title, and the program goes on.
class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application title, from the executable's file name: the name without its folder, cut at its
// first dot, every character after the first in lower case ("/opt/Stelvorn.bin" gives "Stelvorn").
QString ApplicationTitleFromPath(const QString& executablePath);
QString ApplicationTitle();

// Shows what went wrong in a message box with an OK button, captioned with the application title.
void ShowErrorMessage(const QString& text);

// Makes Tahoma 8 pt the font of every control. Tahoma comes from the fonts-wine package, whose
// folder fontconfig does not scan, so the faces are registered here when they are installed.
void InstallProgramFont();

// Qt's own texts (the context menus of the text boxes, standard buttons) in Russian when the user's
// language is Russian: installs Qt's Russian translation, owned by the application, and returns it.
// Returns null when the language is another one or the translation is not installed.
QTranslator* InstallQtTranslation(const QLocale& userLocale = QLocale::system());
