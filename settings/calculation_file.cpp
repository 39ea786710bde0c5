#include "calculation_file.h"

#include "char_classes.h"
#include "input_bounds.h"
#include "number_format.h"
#include "qt_text.h"
#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSaveFile>

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <tuple>

// The file, member by member (every number a JSON number, every text as typed):
//   "format": "stelvorn-calculation", "version": 1,
//   "program": the version of the program that wrote it, "saved": ISO 8601 date and time,
//   "object", "note": texts (may be left out),
//   "inputs": {"climaticRegion", "topSoil", "bottomSoil", "topLayerThickness", "depth", "rodForm",
//              "rodWidth", "rodLength", "layout", "rodCount", "spacingMultiple", "connectorForm",
//              "connectorWidth"},
//   "interface": {"showHints", "skinName", "skins"},
//   "norm": {"value", "raised"},
//   "survey" (may be left out): {"readings": [{"spacing", "depth", "resistance" or/and "apparent",
//                                              "kept"}, ...], "twoLayers"},
//   "measurement" (may be left out): {"measured", "soilState": "worst" or "ordinary"}.
// A reader ignores members it does not know: a later version that only adds members keeps the
// version number.

namespace {

// A fault of the file, with the sentence for the user; thrown inside the reader only.
struct TFileFault {
    QString Message;
};

[[noreturn]] void Fail(const QString& message) {
    throw TFileFault{message};
}

QString Plain(double x) {
    return ToQString(FormatPlain(x, u','));
}

// A value of the file as the user knows it: the caption of its control and its place in the file.
struct TName {
    QString Caption;
    QString Path; // "inputs.rodLength"

    QString Key() const { return Path.section(u'.', -1); }
    QString Named() const { return u'«' + Caption + QStringLiteral("» (") + Path + u')'; }
};

TName Child(const QString& parentPath, const QString& caption, const char* key) {
    return {caption,
            parentPath.isEmpty() ? QString::fromLatin1(key) : parentPath + u'.' + QLatin1String(key)};
}

QJsonValue Member(const QJsonObject& object, const TName& name) {
    const QJsonValue value = object.value(name.Key());
    if (value.isUndefined())
        Fail(QStringLiteral("В файле нет значения ") + name.Named() + u'.');
    return value;
}

QJsonObject ObjectOf(const QJsonValue& value, const TName& name) {
    if (!value.isObject())
        Fail(QStringLiteral("Значение ") + name.Named() +
             QStringLiteral(" должно быть группой значений { … }."));
    return value.toObject();
}

double NumberOf(const QJsonValue& value, const TName& name) {
    if (!value.isDouble())
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" должно быть числом."));
    const double x = value.toDouble();
    if (!std::isfinite(x))
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" — не конечное число."));
    return x;
}

bool FlagOf(const QJsonValue& value, const TName& name) {
    if (!value.isBool())
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" должно быть true или false."));
    return value.toBool();
}

// A whole number within [min, max]; max 0 = up to the 32-bit limit of the counts.
int64_t WholeOf(const QJsonValue& value, const TName& name, TWholeFieldBounds bounds) {
    const double x = NumberOf(value, name);
    if (x != std::trunc(x))
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" = ") + Plain(x) +
             QStringLiteral(" должно быть целым числом."));
    const double max =
        bounds.Max != 0 ? static_cast<double>(bounds.Max) : std::numeric_limits<int32_t>::max();
    if (x < static_cast<double>(bounds.Min) || x > max)
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" = ") + Plain(x) +
             QStringLiteral(" вне пределов поля: от ") + Plain(static_cast<double>(bounds.Min)) +
             QStringLiteral(" до ") + Plain(max) + u'.');
    return static_cast<int64_t>(x);
}

// A radio choice: a code that has a button.
int32_t CodeOf(const QJsonValue& value, const TName& name, int32_t first, int32_t last) {
    const double x = NumberOf(value, name);
    if (x != std::trunc(x) || x < first || x > last)
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" = ") + Plain(x) +
             QStringLiteral(": в окне нет такого переключателя (их номера от ") + QString::number(first) +
             QStringLiteral(" до ") + QString::number(last) + QStringLiteral(")."));
    return static_cast<int32_t>(x);
}

