#pragma once

#include <QString>

// The application title, from the executable's file name: the name without its folder, cut at its
// first dot, every character after the first in lower case ("/opt/Stelvorn.bin" gives "Stelvorn").
QString ApplicationTitleFromPath(const QString& executablePath);
QString ApplicationTitle();

// Shows what went wrong in a message box with an OK button, captioned with the application title.
// The window and the tools on its result report their failures alike.
void ShowErrorMessage(const QString& text);
