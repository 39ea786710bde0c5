// Test-only entry point: starts the program as its main routine does and leaves as soon as the
// window has been shown, to measure the time to the first window and the peak memory. On the way
// out it prints the help view's page and ready state ("help qrc:/INDEX 4"), which a test checks.
// It leaves the event loop without closing the window: a close writes the settings file, which is
// the cost of a close, not of the start (and the probe leaves the file beside it as it found it).
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
        Form1.hide();
        QCoreApplication::exit(0);
    });
    return application.exec();
}
