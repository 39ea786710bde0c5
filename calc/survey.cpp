#include "survey.h"

#include "number_format.h"
#include "resistivity_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// What a reading may hold: spacings up to 10 km, apparent resistivities from 0,001 to 10⁷ Ом∙м.
constexpr double MaxSpacing = 10000;
constexpr double MinApparent = 1e-3, MaxApparent = 1e7;
// The fit's bounds: the ratio of the layers up to 100 either way (|K| up to 0,98, where the series needs
// at most about 1500 terms), h from 1 mm.
constexpr double MaxLayerRatio = 100;
// The grid spans the same ratios.
constexpr double GridLayerRatio = MaxLayerRatio;
constexpr double MinThickness = 1e-3, MaxThickness = 1e5;

std::u16string Row(size_t row) {
    return u"Строка " + FormatPlain(static_cast<double>(row), u',') + u": ";
}

bool Positive(std::optional<double> x) {
    return x && std::isfinite(*x) && *x > 0;
}

// ρa of a reading that SurveyReadingError accepts.
double Measured(const TSurveyReading& reading) {
    return reading.Resistance ? WennerApparentResistivity(reading.Spacing, reading.Depth, *reading.Resistance)
                              : *reading.Apparent;
}

struct TPoint {
    double Spacing, Measured;
};

double SumOfSquares(const TSurveyModel& model, const std::vector<TPoint>& points) {
    double sum = 0;
    for (const TPoint& point : points) {
        const double error = SurveyError(model, point.Spacing, point.Measured);
        sum += error * error;
    }
    return sum;
}

double Rms(const TSurveyModel& model, const std::vector<TPoint>& points) {
    return std::sqrt(SumOfSquares(model, points) / static_cast<double>(points.size()));
}

// The search runs in log(ρ2/ρ1) and log h. ρ1 only scales the curve, so for each pair the best ρ1 is
// found in closed form: with Fᵢ = ρa(aᵢ)/ρ1 and the readings mᵢ, Σ(ρ1·Fᵢ/mᵢ − 1)² is least at
// ρ1 = Σ(Fᵢ/mᵢ) / Σ(Fᵢ/mᵢ)².
using TParams = std::array<double, 2>;

struct TScored {
    double Value = INFINITY;
    TSurveyModel Model;
};

TScored Score(const TParams& p, const std::vector<TPoint>& points) {
    const double ratio = std::log(MaxLayerRatio);
    TScored scored;
    scored.Model.TwoLayers = true;
    scored.Model.Rho1 = 1;
    scored.Model.Rho2 = std::exp(std::clamp(p[0], -ratio, ratio));
    scored.Model.Thickness = std::exp(std::clamp(p[1], std::log(MinThickness), std::log(MaxThickness)));
    double linear = 0, square = 0;
    std::vector<double> shape(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        shape[i] = scored.Model.At(points[i].Spacing) / points[i].Measured;
        linear += shape[i];
        square += shape[i] * shape[i];
    }
    const double rho1 = linear / square;
    scored.Value = 0;
    for (double f : shape)
        scored.Value += (rho1 * f - 1) * (rho1 * f - 1);
    scored.Model.Rho1 = rho1;
    scored.Model.Rho2 *= rho1;
    return scored;
}

