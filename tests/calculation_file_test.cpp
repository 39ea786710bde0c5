// Calculation files: every value through a file and back, the files that are refused and why, and
// writes that fail.
#include "calculation_file.h"
#include "version.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTemporaryDir>

#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Every value away from its default, the numbers at the edges of their fields and between the
// tenths the decimal fields write.
TCalculation FullCalculation() {
    TCalculation c;
    c.Inputs = {.ClimaticRegion = 0,
                .TopLayer = u"Суглинок «полутвёрдый» (100,5)",
                .BottomLayer = u"Глина (40) — ρ\u2219м 😀",
                .Thickness = 0.1,
                .Depth = 1.0,
                .Form = 2,
                .Width = 1000,
                .Length = 2.55,
                .MutualDisposition = 2,
                .Number = 20,
                .IntervalMultiplicity = 4,
                .FormHor = 3,
                .WidthHor = 2147483647};
    c.ShowHints = false;
    c.SkinName = QStringLiteral("Тёмная тема");
    c.Skins = false;
    c.ObjectName = QStringLiteral("ТП-10/0,4 кВ «Заречье»");
    c.Note = QStringLiteral("Первая строка\nвторая строка\tс табуляцией");
    c.Norm = {4.3, true};
    c.Survey =
        TSurveyRecord{{{.Spacing = 1, .Depth = 0, .Resistance = 12.5, .Apparent = {}, .Kept = true},
                       {.Spacing = 2.5, .Depth = 0.2, .Resistance = {}, .Apparent = 95.125, .Kept = false},
                       {.Spacing = 10000, .Depth = 4999.99, .Resistance = 0.1, .Apparent = 7, .Kept = true}},
                      true};
    c.Measurement = TMeasurementRecord{18.75, TSoilState::Ordinary};
    c.ProgramVersion = QStringLiteral("1.7");
    c.Saved = QDateTime::fromString(QStringLiteral("2026-12-11T19:26:05.123+03:00"), Qt::ISODateWithMs);
    return c;
}

TCalculation Parsed(const QByteArray& bytes) {
    const TCalculationRead read = ParseCalculation(bytes);
    EXPECT_TRUE(read.Calculation) << read.Error.toStdString();
    return read.Calculation.value_or(TCalculation{});
}

TEST(CalculationFile, EveryValueRoundTrips) {
    TCalculation bare = FullCalculation();
    bare.Survey.reset();
    bare.Measurement.reset();
    bare.Note.clear();
    bare.ObjectName.clear();
    bare.Inputs.TopLayer.clear();
    TCalculation other = FullCalculation();
    other.Inputs = {.ClimaticRegion = 4,
                    .TopLayer = u"",
                    .BottomLayer = u"  пробелы по краям  ",
                    .Thickness = 3.0,
                    .Depth = 0.1,
                    .Form = 1,
                    .Width = 8,
                    .Length = 1e6 + 0.05,
                    .MutualDisposition = 1,
                    .Number = 1,
                    .IntervalMultiplicity = 1,
                    .FormHor = 1,
                    .WidthHor = 1};
    other.Norm = {10000, false};
    other.Measurement->State = TSoilState::Worst;
    other.Survey->TwoLayers = false;

    // The numbers are JSON numbers, whatever the user's locale writes them with.
    const QLocale before;
    for (const QLocale& locale : {QLocale(QLocale::Russian, QLocale::Russia), QLocale::c()}) {
        QLocale::setDefault(locale);
        for (const TCalculation& c : {FullCalculation(), bare, other}) {
            const QByteArray bytes = SerializeCalculation(c);
            EXPECT_TRUE(bytes.contains("\"rodLength\": ")) << bytes.toStdString();
            EXPECT_EQ(Parsed(bytes), c) << bytes.toStdString();
        }
    }
    QLocale::setDefault(before);
    EXPECT_TRUE(SerializeCalculation(FullCalculation()).contains("\"rodLength\": 2.55,"));
}

