// main() of the theme engine's tests: a plain application with the program's font, no window of
// the program's.
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    for (const char* face : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFile::exists(QString::fromLatin1(face)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    }
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    return RUN_ALL_TESTS();
}
