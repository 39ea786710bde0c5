#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

// One theme: a Qt style sheet with the few named values that the engine's own drawing takes (the
// title bar and the hint window).
//
// A theme file is UTF-8 text. A line whose first non-blank character is "@" defines a named value,
// "@name: value;", and every later "@name" in the file is replaced by that value. Seven names are
// the engine's own: the colours title-text-active, title-text-inactive, title-background,
// hint-background, hint-text and hint-border, and title-spacing, the gap in pixels between the
// caption and the added title. Any other name is the author's, for use in the style sheet. The rest
// of the file is the style sheet itself. README.md ("Writing a theme") shows a whole theme.
struct TsTheme {
    QString Name;
    QString StyleSheet; // with every named value put in
    QColor TitleTextActive;
    QColor TitleTextInactive;
    QColor TitleBackground;
    QColor HintBackground;
    QColor HintText;
    QColor HintBorder;
    int TitleSpacing = 0;
};

// The largest theme file the engine reads; a theme is a few kilobytes.
inline constexpr qint64 kMaxThemeFileSize = 1024 * 1024;

// The file suffix of a theme in the theme folder: "Графит.skin" holds the theme "Графит".
inline constexpr char kThemeFileSuffix[] = ".skin";

// The outcome of reading a theme: the theme, or why it cannot be used (a Russian sentence).
struct TsThemeLoad {
    TsTheme Theme;
    QString Error; // empty when the theme can be used
    bool Ok() const { return Error.isEmpty(); }
};

// Reads a theme out of the bytes of its file. Values the file leaves out take the built-in
// theme's (`defaults`).
TsThemeLoad ParseTheme(const QString& name, const QByteArray& bytes, const TsTheme& defaults);

// Reads the theme file at `path`: only a regular file of at most kMaxThemeFileSize bytes is opened,
// so a folder, a pipe or a device named like a theme is refused without being read.
TsThemeLoad LoadThemeFile(const QString& name, const QString& path, const TsTheme& defaults);
