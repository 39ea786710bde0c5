#include "help_links.h"

#include <QDesktopServices>
#include <QPixmap>

QUrl HelpIndexUrl() {
    return QUrl(QStringLiteral("qrc:/INDEX"));
}

QList<QString> HelpPageNames() {
    return {QStringLiteral("INDEX"),     QStringLiteral("КОНСТРУКЦИЯ"), QStringLiteral("ТОЛЩИНЫ"),
            QStringLiteral("НОРМАТИВЫ"), QStringLiteral("ОПИСАНИЕ"),    QStringLiteral("МЕТОДИКА"),
            QStringLiteral("ИСТОРИЯ")};
}

bool IsWebLink(const QString& url) {
    return url.contains(QLatin1String("http://")) || url.contains(QLatin1String("https://"));
}

void ApplyLinkTest(const QUrl& url, bool& cancel) {
    if (!IsWebLink(url.toString()))
        return;
    // Whether the desktop managed to open it is not examined: the view stays where it is anyway.
    QDesktopServices::openUrl(url);
    cancel = true;
}

QList<QIcon> WebImageList() {
    QList<QIcon> images;
    for (const char* name : {"back", "forward", "home", "shield"})
        images.append(QIcon(QPixmap(QStringLiteral(":/Web_sImageList/") + QLatin1String(name))));
    return images;
}
