// What closing the window costs on the settings file: sixteen writes, each one saved whole and
// atomically (temporary file, flush to the disk, rename).
#include "settings_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString Section = QStringLiteral("INTERFACE");

void WriteSixteenKeys(const QString& path) {
    TSettingsFile file(path);
    file.WriteBool(Section, "ShowHints", true);
    file.WriteInteger(Section, "ClimaticRegion", 2);
    file.WriteString(Section, "TopLayer", QStringLiteral("Суглинок полутвёрдый лёссовидный (100)"));
    file.WriteString(Section, "BottomLayer",
                     QStringLiteral("Суглинок, сильно увлажнённый грунтовыми водами (60)"));
    file.WriteFloat(Section, "Thickness", 1.5, u',');
    file.WriteFloat(Section, "Depth", 0.5, u',');
    file.WriteInteger(Section, "Form", 1);
    file.WriteInteger(Section, "Width", 50);
    file.WriteFloat(Section, "Length", 3.0, u',');
    file.WriteInteger(Section, "MutualDisposition", 1);
    file.WriteInteger(Section, "Number", 1);
    file.WriteInteger(Section, "IntervalMultiplicity", 1);
    file.WriteInteger(Section, "FormHor", 1);
    file.WriteInteger(Section, "WidthHor", 40);
    file.WriteString(Section, "SkinName", QStringLiteral("Windows 10 (внутренний)"));
    file.WriteBool(Section, "Skins", true);
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
        int32_t sum = file.ReadBool(Section, "ShowHints", true);
        for (const char* key : {"ClimaticRegion", "Form", "Width", "MutualDisposition", "Number",
                                "IntervalMultiplicity", "FormHor", "WidthHor", "Skins"})
            sum += file.ReadInteger(Section, key, 0);
        double numbers = 0;
        for (const char* key : {"Thickness", "Depth", "Length"})
            numbers += file.ReadFloat(Section, key, 0, u',');
        QString texts = file.ReadString(Section, "TopLayer", "") +
                        file.ReadString(Section, "BottomLayer", "") +
                        file.ReadString(Section, "SkinName", "");
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(numbers);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_StartReadsSixteenKeys)->Unit(benchmark::kMicrosecond);

} // namespace
