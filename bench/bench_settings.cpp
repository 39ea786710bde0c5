// What closing the window costs on the settings file: sixteen writes, each one saved whole and
// atomically (temporary file, flush to the disk, rename).
#include "qt_text.h"
#include "settings_file.h"
#include "settings_keys.h"
#include "soil_catalogue.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString Section = ToQString(SettingsSection);

// The texts of a first close: the default soil items, and each other key's default.
QString TextOfFirstClose(const TSettingKey& key) {
    if (key.Name == SettingsKey::TopLayer.Name)
        return ToQString(SoilCatalogue[DefaultTopLayerIndex]);
    if (key.Name == SettingsKey::BottomLayer.Name)
        return ToQString(SoilCatalogue[DefaultBottomLayerIndex]);
    return ToQString(key.DefaultText);
}

// The sixteen writes of a first close, in their order.
void WriteSixteenKeys(const QString& path) {
    TSettingsFile file(path);
    for (const TSettingKey& key : SettingsKey::All) {
        const QString name = ToQString(key.Name);
        switch (key.Type) {
        case TSettingType::Flag:
            file.WriteBool(Section, name, key.Default != 0);
            break;
        case TSettingType::Integer:
            file.WriteInteger(Section, name, static_cast<int32_t>(key.Default));
            break;
        case TSettingType::Number:
            file.WriteFloat(Section, name, key.Default, u',');
            break;
        case TSettingType::Text:
            file.WriteString(Section, name, TextOfFirstClose(key));
            break;
        }
    }
}

// A close with the file of the previous close in place: sixteen keys rewritten.
void BM_CloseWritesSixteenKeys(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = SettingsFilePath(dir.path() + u'/');
    WriteSixteenKeys(path);
    for (auto _ : state)
        WriteSixteenKeys(path);
}
BENCHMARK(BM_CloseWritesSixteenKeys)->Unit(benchmark::kMillisecond);

// The sixteen reads of a start.
void BM_StartReadsSixteenKeys(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = SettingsFilePath(dir.path() + u'/');
    WriteSixteenKeys(path);
    for (auto _ : state) {
        TSettingsFile file(path);
        int32_t sum = 0;
        double numbers = 0;
        QString texts;
        for (const TSettingKey& key : SettingsKey::All) {
            const QString name = ToQString(key.Name);
            switch (key.Type) {
            case TSettingType::Flag:
                sum += file.ReadBool(Section, name, key.Default != 0);
                break;
            case TSettingType::Integer:
                sum += file.ReadInteger(Section, name, static_cast<int32_t>(key.Default));
                break;
            case TSettingType::Number:
                numbers += file.ReadFloat(Section, name, key.Default, u',');
                break;
            case TSettingType::Text:
                texts += file.ReadString(Section, name, ToQString(key.DefaultText));
                break;
            }
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(numbers);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_StartReadsSixteenKeys)->Unit(benchmark::kMicrosecond);

} // namespace
