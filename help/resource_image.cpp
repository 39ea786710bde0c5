#include "resource_image.h"

#include <QImageReader>
#include <QPixmap>

QIcon ResourcePngIcon(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}
