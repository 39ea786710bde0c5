// The yardstick of the start: an empty Qt Widgets window of the main window's client size (a label
// of 584 x 452), shown, and quit on the first turn of the event loop, as the start-up probe leaves.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QLabel window;
    window.resize(584, 452);
    window.show();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
