#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

// While it lives, receives the web and mail URLs handed to the desktop instead of the desktop's
// browser and mail program.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

  public slots:
    void Open(const QUrl& url) { opened.append(url); }
};