// A decimal field's value: any finite number within its bounds. The field keeps and computes with
// more decimal places than it writes (a typed 2,55 stays 2.55 while the text shows 2,6), so such a
// value is taken as it stands.
double DecimalOf(const QJsonValue& value, const TName& name, TDecimalFieldBounds bounds) {
    const double x = NumberOf(value, name);
    const auto wide = static_cast<long double>(x);
    if (wide < bounds.Min || (bounds.Max != 0 && wide > bounds.Max)) {
        QString range = QStringLiteral("от ") + Plain(static_cast<double>(bounds.Min));
        if (bounds.Max != 0)
            range += QStringLiteral(" до ") + Plain(static_cast<double>(bounds.Max));
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" = ") + Plain(x) +
             QStringLiteral(" вне пределов поля: ") + range + u'.');
    }
    return x;
}

enum class TLines { Refused, Allowed };

// A text: no control characters (line breaks and tabs only where lines are allowed), no halves of
// a surrogate pair, at most maxLength code units.
QString TextOf(const QJsonValue& value, const TName& name, int maxLength, TLines lines = TLines::Refused) {
    if (!value.isString())
        Fail(QStringLiteral("Значение ") + name.Named() + QStringLiteral(" должно быть текстом в кавычках."));
    QString text = value.toString();
    if (text.size() > maxLength)
        Fail(QStringLiteral("Текст ") + name.Named() + QStringLiteral(" длиннее ") +
             QString::number(maxLength) + QStringLiteral(" знаков."));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool lineBreak = c == u'\n' || c == u'\r' || c == u'\t';
        if ((c < 0x20 || (c >= 0x7F && c < 0xA0)) && !(lines == TLines::Allowed && lineBreak))
            Fail(QStringLiteral("В тексте ") + name.Named() + QStringLiteral(" управляющий символ (код ") +
                 QString::number(c) + QStringLiteral(")."));
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (IsHighSurrogate(c) || IsLowSurrogate(c))
            Fail(QStringLiteral("В тексте ") + name.Named() + QStringLiteral(" неполный символ UTF-16."));
    }
    return text;
}

const QString InputsPath = QStringLiteral("inputs");

TEarthingInput ReadInputs(const QJsonObject& inputs) {
    auto name = [](const char16_t* caption, const char* key) {
        return Child(InputsPath, QString::fromUtf16(caption), key);
    };
    auto member = [&inputs](const TName& n) { return Member(inputs, n); };
    TEarthingInput in{};
    const TName region = name(u"Климатический район", "climaticRegion");
    in.ClimaticRegion = CodeOf(member(region), region, 0, 4);
    for (auto [caption, key, field] : {std::tuple{u"Верхний пласт", "topSoil", &in.TopLayer},
                                       {u"Нижний пласт", "bottomSoil", &in.BottomLayer}}) {
        const TName n = name(caption, key);
        *field = std::u16string(ToU16View(TextOf(member(n), n, InputBounds::MaxSoilTextLength)));
    }
    const TName thickness = name(u"Толщина верхнего пласта", "topLayerThickness");
    in.Thickness = DecimalOf(member(thickness), thickness, InputBounds::Thickness);
    const TName depth = name(u"Заглубление", "depth");
    in.Depth = DecimalOf(member(depth), depth, InputBounds::Depth);
    const TName form = name(u"Форма вертикальных электродов", "rodForm");
    in.Form = CodeOf(member(form), form, 1, 2);
    const TName width = name(u"Ширина стороны или диаметр электрода", "rodWidth");
    in.Width = WholeOf(member(width), width, InputBounds::Width);
    const TName length = name(u"Длина электрода", "rodLength");
    in.Length = DecimalOf(member(length), length, InputBounds::Length);
    const TName layout = name(u"Расположение вертикальных электродов", "layout");
    in.MutualDisposition = CodeOf(member(layout), layout, 1, 2);
    const TName number = name(u"Количество электродов", "rodCount");
    in.Number = static_cast<int32_t>(WholeOf(member(number), number, InputBounds::Number));
    const TName multiple = name(u"Кратность интервала", "spacingMultiple");
    in.IntervalMultiplicity =
        static_cast<int32_t>(WholeOf(member(multiple), multiple, InputBounds::IntervalMultiplicity));
    const TName formHor = name(u"Форма горизонтального соединителя", "connectorForm");
    in.FormHor = CodeOf(member(formHor), formHor, 1, 3);
    const TName widthHor = name(u"Ширина соединителя", "connectorWidth");
    in.WidthHor = WholeOf(member(widthHor), widthHor, InputBounds::WidthHor);
    return in;
}

