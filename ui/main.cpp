// Стелворн: the earthing calculator's start.
#include "Unit1.h"
#include "application.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    InstallProgramFont();
    InstallQtTranslation();
    TForm1 Form1; // FormCreate runs while the window is created
    Form1.show(); // FormShow runs before the window becomes visible
    return application.exec();
}
