// Test-only entry point: starts the program as its main routine does and quits as soon as the
// window has been shown, to measure the time to the first window and the peak memory.
#include "Unit1.h"
#include "application.h"

#include <QTimer>

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    InstallProgramFont();
    InstallQtTranslation();
    TForm1 Form1;
    Form1.show();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
