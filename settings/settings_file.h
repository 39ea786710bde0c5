#pragma once

#include "profile_document.h"
#include "settings_error.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <functional>

// The settings file "<program folder>/стелворн.ini": programFolder ends in its separator, so the
// path holds "//" (and messages show it so).
QString SettingsFilePath(const QString& programFolder);

// Typed reads with a default and typed writes of one key in one section of a private-profile
// file (rules in profile_document.h and profile_values.h).
//
// Creating the object touches no disk. The file is read at the first read or write and then held
// in memory. Reading never changes the file; a file that is missing, unreadable, not a regular
// file or larger than MaxFileSize reads as empty, so every read yields its default.
//
// Every write is on the disk when it returns: the whole file is written to a temporary file in the
// same folder, flushed to the disk and renamed over the old one, so that a failure at any point
// leaves the old file or the new one, never a part. A write that cannot be made so raises
// EIniFileException and leaves the file as it was; so does a write to a file that exists but
// could not be read (it would lose the file's other content), or that is write-protected. As
// nothing waits to be written, the destructor has nothing to flush and cannot fail.
class TSettingsFile {
  public:
    // Writes the bytes of the whole file into the temporary file; false when that failed. The
    // default writes them all at once. Tests put a failing writer here.
    using TWriteBytes = std::function<bool(QIODevice& device, const QByteArray& bytes)>;

    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    explicit TSettingsFile(QString path, TWriteBytes writeBytes = {});
    TSettingsFile(const TSettingsFile&) = delete;
    TSettingsFile& operator=(const TSettingsFile&) = delete;
    ~TSettingsFile() = default;

    const QString& FileName() const { return path_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue);
    int32_t ReadInteger(const QString& section, const QString& key, int32_t defaultValue);
    bool ReadBool(const QString& section, const QString& key, bool defaultValue);
    // Numbers are read and written with the user's decimal separator.
    double ReadFloat(const QString& section, const QString& key, double defaultValue, char16_t separator);

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value, char16_t separator);

  private:
    void Load();
    void Save(const TProfileDocument& document);

    QString path_;
    TWriteBytes writeBytes_;
    bool loaded_ = false;
    bool writable_ = false; // the file is missing, or was read whole
    TProfileDocument document_;
};