// Nelder–Mead from `start` with the given first step in every direction.
TParams NelderMead(const std::vector<TPoint>& points, TParams start, double step) {
    const auto f = [&](const TParams& p) { return Score(p, points).Value; };
    constexpr int corners = 3;
    std::array<TParams, corners> simplex;
    std::array<double, corners> value;
    for (int i = 0; i < corners; ++i) {
        simplex[i] = start;
        if (i > 0)
            simplex[i][i - 1] += step;
        value[i] = f(simplex[i]);
    }
    for (int iteration = 0; iteration < 2000; ++iteration) {
        std::array<int, corners> order = {0, 1, 2};
        std::sort(order.begin(), order.end(), [&](int l, int r) { return value[l] < value[r]; });
        const int best = order[0], worst = order[2], second = order[1];
        double size = 0;
        for (int i = 0; i < corners; ++i)
            for (int k = 0; k < 2; ++k)
                size = std::max(size, std::abs(simplex[i][k] - simplex[best][k]));
        if (size < 1e-6 || value[worst] - value[best] <= 1e-12 * value[best] + 1e-24)
            break;
        TParams centre{};
        for (int i = 0; i < corners; ++i)
            if (i != worst)
                for (int k = 0; k < 2; ++k)
                    centre[k] += simplex[i][k] / (corners - 1);
        const auto along = [&](double t) {
            TParams p;
            for (int k = 0; k < 2; ++k)
                p[k] = centre[k] + t * (simplex[worst][k] - centre[k]);
            return p;
        };
        const TParams reflected = along(-1);
        const double reflectedValue = f(reflected);
        if (reflectedValue < value[best]) {
            const TParams expanded = along(-2);
            const double expandedValue = f(expanded);
            const bool further = expandedValue < reflectedValue;
            simplex[worst] = further ? expanded : reflected;
            value[worst] = further ? expandedValue : reflectedValue;
            continue;
        }
        if (reflectedValue < value[second]) {
            simplex[worst] = reflected;
            value[worst] = reflectedValue;
            continue;
        }
        const TParams contracted = along(reflectedValue < value[worst] ? -0.5 : 0.5);
        const double contractedValue = f(contracted);
        if (contractedValue < std::min(reflectedValue, value[worst])) {
            simplex[worst] = contracted;
            value[worst] = contractedValue;
            continue;
        }
        for (int i = 0; i < corners; ++i) {
            if (i == best)
                continue;
            for (int k = 0; k < 2; ++k)
                simplex[i][k] = simplex[best][k] + 0.5 * (simplex[i][k] - simplex[best][k]);
            value[i] = f(simplex[i]);
        }
    }
    return simplex[std::min_element(value.begin(), value.end()) - value.begin()];
}

// How much the model's ρa moves, as an RMS over the spacings, when h changes by a factor of e.
double ThicknessSensitivity(const TSurveyModel& model, const std::vector<TPoint>& points) {
    constexpr double delta = 0.05;
    TSurveyModel thicker = model, thinner = model;
    thicker.Thickness *= std::exp(delta);
    thinner.Thickness *= std::exp(-delta);
    double sum = 0;
    for (const TPoint& point : points) {
        const double change =
            (thicker.At(point.Spacing) - thinner.At(point.Spacing)) / model.At(point.Spacing) / (2 * delta);
        sum += change * change;
    }
    return std::sqrt(sum / static_cast<double>(points.size()));
}

TSurveyModel FitTwoLayers(const std::vector<TPoint>& points) {
    double nearest = INFINITY, farthest = 0;
    for (const TPoint& point : points) {
        nearest = std::min(nearest, point.Spacing);
        farthest = std::max(farthest, point.Spacing);
    }
    // The grid, evenly in log space: ρ2/ρ1 up to GridLayerRatio either way (not 1: the uniform fit covers
    // it), h from a tenth of the nearest spacing to three times the farthest.
    constexpr int ratioSteps = 10, thicknessSteps = 9;
    const double ratioTo = std::log(GridLayerRatio), ratioStep = 2 * ratioTo / ratioSteps;
    const double hFrom = std::log(nearest / 10), hTo = std::log(farthest * 3);
    struct TCandidate {
        double Value;
        TParams Params;
    };
    std::vector<TCandidate> candidates;
    for (int i = 0; i <= ratioSteps; ++i)
        for (int k = 0; k < thicknessSteps; ++k) {
            if (2 * i == ratioSteps)
                continue;
            const TParams p = {-ratioTo + ratioStep * i, hFrom + (hTo - hFrom) * k / (thicknessSteps - 1)};
            candidates.push_back({Score(p, points).Value, p});
        }
    // The best few of the grid, refined, and the best of them refined once more from a fresh simplex
    // (a simplex may collapse before it reaches the bottom of a long valley).
    constexpr size_t refined = 3;
    std::partial_sort(candidates.begin(), candidates.begin() + refined, candidates.end(),
                      [](const TCandidate& l, const TCandidate& r) { return l.Value < r.Value; });
    TScored best;
    TParams bestParams{};
    const auto refine = [&](const TParams& start, double step) {
        const TParams p = NelderMead(points, start, step);
        const TScored scored = Score(p, points);
        if (scored.Value < best.Value) {
            best = scored;
            bestParams = p;
        }
    };
    for (size_t i = 0; i < refined; ++i)
        refine(candidates[i].Params, ratioStep / 2);
    refine(bestParams, 0.05);
    best.Model.Rms = Rms(best.Model, points);
    return best.Model;
}