class CalculationFileOnDisk : public ::testing::Test {
  protected:
    QString Path(const QString& name = QStringLiteral("расчёт.stelvorn")) const {
        return dir_.filePath(name);
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    static void Put(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QTemporaryDir dir_;
};

TEST_F(CalculationFileOnDisk, WrittenFileReadsBackWithTheProgramAndTheTime) {
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
    ASSERT_EQ(WriteCalculationFile(Path(), FullCalculation()), std::nullopt);
    const TCalculationRead read = ReadCalculationFile(Path());
    ASSERT_TRUE(read.Calculation) << read.Error.toStdString();
    EXPECT_EQ(read.Calculation->ProgramVersion, QStringLiteral(STELVORN_VERSION));
    EXPECT_GE(read.Calculation->Saved, before);
    EXPECT_LE(read.Calculation->Saved, QDateTime::currentDateTime());
    TCalculation expected = FullCalculation();
    expected.ProgramVersion = read.Calculation->ProgramVersion;
    expected.Saved = read.Calculation->Saved;
    EXPECT_EQ(*read.Calculation, expected);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("расчёт.stelvorn")});
}

// The JSON of a good file with one value replaced (or removed, for an undefined value); the path
// names members by name and list items by number: "survey.readings.0.spacing".
QJsonValue Replaced(const QJsonValue& at, QStringList path, const QJsonValue& value) {
    if (path.isEmpty())
        return value;
    const QString head = path.takeFirst();
    if (at.isArray()) {
        QJsonArray array = at.toArray();
        const int index = head.toInt();
        array[index] = Replaced(array[index], path, value);
        return array;
    }
    QJsonObject object = at.toObject();
    if (path.isEmpty() && value.isUndefined())
        object.remove(head);
    else
        object[head] = Replaced(object.value(head), path, value);
    return object;
}

QByteArray GoodWith(const char* path, const QJsonValue& value) {
    const QJsonObject good = QJsonDocument::fromJson(SerializeCalculation(FullCalculation())).object();
    return QJsonDocument(Replaced(good, QString::fromUtf8(path).split(u'.'), value).toObject()).toJson();
}

