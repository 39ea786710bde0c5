#include "fit_chart.h"

#include "shown_numbers.h"
#include "user_locale.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// One colour a spacing multiple, distinct in print and for the common forms of colour blindness.
const QColor MultipleColours[4] = {QColor(0x00, 0x72, 0xB2), QColor(0xD5, 0x5E, 0x00),
                                   QColor(0x00, 0x9E, 0x73), QColor(0xCC, 0x79, 0xA7)};
const QColor RequirementColour(0xC0, 0x00, 0x00);

// A round step for about `parts` divisions of `span`: 1, 2 or 5 times a power of ten.
double NiceStep(double span, int parts) {
    const double raw = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= factor * power)
            return factor * power;
    }
    return 10 * power;
}

} // namespace

TFitChartAxis FitChartAxis(const TFitChartData& data) {
    double highest = 0, lowest = INFINITY;
    for (const TTotalsByCount& totals : data.Totals)
        for (const std::optional<double>& total : totals)
            if (total && std::isfinite(*total)) {
                highest = std::max(highest, *total);
                lowest = std::min(lowest, *total);
            }
    double top = highest;
    bool cut = false;
    if (data.Required > 0 && std::isfinite(data.Required)) {
        top = std::max(top, data.Required);
        const double bound = std::max(4 * data.Required, 2 * lowest);
        cut = top > bound;
        top = std::min(top, bound);
    }
    if (!(top > 0))
        return {};
    // About five divisions, and a little room above the highest total unless the lines are cut; a
    // total too large for the arithmetic gives no axis.
    const double step = NiceStep(top, 5);
    const double parts = std::ceil(top * (cut ? 1 : 1.05) / step);
    if (!(parts >= 1 && parts <= 20) || !std::isfinite(parts * step))
        return {};
    return {step, static_cast<int>(parts)};
}

