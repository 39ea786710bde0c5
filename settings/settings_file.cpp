#include "settings_file.h"

#include "profile_values.h"
#include "qt_text.h"
#include "resource_strings.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <string_view>

QString SettingsFilePath(const QString& programFolder) {
    return programFolder + u'/' + ToQString(ResSettingsBaseName()) + QStringLiteral(".ini");
}

TSettingsFile::TSettingsFile(QString path, TWriteBytes writeBytes)
    : path_(std::move(path)), writeBytes_(std::move(writeBytes)) {}

void TSettingsFile::Load() {
    if (loaded_)
        return;
    loaded_ = true;
    const QFileInfo info(path_);
    if (!info.exists() && !info.isSymLink()) {
        writable_ = true; // a new file
        return;
    }
    if (!info.isFile() || info.size() > MaxFileSize)
        return;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return;
    document_ =
        TProfileDocument::Parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    writable_ = true;
}

void TSettingsFile::Save(const TProfileDocument& document) {
    const QFileInfo info(path_);
    if (info.exists() && !info.isWritable())
        throw EIniFileException(path_);

    const std::string bytes = document.Serialize();
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        throw EIniFileException(path_);
    const bool written = writeBytes_ ? writeBytes_(file, data) : file.write(data) == data.size();
    if (!written) {
        file.cancelWriting();
        throw EIniFileException(path_);
    }
    if (!file.commit())
        throw EIniFileException(path_);
}

QString TSettingsFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) {
    Load();
    const auto value = document_.Read(ToU16View(section), ToU16View(key));
    return value ? ToQString(*value) : defaultValue;
}

int32_t TSettingsFile::ReadInteger(const QString& section, const QString& key, int32_t defaultValue) {
    Load();
    const auto value = document_.Read(ToU16View(section), ToU16View(key));
    if (!value)
        return defaultValue;
    return ParseProfileInteger(*value).value_or(defaultValue);
}

bool TSettingsFile::ReadBool(const QString& section, const QString& key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TSettingsFile::ReadFloat(const QString& section, const QString& key, double defaultValue,
                                char16_t separator) {
    Load();
    const auto value = document_.Read(ToU16View(section), ToU16View(key));
    if (!value)
        return defaultValue;
    return ParseProfileNumber(*value, separator).value_or(defaultValue);
}

void TSettingsFile::WriteString(const QString& section, const QString& key, const QString& value) {
    Load();
    if (!writable_)
        throw EIniFileException(path_);
    TProfileDocument changed = document_;
    changed.Write(ToU16View(section), ToU16View(key), ToU16View(value));
    Save(changed);
    document_ = std::move(changed);
}

void TSettingsFile::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, ToQString(FormatProfileInteger(value)));
}

void TSettingsFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

void TSettingsFile::WriteFloat(const QString& section, const QString& key, double value, char16_t separator) {
    WriteString(section, key, ToQString(FormatProfileNumber(value, separator)));
}