TEST(CalculationFile, BadFilesAreRefusedWithWhatIsWrong) {
    const QByteArray good = SerializeCalculation(FullCalculation());
    QByteArray badUtf8 = good;
    badUtf8.replace("Тёмная", "\xD0\xA2\xC0\xAF");
    QByteArray loneSurrogate = good;
    loneSurrogate.replace("Тёмная", "\\ud800x");
    QJsonArray tooManyReadings;
    for (int i = 0; i < 1001; ++i)
        tooManyReadings.append(QJsonObject{{"spacing", 1}, {"depth", 0}, {"resistance", 1}, {"kept", true}});
    struct Case {
        QByteArray bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"", "Файл пуст."},
        {good.left(good.size() / 2), "Файл обрывается на байте"},
        {"stelvorn-calculation", "Файл повреждён: это не JSON (байт 1: неожиданный знак)."},
        {good + "}", "лишние знаки после конца данных"},
        {badUtf8, "текст не в кодировке UTF-8"},
        {"[1, 2]", "Это не файл расчёта Стелворна"},
        {GoodWith("format", "stelvorn-settings"), "Это не файл расчёта Стелворна"},
        {GoodWith("format", QJsonValue::Undefined), "Это не файл расчёта Стелворна"},
        {GoodWith("version", 2),
         "Файл создан более новой версией программы (формат 2); эта версия читает формат 1."},
        {GoodWith("version", 1.5), "Неизвестная версия формата"},
        {GoodWith("version", "1"), "Неизвестная версия формата"},
        {GoodWith("inputs.rodLength", QJsonValue::Undefined),
         "В файле нет значения «Длина электрода» (inputs.rodLength)."},
        {GoodWith("inputs.rodLength", "2.5"), "«Длина электрода» (inputs.rodLength) должно быть числом."},
        {GoodWith("inputs.rodLength", 0.99), "(inputs.rodLength) = 0,99 вне пределов поля: от 1."},
        {GoodWith("inputs.topLayerThickness", 3.0000001), "вне пределов поля: от 0,1 до 3."},
        {GoodWith("inputs.topLayerThickness", 0.0999999), "(inputs.topLayerThickness) = 0,0999999 вне"},
        {GoodWith("inputs.depth", 1.05),
         "«Заглубление» (inputs.depth) = 1,05 вне пределов поля: от 0,1 до 1."},
        {GoodWith("inputs.rodCount", 21),
         "«Количество электродов» (inputs.rodCount) = 21 вне пределов поля: от 1 до 20."},
        {GoodWith("inputs.rodCount", 0), "= 0 вне пределов поля: от 1 до 20."},
        {GoodWith("inputs.rodCount", 2.5), "(inputs.rodCount) = 2,5 должно быть целым числом."},
        {GoodWith("inputs.rodCount", 4294967299.0), "вне пределов поля: от 1 до 20."},
        {GoodWith("inputs.spacingMultiple", 5), "от 1 до 4."},
        {GoodWith("inputs.rodWidth", 7), "(inputs.rodWidth) = 7 вне пределов поля: от 8 до 1000."},
        {GoodWith("inputs.connectorWidth", 0), "вне пределов поля: от 1 до 2147483647."},
        {GoodWith("inputs.connectorWidth", 2147483648.0), "= 2147483648 вне пределов поля"},
        {GoodWith("inputs.climaticRegion", 5),
         "(inputs.climaticRegion) = 5: в окне нет такого переключателя (их номера от 0 до 4)."},
        {GoodWith("inputs.climaticRegion", -1), "от 0 до 4"},
        {GoodWith("inputs.rodForm", 3),
         "(inputs.rodForm) = 3: в окне нет такого переключателя (их номера от 1 до 2)."},
        {GoodWith("inputs.layout", 0), "(inputs.layout) = 0: в окне нет"},
        {GoodWith("inputs.connectorForm", 4), "(inputs.connectorForm) = 4: в окне нет"},
        {GoodWith("inputs.topSoil", "Глина\a"),
         "В тексте «Верхний пласт» (inputs.topSoil) управляющий символ (код 7)."},
        {GoodWith("inputs.bottomSoil", "a\nb"), "управляющий символ (код 10)"},
        {GoodWith("inputs.bottomSoil", QString(2048, u'ж')),
         "«Нижний пласт» (inputs.bottomSoil) длиннее 2047 знаков."},
        {loneSurrogate, "(interface.skinName) неполный символ UTF-16."},
        {GoodWith("inputs", QJsonArray{}), "«Исходные данные» (inputs) должно быть группой значений"},
        {GoodWith("interface.showHints", 1), "(interface.showHints) должно быть true или false."},
        {GoodWith("interface", QJsonValue::Undefined), "В файле нет значения «Интерфейс» (interface)."},
        {GoodWith("saved", "вчера"), "(saved) должно быть датой и временем"},
        {GoodWith("program", 1.7), "(program) должно быть текстом"},
        {GoodWith("object", "a\u0085b"), "«Объект» (object) управляющий символ (код 133)"},
        {GoodWith("note", "a\u001bb"), "(note) управляющий символ (код 27)"},
        {GoodWith("norm.value", 0.05), "(norm.value) = 0,05 вне пределов поля: от 0,1 до 10000."},
        {GoodWith("norm.value", 4.25), "поле нормы берёт не больше одного знака после запятой"},
        {GoodWith("survey.readings", QJsonArray{}), "В изысканиях нет ни одного показания."},
        {GoodWith("survey.readings", tooManyReadings), "В изысканиях больше 1000 показаний."},
        {GoodWith("survey.readings.1.spacing", -1), "Изыскания. Строка 2: разнос a должен быть"},
        {GoodWith("survey.readings.1.apparent", QJsonValue::Undefined), "Строка 2: нужно сопротивление R"},
        {GoodWith("survey.readings.2", 5), "«Изыскания, строка 3» (survey.readings[2]) должно быть группой"},
        {GoodWith("survey.readings.0.kept", QJsonValue::Undefined), "(survey.readings[0].kept)."},
        {GoodWith("survey.twoLayers", QJsonValue::Null), "(survey.twoLayers) должно быть true или false."},
        {GoodWith("measurement.measured", 0), "(measurement.measured) = 0 должно быть больше 0."},
        {GoodWith("measurement.soilState", "frozen"), "должно быть \"worst\" или \"ordinary\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const TCalculationRead read = ParseCalculation(c.bytes);
        EXPECT_FALSE(read.Calculation);
        EXPECT_TRUE(read.Error.contains(QString::fromUtf8(c.expected))) << read.Error.toStdString();
    }
}