void PaintFitChart(QPainter& painter, const QRectF& area, const TFitChartData& data, char16_t separator) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    const double unit = line / 12; // pen widths follow the text size, on screen and on paper

    const QString title = data.MutualDisposition == 1 ? QStringLiteral("Сопротивление, Ом: электроды в ряд")
                                                      : QStringLiteral("Сопротивление, Ом: замкнутый контур");
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     title);
    const TFitChartAxis axis = FitChartAxis(data);
    if (axis.Ticks == 0) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Нет данных для графика"));
        painter.restore();
        return;
    }
    const double step = axis.Step;
    const int ticks = axis.Ticks;
    const double yMax = axis.Top();

    // The legend: a sample of each line and its text, wrapped to the width, under the axis title.
    struct TLegendItem {
        QString text;
        QPen pen;
        QPointF at;
    };
    QList<TLegendItem> legend;
    for (int32_t multiple = 1; multiple <= 4; ++multiple)
        legend.append(
            {QStringLiteral("кратность ") + QString::number(multiple),
             QPen(MultipleColours[multiple - 1], unit * (multiple == data.CurrentMultiple ? 2.5 : 1.2)),
             {}});
    const bool requirementShown = data.Required > 0 && data.Required <= yMax;
    if (requirementShown)
        legend.append({QStringLiteral("норма ") + PlainText(data.Required, separator) + OhmSuffix(),
                       QPen(RequirementColour, unit * 1.5, Qt::DashLine),
                       {}});
    const double labelWidth = metrics.horizontalAdvance(PlainText(yMax, separator)) + line / 2;
    double legendX = area.left() + labelWidth, legendRow = 0;
    for (TLegendItem& item : legend) {
        const double width = line * 1.5 + metrics.horizontalAdvance(item.text) + line;
        if (legendX + width > area.right() && legendX > area.left() + labelWidth) {
            legendX = area.left() + labelWidth;
            legendRow += 1;
        }
        item.at = QPointF(legendX, legendRow * line * 1.1);
        legendX += width;
    }
    const double legendHeight = (legendRow + 1) * line * 1.1;

    const QRectF plot(area.left() + labelWidth, area.top() + line * 1.5, area.width() - labelWidth - line / 2,
                      area.height() - line * 4.2 - legendHeight);
    const auto x = [&](double count) { return plot.left() + (count - 1) / 19 * plot.width(); };
    const auto y = [&](double ohms) { return plot.bottom() - ohms / yMax * plot.height(); };

    // Grid and axes.
    painter.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), unit));
    for (int tick = 1; tick <= ticks; ++tick)
        painter.drawLine(QPointF(plot.left(), y(tick * step)), QPointF(plot.right(), y(tick * step)));
    painter.setPen(QPen(Qt::black, unit));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    for (int tick = 0; tick <= ticks; ++tick)
        painter.drawText(QRectF(area.left(), y(tick * step) - line / 2, labelWidth - line / 4, line),
                         Qt::AlignRight | Qt::AlignVCenter, PlainText(tick * step, separator));
    for (int count = 1; count <= 20; ++count) {
        painter.drawLine(QPointF(x(count), plot.bottom()), QPointF(x(count), plot.bottom() + line / 4));
        if (count == 1 || count % 2 == 0)
            painter.drawText(QRectF(x(count) - line, plot.bottom() + line / 4, 2 * line, line),
                             Qt::AlignCenter, QString::number(count));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + line * 1.25, plot.width(), line), Qt::AlignCenter,
                     QStringLiteral("Количество электродов, шт."));

    // The requirement.
    if (requirementShown) {
        painter.setPen(QPen(RequirementColour, unit * 1.5, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y(data.Required)), QPointF(plot.right(), y(data.Required)));
    }

    // One line a multiple; a gap where a count gives no total. A line is cut where it leaves the top of
    // the axis, and marked there with a small triangle pointing up; a line wholly above the axis is
    // marked at its lowest total.
    const auto markAbove = [&](double count) {
        const QPointF at(x(count), plot.top());
        const double size = unit * 3.5;
        painter.drawPolygon(QPolygonF(
            {at + QPointF(0, -size), at + QPointF(-size, size * 0.6), at + QPointF(size, size * 0.6)}));
    };
    for (int32_t multiple = 1; multiple <= 4; ++multiple) {
        const TTotalsByCount& totals = data.Totals[multiple - 1];
        const bool current = multiple == data.CurrentMultiple;
        const QColor colour = MultipleColours[multiple - 1];
        painter.setPen(QPen(colour, unit * (current ? 2.5 : 1.2)));
        QPainterPath path;
        QList<double> leaving;
        bool anyShown = false, anyAbove = false;
        int lowestCount = 0;
        double previous = 0; // the value at the count before, while hasPrevious
        bool hasPrevious = false;
        for (int count = 1; count <= 20; ++count) {
            const std::optional<double>& total = totals[count - 1];
            if (!total || !std::isfinite(*total)) {
                hasPrevious = false;
                continue;
            }
            const double value = *total;
            if (!lowestCount || value < *totals[lowestCount - 1])
                lowestCount = count;
            const bool above = value > yMax;
            anyShown = anyShown || !above;
            anyAbove = anyAbove || above;
            if (!hasPrevious) {
                if (!above)
                    path.moveTo(x(count), y(value));
            } else if (previous <= yMax || !above) {
                // The count, between the two, at which the line crosses the top of the axis.
                const double crossing = count - 1 + (yMax - previous) / (value - previous);
                if (previous > yMax) {
                    path.moveTo(x(crossing), plot.top());
                    leaving.append(crossing);
                }
                if (above) {
                    path.lineTo(x(crossing), plot.top());
                    leaving.append(crossing);
                } else {
                    path.lineTo(x(count), y(value));
                }
            }
            previous = value;
            hasPrevious = true;
        }
        painter.drawPath(path);
        painter.setBrush(colour);
        painter.setPen(QPen(colour, unit));
        if (anyAbove && !anyShown)
            leaving.append(lowestCount);
        for (double count : leaving)
            markAbove(count);
        painter.setPen(QPen(colour, unit * (current ? 2.5 : 1.2)));
        if (current && data.MarkedCount && *data.MarkedCount >= 1 && *data.MarkedCount <= 20) {
            const std::optional<double>& total = totals[*data.MarkedCount - 1];
            if (total && std::isfinite(*total) && *total <= yMax)
                painter.drawEllipse(QPointF(x(*data.MarkedCount), y(*total)), unit * 4, unit * 4);
        }
        painter.setBrush(Qt::NoBrush);
    }

    // Legend under the axis title.
    const double legendTop = plot.bottom() + line * 2.6;
    for (const TLegendItem& item : legend) {
        const double middle = legendTop + item.at.y() + line / 2;
        painter.setPen(item.pen);
        painter.drawLine(QPointF(item.at.x(), middle), QPointF(item.at.x() + line * 1.2, middle));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(item.at.x() + line * 1.5, legendTop + item.at.y(),
                                metrics.horizontalAdvance(item.text) + line, line),
                         Qt::AlignLeft | Qt::AlignVCenter, item.text);
    }
    painter.restore();
}

