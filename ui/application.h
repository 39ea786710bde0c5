#pragma once

#include "error_message.h" // the window reports its failures the same way as the result tools

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

// Makes Tahoma 8 pt the font of every control. Tahoma comes from the fonts-wine package, whose
// folder fontconfig does not scan, so the faces are registered here when they are installed.
void InstallProgramFont();

// Qt's own texts (the context menus of the text boxes, standard buttons) in Russian when the user's
// language is Russian: installs Qt's Russian translation, owned by the application, and returns it.
// Returns null when the language is another one or the translation is not installed.
QTranslator* InstallQtTranslation(const QLocale& userLocale = QLocale::system());