TEST(CalculationFile, WhatAFileMayLeaveOutOrAdd) {
    // The optional parts left out, unknown members added (a later minor version), a byte order mark.
    QByteArray bytes = GoodWith("survey", QJsonValue::Undefined);
    for (const char* optional : {"measurement", "note", "object"})
        bytes = QJsonDocument(Replaced(QJsonDocument::fromJson(bytes).object(), {QString::fromUtf8(optional)},
                                       QJsonValue::Undefined)
                                  .toObject())
                    .toJson();
    QJsonObject extended = QJsonDocument::fromJson(bytes).object();
    extended["drawing"] = QJsonObject{{"scale", 2}};
    extended["inputs"] = Replaced(extended["inputs"], {"colour"}, "red");
    const TCalculation read = Parsed("\xEF\xBB\xBF" + QJsonDocument(extended).toJson(QJsonDocument::Compact));
    TCalculation expected = FullCalculation();
    expected.Survey.reset();
    expected.Measurement.reset();
    expected.Note.clear();
    expected.ObjectName.clear();
    EXPECT_EQ(read, expected);
}

TEST_F(CalculationFileOnDisk, FileOverTheSizeLimitIsRefusedByItsSize) {
    const QString path = Path();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(100 * 1024 * 1024)); // sparse: no time to write
    }
    QElapsedTimer timer;
    timer.start();
    const TCalculationRead read = ReadCalculationFile(path);
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_FALSE(read.Calculation);
    EXPECT_EQ(read.Error, QStringLiteral("Файл слишком велик: файл расчёта не больше 4 МБ."));

    // One byte over the limit, a good file padded with blanks, is refused too; at the limit it reads.
    QByteArray padded = SerializeCalculation(FullCalculation());
    padded.append(QByteArray(MaxCalculationFileSize - padded.size(), ' '));
    Put(path, padded);
    EXPECT_TRUE(ReadCalculationFile(path).Calculation);
    Put(path, padded + ' ');
    EXPECT_FALSE(ReadCalculationFile(path).Calculation);

    EXPECT_EQ(ReadCalculationFile(Path(QStringLiteral("нет.stelvorn"))).Error,
              QStringLiteral("Файл не найден."));
    EXPECT_EQ(ReadCalculationFile(dir_.path()).Error, QStringLiteral("Это папка, а не файл."));
}

TEST_F(CalculationFileOnDisk, RefusedWriteLeavesTheEarlierFile) {
    ASSERT_EQ(WriteCalculationFile(Path(), FullCalculation()), std::nullopt);
    const QByteArray earlier = Bytes(Path());

    // A folder that cannot be: the parent is a regular file.
    const QString underAFile = Path() + QStringLiteral("/другой.stelvorn");
    const std::optional<QString> error = WriteCalculationFile(underAFile, FullCalculation());
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->startsWith(QStringLiteral("Не могу записать файл: нет доступа к папке (")))
        << error->toStdString();
    EXPECT_EQ(Bytes(Path()), earlier);

    // A value the reader would refuse is not written at all.
    TCalculation bad = FullCalculation();
    bad.Inputs.Number = 25; // as typed into the field, before it left the focus
    const std::optional<QString> refused = WriteCalculationFile(Path(), bad);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->startsWith(QStringLiteral("Расчёт не записан: Значение «Количество электродов»")))
        << refused->toStdString();
    bad = FullCalculation();
    bad.Inputs.Length = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(WriteCalculationFile(Path(), bad));
    EXPECT_EQ(Bytes(Path()), earlier);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("расчёт.stelvorn")});
}

TEST_F(CalculationFileOnDisk, WriteProtection) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere";
    ASSERT_EQ(WriteCalculationFile(Path(), FullCalculation()), std::nullopt);
    const QByteArray earlier = Bytes(Path());
    TCalculation changed = FullCalculation();
    changed.Note = QStringLiteral("другое");

    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner));
    EXPECT_EQ(WriteCalculationFile(Path(), changed),
              QStringLiteral("Не могу записать файл: он защищён от записи."));
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::WriteOwner));

    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner));
    const std::optional<QString> error = WriteCalculationFile(Path(), changed);
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->startsWith(QStringLiteral("Не могу записать файл: нет доступа к папке")))
        << error->toStdString();
    EXPECT_EQ(Bytes(Path()), earlier);
}

} // namespace