TFitChart::TFitChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FitChart"));
    setMinimumSize(300, 220);
}

void TFitChart::SetData(const TFitChartData& data) {
    data_ = data;
    update();
}

void TFitChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintFitChart(painter, QRectF(rect()).adjusted(6, 6, -6, -6), data_, UserDecimalSeparator());
}

namespace {

// A log axis over whole decades around [low, high].
struct TLogAxis {
    double From = 0, To = 1; // decade exponents
    explicit TLogAxis(double low, double high)
        : From(std::floor(std::log10(low))), To(std::ceil(std::log10(high))) {
        if (To <= From)
            To = From + 1;
    }
    double Fraction(double x) const { return (std::log10(x) - From) / (To - From); }
};

} // namespace

void PaintSurveyChart(QPainter& painter, const QRectF& area, const TSurveyChartData& data,
                      char16_t separator) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    const double unit = line / 12;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Кажущееся сопротивление ρa, Ом∙м"));
    double lowA = INFINITY, highA = 0, lowRho = INFINITY, highRho = 0;
    for (size_t i = 0; i < data.Spacings.size() && i < data.Measured.size(); ++i) {
        lowA = std::min(lowA, data.Spacings[i]);
        highA = std::max(highA, data.Spacings[i]);
        lowRho = std::min(lowRho, data.Measured[i]);
        highRho = std::max(highRho, data.Measured[i]);
    }
    if (!(lowA > 0 && lowRho > 0 && std::isfinite(highA) && std::isfinite(highRho))) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Нет данных для графика"));
        painter.restore();
        return;
    }
    // The curves between the nearest and the farthest spacing; the value axis holds them too.
    constexpr int steps = 80;
    const auto curve = [&](const std::optional<TSurveyModel>& model) {
        std::vector<QPointF> points;
        if (!model)
            return points;
        for (int i = 0; i <= steps; ++i) {
            const double a = lowA * std::pow(highA / lowA, static_cast<double>(i) / steps);
            const double rho = model->At(a);
            if (std::isfinite(rho) && rho > 0) {
                points.emplace_back(a, rho);
                lowRho = std::min(lowRho, rho);
                highRho = std::max(highRho, rho);
            }
        }
        return points;
    };
    const std::vector<QPointF> uniform = curve(data.Uniform), twoLayer = curve(data.TwoLayer);
    const TLogAxis xAxis(lowA, highA), yAxis(lowRho, highRho);

    const double labelWidth =
        metrics.horizontalAdvance(PlainText(std::pow(10.0, yAxis.To), separator)) + line / 2;
    const QRectF plot(area.left() + labelWidth, area.top() + line * 1.5, area.width() - labelWidth - line,
                      area.height() - line * 5.4);
    const auto at = [&](double a, double rho) {
        return QPointF(plot.left() + xAxis.Fraction(a) * plot.width(),
                       plot.bottom() - yAxis.Fraction(rho) * plot.height());
    };

    // Grid: every decade labelled, 2 to 9 of each decade as faint lines.
    const QPen faint(QColor(0xE4, 0xE4, 0xE4), unit), grid(QColor(0xC0, 0xC0, 0xC0), unit);
    for (double e = xAxis.From; e < xAxis.To + 0.5; ++e)
        for (int m = 1; m <= (e < xAxis.To ? 9 : 1); ++m) {
            const double x = at(m * std::pow(10.0, e), 1).x();
            painter.setPen(m == 1 ? grid : faint);
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            if (m == 1) {
                painter.setPen(Qt::black);
                painter.drawText(QRectF(x - line * 2, plot.bottom() + line / 4, line * 4, line),
                                 Qt::AlignCenter, PlainText(std::pow(10.0, e), separator));
            }
        }
    for (double e = yAxis.From; e < yAxis.To + 0.5; ++e)
        for (int m = 1; m <= (e < yAxis.To ? 9 : 1); ++m) {
            const double y = at(1, m * std::pow(10.0, e)).y();
            painter.setPen(m == 1 ? grid : faint);
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            if (m == 1) {
                painter.setPen(Qt::black);
                painter.drawText(QRectF(area.left(), y - line / 2, labelWidth - line / 4, line),
                                 Qt::AlignRight | Qt::AlignVCenter, PlainText(std::pow(10.0, e), separator));
            }
        }
    painter.setPen(QPen(Qt::black, unit));
    painter.drawRect(plot);
    painter.drawText(QRectF(plot.left(), plot.bottom() + line * 1.25, plot.width(), line), Qt::AlignCenter,
                     QStringLiteral("Разнос a, м"));

    const auto drawCurve = [&](const std::vector<QPointF>& points, const QPen& pen) {
        QPainterPath path;
        for (size_t i = 0; i < points.size(); ++i) {
            const QPointF p = at(points[i].x(), points[i].y());
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    };
    const QPen uniformPen(MultipleColours[1], unit * 1.8, Qt::DashLine),
        twoLayerPen(MultipleColours[0], unit * 2.2);
    drawCurve(uniform, uniformPen);
    drawCurve(twoLayer, twoLayerPen);
    for (size_t i = 0; i < data.Spacings.size() && i < data.Measured.size(); ++i) {
        const bool kept = i >= data.Kept.size() || data.Kept[i];
        painter.setPen(QPen(kept ? Qt::black : Qt::gray, unit * 1.2));
        painter.setBrush(kept ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
        painter.drawEllipse(at(data.Spacings[i], data.Measured[i]), unit * 3, unit * 3);
    }

    // Legend under the axis title.
    struct TItem {
        QString text;
        QPen pen;
        bool dot;
    };
    QList<TItem> legend = {{QStringLiteral("показания"), QPen(Qt::black, unit), true}};
    if (data.Uniform)
        legend.append({QStringLiteral("однородный грунт"), uniformPen, false});
    if (data.TwoLayer)
        legend.append({QStringLiteral("два пласта"), twoLayerPen, false});
    double x = plot.left();
    const double middle = plot.bottom() + line * 3;
    for (const TItem& item : legend) {
        painter.setPen(item.pen);
        if (item.dot) {
            painter.setBrush(Qt::black);
            painter.drawEllipse(QPointF(x + line * 0.6, middle), unit * 3, unit * 3);
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.drawLine(QPointF(x, middle), QPointF(x + line * 1.2, middle));
        }
        painter.setPen(Qt::black);
        const double width = metrics.horizontalAdvance(item.text) + line;
        painter.drawText(QRectF(x + line * 1.5, middle - line / 2, width, line),
                         Qt::AlignLeft | Qt::AlignVCenter, item.text);
        x += line * 1.5 + width;
    }
    painter.restore();
}

TSurveyChart::TSurveyChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SurveyChart"));
    setMinimumSize(280, 240);
}

void TSurveyChart::SetData(const TSurveyChartData& data) {
    data_ = data;
    update();
}

void TSurveyChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintSurveyChart(painter, QRectF(rect()).adjusted(6, 6, -6, -6), data_, UserDecimalSeparator());
}
