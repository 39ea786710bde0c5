#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QUrl>

class QWidget;

// The addresses of the help. The pages live in the program's own Qt resources: the index page is
// qrc:/INDEX, its siblings are reached by their bare names, the pictures by "/RT_RCDATA/" and their
// names. The address holds nothing of the executable's path, so no folder name (a space, "#", "%",
// Cyrillic letters) can change how a page, a link or a picture resolves.
QUrl HelpIndexUrl();

// The resource names of the seven pages, the index page first, then in the order of its links.
QList<QString> HelpPageNames();

// The link test: a URL is a web link when its text contains "http://" anywhere or, failing that,
// "https://" anywhere (case-sensitive).
bool IsWebLink(const QString& url);

// Applied before every navigation of the help view: a web link goes to the desktop's default
// browser (OpenOnDesktop) and the navigation is cancelled; any other URL is left alone.
void ApplyLinkTest(const QUrl& url, bool& cancel, const QString& caption = {}, QWidget* parent = nullptr);

// Hands a web or mail address to the desktop's browser or mail program. Where the desktop has none
// to take it, a message box (with this caption, over `parent`) says so and offers to copy the
// address to the clipboard: the web address whole, of a mail link the mail address alone.
// Returns whether the desktop took it.
bool OpenOnDesktop(const QUrl& url, const QString& caption = {}, QWidget* parent = nullptr);

// The four 16 x 16 images of the help toolbar: 0 back, 1 forward, 2 home, 3 a shield (unused).
QList<QIcon> WebImageList();