QJsonObject WriteInputs(const TEarthingInput& in) {
    return {
        {QStringLiteral("climaticRegion"), in.ClimaticRegion},
        {QStringLiteral("topSoil"), ToQString(in.TopLayer)},
        {QStringLiteral("bottomSoil"), ToQString(in.BottomLayer)},
        {QStringLiteral("topLayerThickness"), in.Thickness},
        {QStringLiteral("depth"), in.Depth},
        {QStringLiteral("rodForm"), in.Form},
        {QStringLiteral("rodWidth"), static_cast<qint64>(in.Width)},
        {QStringLiteral("rodLength"), in.Length},
        {QStringLiteral("layout"), in.MutualDisposition},
        {QStringLiteral("rodCount"), in.Number},
        {QStringLiteral("spacingMultiple"), in.IntervalMultiplicity},
        {QStringLiteral("connectorForm"), in.FormHor},
        {QStringLiteral("connectorWidth"), static_cast<qint64>(in.WidthHor)},
    };
}

TSurveyRecord ReadSurvey(const QJsonObject& survey) {
    const QString path = QStringLiteral("survey");
    const TName readingsName = Child(path, QStringLiteral("Изыскания: показания"), "readings");
    const QJsonValue readingsValue = Member(survey, readingsName);
    if (!readingsValue.isArray())
        Fail(QStringLiteral("Значение ") + readingsName.Named() +
             QStringLiteral(" должно быть списком [ … ]."));
    const QJsonArray readings = readingsValue.toArray();
    if (readings.isEmpty())
        Fail(QStringLiteral("В изысканиях нет ни одного показания."));
    if (static_cast<size_t>(readings.size()) > MaxSurveyReadings)
        Fail(QStringLiteral("В изысканиях больше ") + QString::number(MaxSurveyReadings) +
             QStringLiteral(" показаний."));
    TSurveyRecord record;
    const TName twoLayers = Child(path, QStringLiteral("Изыскания: модель двух пластов"), "twoLayers");
    record.TwoLayers = FlagOf(Member(survey, twoLayers), twoLayers);
    record.Readings.reserve(static_cast<size_t>(readings.size()));
    for (qsizetype i = 0; i < readings.size(); ++i) {
        const size_t row = static_cast<size_t>(i) + 1;
        const QString rowPath = readingsName.Path + u'[' + QString::number(i) + u']';
        const QString rowCaption = QStringLiteral("Изыскания, строка ") + QString::number(row);
        const QJsonObject object = ObjectOf(readings[i], {rowCaption, rowPath});
        auto name = [&](const QString& column, const char* key) {
            return Child(rowPath, rowCaption + QStringLiteral(", ") + column, key);
        };
        TSurveyReading reading;
        const TName spacing = name(QStringLiteral("a"), "spacing");
        reading.Spacing = NumberOf(Member(object, spacing), spacing);
        const TName depth = name(QStringLiteral("b"), "depth");
        reading.Depth = NumberOf(Member(object, depth), depth);
        const TName resistance = name(QStringLiteral("R"), "resistance");
        if (object.contains(resistance.Key()))
            reading.Resistance = NumberOf(object.value(resistance.Key()), resistance);
        const TName apparent = name(QStringLiteral("ρa"), "apparent");
        if (object.contains(apparent.Key()))
            reading.Apparent = NumberOf(object.value(apparent.Key()), apparent);
        const TName kept = name(QStringLiteral("Учесть"), "kept");
        reading.Kept = FlagOf(Member(object, kept), kept);
        const std::u16string error = SurveyReadingError(reading, row);
        if (!error.empty())
            Fail(QStringLiteral("Изыскания. ") + ToQString(error));
        record.Readings.push_back(reading);
    }
    return record;
}

QJsonObject WriteSurvey(const TSurveyRecord& survey) {
    QJsonArray readings;
    for (const TSurveyReading& reading : survey.Readings) {
        QJsonObject object{
            {QStringLiteral("spacing"), reading.Spacing},
            {QStringLiteral("depth"), reading.Depth},
            {QStringLiteral("kept"), reading.Kept},
        };
        if (reading.Resistance)
            object.insert(QStringLiteral("resistance"), *reading.Resistance);
        if (reading.Apparent)
            object.insert(QStringLiteral("apparent"), *reading.Apparent);
        readings.append(object);
    }
    return {{QStringLiteral("readings"), readings}, {QStringLiteral("twoLayers"), survey.TwoLayers}};
}