std::u16string Trim(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0'; };
    size_t from = 0, to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    std::u16string cell(text.substr(from, to - from));
    // A cell in quotes, as spreadsheets write one with a separator in it.
    if (cell.size() >= 2 && cell.front() == u'"' && cell.back() == u'"')
        cell = cell.substr(1, cell.size() - 2);
    return cell;
}

std::optional<double> ParseCell(std::u16string cell) {
    std::replace(cell.begin(), cell.end(), u',', u'.');
    if (cell.find_first_not_of(u"0123456789.+-eE ") != std::u16string::npos)
        return std::nullopt;
    return ParseResistivity(cell, u'.');
}

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        else if (c >= u'А' && c <= u'Я')
            c = static_cast<char16_t>(c - u'А' + u'а');
    }
    return text;
}

const char16_t* const ColumnNames[] = {u"a", u"b", u"R", u"ρa", u"учитывать"};

} // namespace

double WennerApparentResistivity(double spacing, double depth, double resistance) {
    const double a = spacing, b = depth;
    const double divisor = 1 + 2 * a / std::sqrt(a * a + 4 * b * b) - a / std::sqrt(a * a + b * b);
    return 4 * std::numbers::pi * a * resistance / divisor;
}

double TwoLayerApparentResistivity(double rho1, double rho2, double thickness, double spacing) {
    const double k = (rho2 - rho1) / (rho2 + rho1);
    const double ratio = 2 * thickness / spacing;
    double sum = 0, power = 1;
    for (int n = 1; n <= 200000; ++n) {
        power *= k;
        const double x = n * ratio;
        // 1/√(1+x²) − 1/√(4+x²), written so that it keeps its digits for large x.
        const double p = std::sqrt(1 + x * x), q = std::sqrt(4 + x * x);
        const double bracket = 3 / (p * q * (p + q));
        sum += power * bracket;
        // The bracket falls with n, so what follows is at most |K|ⁿ⁺¹/(1 − |K|) times this one.
        const double tail = std::abs(power * k) / (1 - std::abs(k)) * bracket;
        if (!(4 * tail > 1e-9))
            break;
    }
    return rho1 * (1 + 4 * sum);
}

double TSurveyModel::At(double spacing) const {
    return TwoLayers ? TwoLayerApparentResistivity(Rho1, Rho2, Thickness, spacing) : Rho1;
}

std::u16string SurveyReadingError(const TSurveyReading& reading, size_t row) {
    if (!Positive(reading.Spacing) || reading.Spacing > MaxSpacing)
        return Row(row) + u"разнос a должен быть числом больше 0 и не больше 10000 м.";
    if (!std::isfinite(reading.Depth) || reading.Depth < 0 || reading.Depth >= reading.Spacing / 2)
        return Row(row) + u"глубина электродов b должна быть не меньше 0 и меньше половины разноса a.";
    if (reading.Resistance && !Positive(reading.Resistance))
        return Row(row) + u"сопротивление R должно быть числом больше 0.";
    if (!reading.Resistance && reading.Apparent && !Positive(reading.Apparent))
        return Row(row) + u"кажущееся сопротивление ρa должно быть числом больше 0.";
    if (!reading.Resistance && !reading.Apparent)
        return Row(row) + u"нужно сопротивление R или кажущееся сопротивление ρa.";
    const double measured = Measured(reading);
    if (!(measured >= MinApparent && measured <= MaxApparent))
        return Row(row) + u"кажущееся сопротивление ρa = " + FormatPlain(measured, u',') +
               u" Ом∙м вне пределов от 0,001 до 10000000 Ом∙м.";
    return {};
}

