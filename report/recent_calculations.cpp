#include "recent_calculations.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Five paths take a few kilobytes at most; anything far larger is no list of this program.
constexpr qint64 MaxListFileSize = 64 * 1024;

} // namespace

QString RecentCalculationsPath(const QString& programFolder) {
    return programFolder + QStringLiteral("стелворн-недавние.txt");
}

QStringList ReadRecentCalculations(const QString& listPath) {
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxListFileSize)
        return {};
    QStringList paths;
    const QStringList lines = QString::fromUtf8(file.read(MaxListFileSize)).split(u'\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        QString path = *line;
        if (path.endsWith(u'\r'))
            path.chop(1);
        if (!path.isEmpty())
            paths = WithRecentCalculation(paths, path);
    }
    return paths;
}

bool WriteRecentCalculations(const QString& listPath, const QStringList& paths) {
    QSaveFile file(listPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& path : paths)
        bytes += path.toUtf8() + '\n';
    return file.write(bytes) == bytes.size() && file.commit();
}

QStringList WithRecentCalculation(QStringList paths, const QString& path) {
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > MaxRecentCalculations)
        paths.removeLast();
    return paths;
}