const QString WorstState = QStringLiteral("worst");
const QString OrdinaryState = QStringLiteral("ordinary");

TMeasurementRecord ReadMeasurement(const QJsonObject& measurement) {
    const QString path = QStringLiteral("measurement");
    TMeasurementRecord record;
    const TName measured = Child(path, QStringLiteral("Измеренное сопротивление заземлителя"), "measured");
    record.Measured = NumberOf(Member(measurement, measured), measured);
    if (!(record.Measured > 0))
        Fail(QStringLiteral("Значение ") + measured.Named() + QStringLiteral(" = ") + Plain(record.Measured) +
             QStringLiteral(" должно быть больше 0."));
    const TName state = Child(path, QStringLiteral("Грунт во время замера"), "soilState");
    const QString text = TextOf(Member(measurement, state), state, MaxCalculationTextLength);
    if (text == WorstState)
        record.State = TSoilState::Worst;
    else if (text == OrdinaryState)
        record.State = TSoilState::Ordinary;
    else
        Fail(QStringLiteral("Значение ") + state.Named() + QStringLiteral(" должно быть \"") + WorstState +
             QStringLiteral("\" или \"") + OrdinaryState + QStringLiteral("\"."));
    return record;
}

TNormChoice ReadNorm(const QJsonObject& norm) {
    const QString path = QStringLiteral("norm");
    TNormChoice choice;
    const TName value = Child(path, QStringLiteral("Нормативное сопротивление"), "value");
    choice.Norm = DecimalOf(Member(norm, value), value, InputBounds::TypedNorm);
    // The norm's field holds tenths of an ohm and nothing finer, unlike the input fields.
    if (std::round(choice.Norm * 10) / 10 != choice.Norm)
        Fail(QStringLiteral("Значение ") + value.Named() + QStringLiteral(" = ") + Plain(choice.Norm) +
             QStringLiteral(": поле нормы берёт не больше одного знака после запятой."));
    const TName raised = Child(path, QStringLiteral("Повышенная норма"), "raised");
    choice.Raised = FlagOf(Member(norm, raised), raised);
    return choice;
}

// The parse error of Qt's reader as a Russian sentence.
QString JsonFault(const QJsonParseError& error, qsizetype size) {
    if (size == 0)
        return QStringLiteral("Файл пуст.");
    const qsizetype offset = error.offset;
    if (offset >= size && error.error != QJsonParseError::GarbageAtEnd)
        return QStringLiteral("Файл обрывается на байте ") + QString::number(size) +
               QStringLiteral(": он записан не до конца.");
    QString what;
    switch (error.error) {
    case QJsonParseError::UnterminatedObject:
    case QJsonParseError::MissingValueSeparator:
        what = QStringLiteral("не хватает запятой или закрывающей скобки");
        break;
    case QJsonParseError::MissingNameSeparator:
        what = QStringLiteral("не хватает двоеточия после имени");
        break;
    case QJsonParseError::UnterminatedArray:
        what = QStringLiteral("не закрыт список");
        break;
    case QJsonParseError::IllegalNumber:
    case QJsonParseError::TerminationByNumber:
        what = QStringLiteral("неправильное число");
        break;
    case QJsonParseError::IllegalEscapeSequence:
        what = QStringLiteral("неправильный знак после \\ в тексте");
        break;
    case QJsonParseError::IllegalUTF8String:
        what = QStringLiteral("текст не в кодировке UTF-8");
        break;
    case QJsonParseError::UnterminatedString:
        what = QStringLiteral("не закрыты кавычки");
        break;
    case QJsonParseError::MissingObject:
        what = QStringLiteral("нет группы значений { … }");
        break;
    case QJsonParseError::DeepNesting:
        what = QStringLiteral("слишком глубокая вложенность");
        break;
    case QJsonParseError::DocumentTooLarge:
        what = QStringLiteral("слишком много данных");
        break;
    case QJsonParseError::GarbageAtEnd:
        what = QStringLiteral("лишние знаки после конца данных");
        break;
    default:
        what = QStringLiteral("неожиданный знак");
        break;
    }
    return QStringLiteral("Файл повреждён: это не JSON (байт ") + QString::number(offset) +
           QStringLiteral(": ") + what + QStringLiteral(").");
}

