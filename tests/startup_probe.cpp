// Test-only entry point: starts the program as its main routine does and quits as soon as the
// window has been shown, to measure the time to the first window and the peak memory. On the way
// out it prints the help view's page and ready state ("help qrc:/INDEX 4"), which a test checks.
#include "Unit1.h"
#include "application.h"

#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    InstallProgramFont();
    InstallQtTranslation();
    TForm1 Form1;
    Form1.show();
    QTimer::singleShot(0, &application, [&Form1] {
        std::printf("help %s %d\n", Form1.WebBrowser1->LocationURL().toString().toUtf8().constData(),
                    Form1.WebBrowser1->ReadyState());
        QCoreApplication::quit();
    });
    return application.exec();
}
