// Test-only entry point: starts the program as its main routine does and leaves as soon as the
// window has been shown, to measure the time to the first window and the peak memory. On the way
// out it prints the help view's page and ready state ("help qrc:/INDEX 4"), which a test checks.
// It leaves the event loop without closing the window: a close writes the settings file, which is
// the cost of a close, not of the start (and the probe leaves the file beside it as it found it).
// Nor does it take the window down control by control: that too belongs to the close, and the
// process's end frees the window's memory at once.
#include "Unit1.h"
#include "application.h"

#include <QTimer>
#include <cstdio>

namespace {
TForm1* window; // still referenced at the end, so no leak checker counts it
}

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    InstallProgramFont();
    InstallQtTranslation();
    window = new TForm1;
    window->show();
    QTimer::singleShot(0, &application, [] {
        std::printf("help %s %d\n", window->WebBrowser1->LocationURL().toString().toUtf8().constData(),
                    window->WebBrowser1->ReadyState());
        window->hide();
        QCoreApplication::exit(0);
    });
    return application.exec();
}
