#pragma once

#include "earthing.h"
#include "fit.h"
#include "measurement.h"
#include "survey.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// A calculation file "*.stelvorn": one object's calculation, JSON in UTF-8 with a format name and a
// version number. It holds every input of the window (soil texts as typed), the hints switch and the
// theme as the settings file keeps them, the object's name and a note, the norm chosen, the last
// survey and the last measured resistance when there are any, and which program wrote it and when.

// The "format" member of every calculation file, and the newest "version" this program reads.
inline constexpr char16_t CalculationFormatName[] = u"stelvorn-calculation";
inline constexpr int CalculationFormatVersion = 1;

// The measured total of the arrangement as built, as the measurement dialog last took it.
struct TMeasurementRecord {
    double Measured = 0; // Ом
    TSoilState State = TSoilState::Worst;

    bool operator==(const TMeasurementRecord&) const = default;
};

struct TCalculation {
    TEarthingInput Inputs{};
    bool ShowHints = true;
    QString SkinName;
    bool Skins = true;
    QString ObjectName; // «Объект»
    QString Note;       // «Примечание»
    TNormChoice Norm;
    std::optional<TSurveyRecord> Survey;
    std::optional<TMeasurementRecord> Measurement;
    QString ProgramVersion; // of the program that wrote the file; filled in by the writer
    QDateTime Saved;        // when it was written; filled in by the writer

    bool operator==(const TCalculation&) const = default;
};

// The longest object name, theme name and program version a file may hold, and the longest note, in
// UTF-16 code units. Soil texts take as many as the soil boxes hold (InputBounds::MaxSoilTextLength).
inline constexpr int MaxCalculationTextLength = 2047;
inline constexpr int MaxCalculationNoteLength = 65536;

// What a read gives: the calculation, or a Russian sentence that says what is wrong with the file
// (the caller names the file). A calculation is given only when the whole file was read and every
// value has its type and lies within the range the window's control takes.
struct TCalculationRead {
    std::optional<TCalculation> Calculation;
    QString Error;
};

// The largest file a read accepts; a larger one is refused before it is read.
inline constexpr qint64 MaxCalculationFileSize = 4 * 1024 * 1024;

QByteArray SerializeCalculation(const TCalculation& calculation);
TCalculationRead ParseCalculation(const QByteArray& bytes);

// Reads and checks a whole file. Never throws.
TCalculationRead ReadCalculationFile(const QString& path);
// Writes the file whole or not at all (the old file, if any, stays as it was on a failure), with
// the program's version and the time of writing. Returns a Russian sentence on a failure, else
// nothing. Never throws.
std::optional<QString> WriteCalculationFile(const QString& path, const TCalculation& calculation);
