// Стелворн: the earthing calculator's start. `stelvorn FILE` opens a calculation file.
#include "Unit1.h"
#include "application.h"
#include "command_line.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    InstallProgramFont();
    InstallQtTranslation();
    TForm1 Form1; // FormCreate runs while the window is created
    ShowWindow(Form1, QCoreApplication::arguments());
    return application.exec();
}
