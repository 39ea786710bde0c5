#pragma once

#include <QString>
#include <QStringList>

// The calculations last opened or saved, newest first, kept across runs in a small UTF-8 file beside
// the settings file: one full path a line. The settings file itself knows nothing of it.

inline constexpr int MaxRecentCalculations = 5;

// "<program folder>/стелворн-недавние.txt"; programFolder ends in its separator.
QString RecentCalculationsPath(const QString& programFolder);

// The list as the file holds it: at most MaxRecentCalculations paths, blank lines and repeats
// skipped. A missing, unreadable or oversized file gives an empty list.
QStringList ReadRecentCalculations(const QString& listPath);
// Writes the list whole or not at all; false when the folder refuses it (the list then lives for the
// run only).
bool WriteRecentCalculations(const QString& listPath, const QStringList& paths);

// The list with `path` in front (once), cut to MaxRecentCalculations.
QStringList WithRecentCalculation(QStringList paths, const QString& path);