TCalculation ReadCalculation(const QJsonObject& root) {
    const QJsonValue format = root.value(QStringLiteral("format"));
    if (!format.isString() || format.toString() != QStringView(CalculationFormatName))
        Fail(QStringLiteral("Это не файл расчёта Стелворна: в нём нет названия формата \"") +
             QString::fromUtf16(CalculationFormatName) + QStringLiteral("\"."));
    const QJsonValue version = root.value(QStringLiteral("version"));
    const double number = version.toDouble(-1);
    if (!version.isDouble() || number != std::trunc(number) || number < 1)
        Fail(QStringLiteral("Неизвестная версия формата файла расчёта."));
    if (number > CalculationFormatVersion)
        Fail(QStringLiteral("Файл создан более новой версией программы (формат ") +
             (number <= 1e9 ? QString::number(static_cast<int64_t>(number)) : Plain(number)) +
             QStringLiteral("); эта версия читает формат ") + QString::number(CalculationFormatVersion) +
             QStringLiteral("."));

    TCalculation c;
    const TName program{QStringLiteral("Версия программы"), QStringLiteral("program")};
    c.ProgramVersion = TextOf(Member(root, program), program, MaxCalculationTextLength);
    const TName saved{QStringLiteral("Дата сохранения"), QStringLiteral("saved")};
    const QString savedText = TextOf(Member(root, saved), saved, MaxCalculationTextLength);
    c.Saved = QDateTime::fromString(savedText, Qt::ISODateWithMs);
    if (!c.Saved.isValid())
        Fail(QStringLiteral("Значение ") + saved.Named() +
             QStringLiteral(" должно быть датой и временем вида 2026-01-31T12:00:00+03:00."));

    const TName object{QStringLiteral("Объект"), QStringLiteral("object")};
    if (root.contains(object.Key()))
        c.ObjectName = TextOf(root.value(object.Key()), object, MaxCalculationTextLength);
    const TName note{QStringLiteral("Примечание"), QStringLiteral("note")};
    if (root.contains(note.Key()))
        c.Note = TextOf(root.value(note.Key()), note, MaxCalculationNoteLength, TLines::Allowed);

    const TName inputs{QStringLiteral("Исходные данные"), InputsPath};
    c.Inputs = ReadInputs(ObjectOf(Member(root, inputs), inputs));

    const TName interfaceName{QStringLiteral("Интерфейс"), QStringLiteral("interface")};
    const QJsonObject interface = ObjectOf(Member(root, interfaceName), interfaceName);
    const TName hints = Child(interfaceName.Path, QStringLiteral("Подсказки"), "showHints");
    c.ShowHints = FlagOf(Member(interface, hints), hints);
    const TName skinName = Child(interfaceName.Path, QStringLiteral("Тема"), "skinName");
    c.SkinName = TextOf(Member(interface, skinName), skinName, MaxCalculationTextLength);
    const TName skins = Child(interfaceName.Path, QStringLiteral("Темы включены"), "skins");
    c.Skins = FlagOf(Member(interface, skins), skins);

    const TName norm{QStringLiteral("Норма"), QStringLiteral("norm")};
    c.Norm = ReadNorm(ObjectOf(Member(root, norm), norm));

    const TName survey{QStringLiteral("Изыскания"), QStringLiteral("survey")};
    if (root.contains(survey.Key()))
        c.Survey = ReadSurvey(ObjectOf(root.value(survey.Key()), survey));
    const TName measurement{QStringLiteral("Замер"), QStringLiteral("measurement")};
    if (root.contains(measurement.Key()))
        c.Measurement = ReadMeasurement(ObjectOf(root.value(measurement.Key()), measurement));
    return c;
}

TCalculationRead Refused(const QString& message) {
    return {std::nullopt, message};
}

} // namespace