TSurveyFit FitSurvey(const std::vector<TSurveyReading>& readings) {
    TSurveyFit fit;
    if (readings.size() > MaxSurveyReadings) {
        fit.Error = u"Слишком много показаний: больше 1000.";
        return fit;
    }
    std::vector<TPoint> points;
    for (size_t i = 0; i < readings.size(); ++i) {
        fit.Error = SurveyReadingError(readings[i], i + 1);
        if (!fit.Error.empty()) {
            fit.Measured.clear();
            return fit;
        }
        fit.Measured.push_back(Measured(readings[i]));
        if (readings[i].Kept)
            points.push_back({readings[i].Spacing, fit.Measured.back()});
    }
    if (points.empty()) {
        fit.Error = readings.empty() ? u"Нет ни одного показания." : u"Все показания исключены из подбора.";
        fit.Measured.clear();
        return fit;
    }

    // Uniform soil: the ρ that minimises Σ(ρ/mᵢ − 1)² is Σ(1/mᵢ) / Σ(1/mᵢ²).
    double inverse = 0, inverseSquare = 0;
    for (const TPoint& point : points) {
        inverse += 1 / point.Measured;
        inverseSquare += 1 / (point.Measured * point.Measured);
    }
    TSurveyModel uniform;
    uniform.Rho1 = uniform.Rho2 = inverse / inverseSquare;
    uniform.Rms = Rms(uniform, points);
    fit.Uniform = uniform;

    if (points.size() < 3) {
        fit.TwoLayerNote = u"Для двух пластов нужно не меньше трёх учтённых показаний.";
        return fit;
    }
    const TSurveyModel twoLayer = FitTwoLayers(points);
    // An h that the readings hardly feel is no result: the model would look the same with another.
    if (ThicknessSensitivity(twoLayer, points) < std::max(0.02, twoLayer.Rms)) {
        fit.TwoLayerNote = u"Толщину верхнего пласта по этим показаниям не определить: с другой толщиной "
                           u"кривая почти та же. Нужны разносы, сравнимые с толщиной пласта и больше неё.";
        return fit;
    }
    fit.TwoLayer = twoLayer;
    return fit;
}

std::u16string SurveySoilText(double rho, char16_t userSeparator, char16_t systemSeparator) {
    std::u16string number;
    if (rho < 9.95) {
        // Two significant digits.
        const double scale = std::pow(10.0, 1 - std::floor(std::log10(rho)));
        number = FormatPlain(std::round(rho * scale) / scale, userSeparator);
        const std::optional<double> back =
            ParseResistivity(ExtractResistivityText(u"(" + number + u")", systemSeparator), userSeparator);
        if (!back || *back <= 0)
            number = FormatWhole(std::max(1.0, std::round(rho)), userSeparator);
    } else {
        number = FormatWhole(rho, userSeparator);
    }
    return u"По изысканиям (" + number + u")";
}

