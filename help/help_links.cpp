#include "help_links.h"

#include "resource_image.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

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

void ApplyLinkTest(const QUrl& url, bool& cancel, const QString& caption, QWidget* parent) {
    if (!IsWebLink(url.toString()))
        return;
    // The view stays where it is whether the desktop opened the address or not.
    OpenOnDesktop(url, caption, parent);
    cancel = true;
}

bool OpenOnDesktop(const QUrl& url, const QString& caption, QWidget* parent) {
    if (QDesktopServices::openUrl(url))
        return true;
    const bool mail = url.scheme() == QLatin1String("mailto");
    const QString address = mail ? url.path() : url.toString();
    const QString text =
        mail ? QStringLiteral("Не удалось открыть почтовую программу: на компьютере не найдено программы, "
                              "которая отправляет письма.\n\nАдрес для письма: %1")
                   .arg(address)
             : QStringLiteral(
                   "Не удалось открыть страницу: на компьютере не найден браузер.\n\nАдрес страницы: %1")
                   .arg(address);
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::NoButton, parent);
    QPushButton* copy = box.addButton(QStringLiteral("Скопировать адрес"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Закрыть"), QMessageBox::RejectRole);
    box.setDefaultButton(copy);
    box.exec();
    if (box.clickedButton() == copy)
        QGuiApplication::clipboard()->setText(address);
    return false;
}

QList<QIcon> WebImageList() {
    QList<QIcon> images;
    for (const char* name : {"back", "forward", "home", "shield"})
        images.append(ResourcePngIcon(QStringLiteral(":/Web_sImageList/") + QLatin1String(name)));
    return images;
}