QByteArray SerializeCalculation(const TCalculation& c) {
    QJsonObject root{
        {QStringLiteral("format"), QString::fromUtf16(CalculationFormatName)},
        {QStringLiteral("version"), CalculationFormatVersion},
        {QStringLiteral("program"), c.ProgramVersion},
        {QStringLiteral("saved"), c.Saved.toString(Qt::ISODateWithMs)},
        {QStringLiteral("object"), c.ObjectName},
        {QStringLiteral("note"), c.Note},
        {QStringLiteral("inputs"), WriteInputs(c.Inputs)},
        {QStringLiteral("interface"), QJsonObject{{QStringLiteral("showHints"), c.ShowHints},
                                                  {QStringLiteral("skinName"), c.SkinName},
                                                  {QStringLiteral("skins"), c.Skins}}},
        {QStringLiteral("norm"),
         QJsonObject{{QStringLiteral("value"), c.Norm.Norm}, {QStringLiteral("raised"), c.Norm.Raised}}},
    };
    if (c.Survey)
        root.insert(QStringLiteral("survey"), WriteSurvey(*c.Survey));
    if (c.Measurement)
        root.insert(QStringLiteral("measurement"),
                    QJsonObject{{QStringLiteral("measured"), c.Measurement->Measured},
                                {QStringLiteral("soilState"),
                                 c.Measurement->State == TSoilState::Worst ? WorstState : OrdinaryState}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TCalculationRead ParseCalculation(const QByteArray& bytes) {
    try {
        if (bytes.size() > MaxCalculationFileSize)
            return Refused(QStringLiteral("Файл слишком велик для файла расчёта."));
        QByteArrayView text(bytes);
        if (text.startsWith("\xEF\xBB\xBF")) // a byte order mark some editors put in front
            text = text.sliced(3);
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(text.toByteArray(), &error);
        if (error.error != QJsonParseError::NoError)
            return Refused(JsonFault(error, text.size()));
        if (!document.isObject())
            return Refused(QStringLiteral("Это не файл расчёта Стелворна: в нём нет названия формата \"") +
                           QString::fromUtf16(CalculationFormatName) + QStringLiteral("\"."));
        return {ReadCalculation(document.object()), {}};
    } catch (const TFileFault& fault) {
        return Refused(fault.Message);
    } catch (const std::bad_alloc&) {
        return Refused(QStringLiteral("Не хватает памяти, чтобы прочитать файл."));
    }
}

TCalculationRead ReadCalculationFile(const QString& path) {
    try {
        const QFileInfo info(path);
        if (!info.exists())
            return Refused(QStringLiteral("Файл не найден."));
        if (info.isDir())
            return Refused(QStringLiteral("Это папка, а не файл."));
        if (!info.isFile())
            return Refused(QStringLiteral("Это не обычный файл."));
        const QString tooLarge = QStringLiteral("Файл слишком велик: файл расчёта не больше ") +
                                 QString::number(MaxCalculationFileSize / (1024 * 1024)) +
                                 QStringLiteral(" МБ.");
        if (info.size() > MaxCalculationFileSize)
            return Refused(tooLarge);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return Refused(QStringLiteral("Не могу открыть файл: ") + file.errorString() + u'.');
        // The size is checked again on what is read: the file may have grown since.
        const QByteArray bytes = file.read(MaxCalculationFileSize + 1);
        if (file.error() != QFileDevice::NoError)
            return Refused(QStringLiteral("Не могу прочитать файл: ") + file.errorString() + u'.');
        if (bytes.size() > MaxCalculationFileSize)
            return Refused(tooLarge);
        return ParseCalculation(bytes);
    } catch (const std::bad_alloc&) {
        return Refused(QStringLiteral("Не хватает памяти, чтобы прочитать файл."));
    }
}

std::optional<QString> WriteCalculationFile(const QString& path, const TCalculation& calculation) {
    try {
        TCalculation stamped = calculation;
        stamped.ProgramVersion = QStringLiteral(STELVORN_VERSION);
        const QDateTime now = QDateTime::currentDateTime();
        stamped.Saved = now.toOffsetFromUtc(now.offsetFromUtc());
        const QByteArray bytes = SerializeCalculation(stamped);
        // Only a file that reads back is written: a value the reader would refuse is reported now,
        // not when the file is opened again.
        const TCalculationRead check = ParseCalculation(bytes);
        if (!check.Calculation)
            return QStringLiteral("Расчёт не записан: ") + check.Error;

        const QFileInfo info(path);
        if (info.exists() && info.isFile() && !info.isWritable())
            return QStringLiteral("Не могу записать файл: он защищён от записи.");
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("Не могу записать файл: нет доступа к папке (") + file.errorString() +
                   QStringLiteral(").");
        if (file.write(bytes) != bytes.size()) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return QStringLiteral("Не могу записать файл: запись прервалась (") + reason +
                   QStringLiteral(").");
        }
        if (!file.commit())
            return QStringLiteral("Не могу записать файл: не удалось сохранить его на диске (") +
                   file.errorString() + QStringLiteral(").");
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Не хватает памяти, чтобы записать файл.");
    }
}
