#pragma once

#include <QIcon>
#include <QString>

// An icon from one of the program's own PNG images, read by Qt's built-in PNG decoder alone. Asked
// for an image by its name only (QIcon(path), QPixmap(path)), Qt first loads every image-format
// plugin installed, to ask each whether it reads the file, while the window is still being built.
// An image that does not read gives an empty icon, as QIcon(path) would.
QIcon ResourcePngIcon(const QString& path);