TSurveyTableText ReadSurveyTable(std::u16string_view text) {
    TSurveyTableText result;
    if (text.size() > 1000000) {
        result.Error = u"Текст слишком велик: в таблице не больше 1000 показаний.";
        return result;
    }
    if (!text.empty() && text.front() == u'\uFEFF')
        text.remove_prefix(1);
    char16_t delimiter = u',';
    if (text.find(u'\t') != std::u16string_view::npos)
        delimiter = u'\t';
    else if (text.find(u';') != std::u16string_view::npos)
        delimiter = u';';

    size_t lineNumber = 0, position = 0;
    bool first = true;
    while (position < text.size()) {
        size_t end = text.find_first_of(u"\r\n", position);
        if (end == std::u16string_view::npos)
            end = text.size();
        const std::u16string_view line = text.substr(position, end - position);
        position = end + (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);
        ++lineNumber;
        if (Trim(line).empty())
            continue;

        std::vector<std::u16string> cells;
        for (size_t from = 0;;) {
            const size_t to = line.find(delimiter, from);
            cells.push_back(Trim(line.substr(from, to == std::u16string_view::npos ? line.npos : to - from)));
            if (to == std::u16string_view::npos)
                break;
            from = to + 1;
        }
        while (cells.size() > 2 && cells.back().empty())
            cells.pop_back();
        const std::u16string where = u"Строка " + FormatPlain(static_cast<double>(lineNumber), u',');
        if (first && !ParseCell(cells[0])) {
            first = false;
            continue; // a heading
        }
        first = false;
        if (cells.size() < 2 || cells.size() > 5) {
            result.Error = where + u": нужно от 2 до 5 столбцов (a, b, R, ρa, учитывать), а их " +
                           FormatPlain(static_cast<double>(cells.size()), u',') + u".";
            result.Readings.clear();
            return result;
        }
        if (result.Readings.size() == MaxSurveyReadings) {
            result.Error = u"Слишком много показаний: больше 1000.";
            result.Readings.clear();
            return result;
        }
        // Which reading field each column fills: two columns are a and R.
        const std::array<int, 5> columns =
            cells.size() == 2 ? std::array<int, 5>{0, 2} : std::array{0, 1, 2, 3, 4};
        TSurveyReading reading;
        for (size_t i = 0; i < cells.size(); ++i) {
            const int column = columns[i];
            const std::u16string& cell = cells[i];
            if (column == 4) {
                const std::u16string word = Lower(cell);
                if (word == u"0" || word == u"нет" || word == u"-")
                    reading.Kept = false;
                else if (!(word.empty() || word == u"1" || word == u"да" || word == u"+")) {
                    result.Error = where + u", столбец «учитывать»: «" + cell + u"» — не «да» и не «нет».";
                    result.Readings.clear();
                    return result;
                }
                continue;
            }
            result.Error = ReadSurveyCell(cell, column, lineNumber, reading);
            if (!result.Error.empty()) {
                result.Readings.clear();
                return result;
            }
        }
        result.Readings.push_back(reading);
    }
    return result;
}

std::u16string ReadSurveyCell(std::u16string_view text, int column, size_t row, TSurveyReading& reading) {
    const std::u16string cell = Trim(text);
    if (cell.empty() && column != 0)
        return {};
    const std::optional<double> value = ParseCell(cell);
    if (!value)
        return u"Строка " + FormatPlain(static_cast<double>(row), u',') + u", столбец «" +
               ColumnNames[column] + u"»: «" + (cell.size() > 40 ? cell.substr(0, 40) + u"…" : cell) +
               u"» — не число.";
    if (column == 0)
        reading.Spacing = *value;
    else if (column == 1)
        reading.Depth = *value;
    else if (column == 2)
        reading.Resistance = value;
    else
        reading.Apparent = value;
    return {};
}

std::u16string WriteSurveyTable(const std::vector<TSurveyReading>& readings, char16_t separator) {
    std::u16string text = u"a, м;b, м;R, Ом;ρa, Ом∙м;учитывать\r\n";
    for (const TSurveyReading& reading : readings) {
        text += FormatPlain(reading.Spacing, separator) + u';' + FormatPlain(reading.Depth, separator) + u';';
        if (reading.Resistance)
            text += FormatPlain(*reading.Resistance, separator);
        text += u';';
        if (reading.Apparent)
            text += FormatPlain(*reading.Apparent, separator);
        text += reading.Kept ? u";да\r\n" : u";нет\r\n";
    }
    return text;
}

namespace {

double ThreeDigits(double x) {
    if (!(x > 0) || !std::isfinite(x))
        return x;
    const double scale = std::pow(10.0, 2 - std::floor(std::log10(x)));
    return std::round(x * scale) / scale;
}

} // namespace

std::u16string SurveyModelText(const TSurveyModel& model, char16_t separator) {
    if (!model.TwoLayers)
        return u"ρ = " + FormatPlain(ThreeDigits(model.Rho1), separator) + u" Ом∙м";
    return u"ρ1 = " + FormatPlain(ThreeDigits(model.Rho1), separator) + u" Ом∙м, ρ2 = " +
           FormatPlain(ThreeDigits(model.Rho2), separator) + u" Ом∙м, h = " +
           FormatPlain(std::round(model.Thickness * 100) / 100, separator) + u" м";
}

std::u16string SurveyPercent(double fraction, char16_t separator) {
    return FormatTenths(fraction * 100, separator) + u" %";
}
