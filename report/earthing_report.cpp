#include "earthing_report.h"

#include "fit_chart.h"
#include "qt_text.h"
#include "report.h"
#include "version.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <algorithm>

namespace {

// Tahoma when the program registered it, else a serif face with Cyrillic letters.
QString ReportFontFamily() {
    const QStringList families = QFontDatabase::families();
    for (const QString& family : {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Serif"),
                                  QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Sans")})
        if (families.contains(family))
            return family;
    return QString();
}

bool IsDigits(const std::u16string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Typesets a formula of the core: text on the base line, subscripts lowered in a smaller size,
// fractions with a bar at the height of the minus sign, a logarithm's argument in brackets as tall as
// it is. One routine measures and, when asked, paints, so that both always agree.
class TFormulaSetter {
  public:
    struct TBox {
        double Width = 0, Ascent = 0, Descent = 0;
    };

    TFormulaSetter(QPainter& painter, QPaintDevice& device, const QString& family, double points)
        : painter_(painter), device_(device), family_(family), points_(points) {}

    TBox Measure(const TFormula& formula) { return Lay(formula, points_, QPointF(), false); }
    void Paint(const TFormula& formula, QPointF baseline) { Lay(formula, points_, baseline, true); }

  private:
    QFont Font(double points) const {
        QFont font(family_);
        font.setPointSizeF(points);
        return font;
    }

    TBox Lay(const TFormula& formula, double points, QPointF at, bool paint) {
        TBox all;
        for (const TFormulaPart& part : formula) {
            const TBox box = LayPart(part, points, QPointF(at.x() + all.Width, at.y()), paint);
            all.Width += box.Width;
            all.Ascent = std::max(all.Ascent, box.Ascent);
            all.Descent = std::max(all.Descent, box.Descent);
        }
        return all;
    }

    TBox LayText(const QString& text, double points, QPointF at, bool paint, double lower = 0) {
        const QFont font = Font(points);
        const QFontMetricsF metrics(font, &device_);
        if (paint) {
            painter_.setFont(font);
            painter_.drawText(QPointF(at.x(), at.y() + lower), text);
        }
        return {metrics.horizontalAdvance(text), metrics.ascent() - lower, metrics.descent() + lower};
    }

    // A bracket from `top` to `bottom` spanning x … x + width: the left or right half of an oval.
    void Bracket(double x, double top, double bottom, double width, bool left) {
        QPainterPath path;
        const QRectF oval(left ? x : x - width, top, width * 2, bottom - top);
        path.arcMoveTo(oval, 90);
        path.arcTo(oval, 90, left ? 180 : -180);
        painter_.setPen(QPen(Qt::black, Points(0.6)));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(path);
    }

    double Points(double points) const { return points * device_.logicalDpiY() / 72.0; }

    // What `inside` holds between brackets as tall as it is, at least as tall as a line of text.
    TBox LayBrackets(const TFormula& inside, double points, QPointF at, bool paint) {
        const QFontMetricsF metrics(Font(points), &device_);
        const TBox box = Lay(inside, points, QPointF(), false);
        const double bracket = Points(points * 0.3), space = Points(points * 0.08);
        // A little beyond what they hold, so that brackets around brackets stand taller.
        const double over = Points(points * 0.05);
        const double top = at.y() - std::max(box.Ascent + over, metrics.ascent() * 0.85);
        const double bottom = at.y() + std::max(box.Descent + over, metrics.descent());
        const double x = at.x() + space; // the left bracket spans x … x + bracket
        if (paint) {
            Bracket(x, top, bottom, bracket, true);
            Lay(inside, points, QPointF(x + bracket + space, at.y()), true);
            Bracket(x + bracket + 2 * space + box.Width, top, bottom, bracket, false);
        }
        return {box.Width + 2 * bracket + 4 * space, at.y() - top, bottom - at.y()};
    }

    TBox LayPart(const TFormulaPart& part, double points, QPointF at, bool paint) {
        const QFontMetricsF metrics(Font(points), &device_);
        const double axis = metrics.xHeight() * 0.5; // the height of a minus sign's bar
        switch (part.Kind) {
        case TFormulaPart::TKind::Text:
            return LayText(ToQString(part.Text), points, at, paint);
        case TFormulaPart::TKind::Subscript:
            // Digits as the font's own subscript digits (t₀), which also read back as such.
            return IsDigits(part.Text)
                       ? LayText(ToQString(FormulaText({part})), points, at, paint)
                       : LayText(ToQString(part.Text), points * 0.72, at, paint, metrics.ascent() * 0.22);
        case TFormulaPart::TKind::Fraction: {
            const double inner = points * 0.88, gap = Points(points * 0.12), pad = Points(points * 0.15);
            const TBox upper = Lay(part.Upper, inner, QPointF(), false);
            const TBox lower = Lay(part.Lower, inner, QPointF(), false);
            const double width = std::max(upper.Width, lower.Width) + 2 * pad;
            const double bar = at.y() - axis;
            if (paint) {
                Lay(part.Upper, inner, QPointF(at.x() + (width - upper.Width) / 2, bar - gap - upper.Descent),
                    true);
                Lay(part.Lower, inner, QPointF(at.x() + (width - lower.Width) / 2, bar + gap + lower.Ascent),
                    true);
                painter_.setPen(QPen(Qt::black, Points(0.5)));
                painter_.drawLine(QPointF(at.x() + pad * 0.5, bar), QPointF(at.x() + width - pad * 0.5, bar));
            }
            return {width, axis + gap + upper.Ascent + upper.Descent,
                    gap + lower.Ascent + lower.Descent - axis};
        }
        case TFormulaPart::TKind::Brackets:
            return LayBrackets(part.Upper, points, at, paint);
        case TFormulaPart::TKind::Lg: {
            const TBox name = LayText(QStringLiteral("lg"), points, at, paint);
            const TBox argument =
                LayBrackets(part.Upper, points, QPointF(at.x() + name.Width, at.y()), paint);
            return {name.Width + argument.Width, std::max(name.Ascent, argument.Ascent),
                    std::max(name.Descent, argument.Descent)};
        }
        }
        return {};
    }

    QPainter& painter_;
    QPaintDevice& device_;
    QString family_;
    double points_;
};

// Symbols with their subscripts as rich text, for a paragraph that wraps.
QString SymbolsHtml(const std::vector<TFormula>& symbols) {
    QStringList entries;
    for (const TFormula& symbol : symbols) {
        QString entry;
        for (const TFormulaPart& part : symbol)
            entry += part.Kind == TFormulaPart::TKind::Subscript && !IsDigits(part.Text)
                         ? QStringLiteral("<sub>") + ToQString(part.Text).toHtmlEscaped() +
                               QStringLiteral("</sub>")
                         : ToQString(FormulaText({part})).toHtmlEscaped();
        entries.append(entry);
    }
    return entries.join(QStringLiteral("; ")) + u'.';
}

// Lays the document out from top to bottom, a new page when the next block does not fit.
class TReportWriter {
  public:
    TReportWriter(QPagedPaintDevice& device, QPainter& painter, const QString& family)
        : device_(device), painter_(painter), family_(family) {
        page_ = QRectF(0, 0, device.width(), device.height());
        SetFont(9);
        y_ = page_.top();
    }

    double Line() const { return QFontMetricsF(painter_.font(), &device_).height() * 1.15; }
    double Width() const { return page_.width(); }
    double Millimetre() const { return device_.logicalDpiY() / 25.4; }

    void SetFont(double points, bool bold = false) {
        QFont font(family_);
        font.setPointSizeF(points);
        font.setBold(bold);
        painter_.setFont(font);
    }

    // Keeps `height` together on one page.
    void Need(double height) {
        if (y_ + height > page_.bottom() && y_ > page_.top()) {
            device_.newPage();
            y_ = page_.top();
        }
    }

    double Remaining() const { return page_.bottom() - y_; }

    void Text(const QString& text, double points, bool bold = false, Qt::Alignment align = Qt::AlignLeft) {
        SetFont(points, bold);
        const QRectF box(page_.left(), y_, page_.width(), 1e6);
        const QRectF used = painter_.boundingRect(box, int(align | Qt::TextWordWrap), text);
        Need(used.height());
        painter_.drawText(QRectF(page_.left(), y_, page_.width(), used.height()),
                          int(align | Qt::TextWordWrap), text);
        y_ += used.height();
        SetFont(9);
    }

    // A heading kept on one page with the first `keepWith` of what follows it.
    void Heading(const QString& text, double keepWith = 0) {
        SetFont(11, true);
        Need(Line() * 2 + (keepWith > 0 ? keepWith : Line()));
        y_ += Line() * 0.3;
        Text(text, 11, true);
        painter_.setPen(QPen(Qt::black, Millimetre() * 0.2));
        painter_.drawLine(QPointF(page_.left(), y_), QPointF(page_.right(), y_));
        y_ += Line() * 0.25;
    }

    // A name on the left, a value on the right; long values wrap within their column.
    void Row(const QString& name, const QString& value, bool bold = false) {
        SetFont(9, bold);
        const double split = page_.width() * 0.52;
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF nameBox(page_.left(), y_, split - Millimetre() * 2, 1e6);
        const QRectF valueBox(page_.left() + split, y_, page_.width() - split, 1e6);
        const double height = std::max(painter_.boundingRect(nameBox, flags, name).height(),
                                       painter_.boundingRect(valueBox, flags, value).height());
        Need(height);
        painter_.drawText(QRectF(page_.left(), y_, split - Millimetre() * 2, height), flags, name);
        painter_.drawText(QRectF(page_.left() + split, y_, page_.width() - split, height), flags, value);
        y_ += height + Line() * 0.1;
        SetFont(9);
    }

    // The formulas, each with its name on the left; in symbols and with the numbers on one line where
    // it fits, else the numbers on a line of their own.
    void Formulas(const std::vector<TReportFormula>& formulas, double points) {
        TFormulaSetter setter(painter_, device_, family_, points);
        const double nameWidth = Width() * 0.2, left = page_.left() + nameWidth, room = page_.right() - left;
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        for (const TReportFormula& formula : formulas) {
            const auto symbols = setter.Measure(formula.Formula), numbers = setter.Measure(formula.Numbers);
            const bool oneLine = symbols.Width + numbers.Width <= room;
            const double lineGap = Millimetre() * 0.5;
            const double height =
                oneLine
                    ? std::max(symbols.Ascent, numbers.Ascent) + std::max(symbols.Descent, numbers.Descent)
                    : symbols.Ascent + symbols.Descent + lineGap + numbers.Ascent + numbers.Descent;
            SetFont(7.5);
            const QRectF nameBox(page_.left(), y_, nameWidth - Millimetre() * 2, 1e6);
            const double nameHeight = painter_.boundingRect(nameBox, flags, ToQString(formula.Name)).height();
            Need(std::max(height, nameHeight));
            const double firstBaseline =
                y_ + (oneLine ? std::max(symbols.Ascent, numbers.Ascent) : symbols.Ascent);
            painter_.drawText(QRectF(page_.left(),
                                     firstBaseline - QFontMetricsF(painter_.font(), &device_).ascent(),
                                     nameBox.width(), nameHeight),
                              flags, ToQString(formula.Name));
            setter.Paint(formula.Formula, QPointF(left, firstBaseline));
            if (oneLine) {
                setter.Paint(formula.Numbers, QPointF(left + symbols.Width, firstBaseline));
            } else {
                const double second = firstBaseline + symbols.Descent + lineGap + numbers.Ascent;
                setter.Paint(formula.Numbers, QPointF(left + Millimetre() * 4, second));
            }
            y_ += std::max(height, nameHeight) + Millimetre() * 0.5;
        }
        SetFont(9);
    }

    // A paragraph of rich text over the width of the page.
    void Html(const QString& html, double points) {
        QTextDocument text;
        text.documentLayout()->setPaintDevice(&device_);
        QFont font(family_);
        font.setPointSizeF(points);
        text.setDefaultFont(font);
        text.setDocumentMargin(0);
        text.setHtml(html);
        text.setTextWidth(page_.width());
        const double height = text.size().height();
        Need(height);
        painter_.save();
        painter_.translate(page_.left(), y_);
        text.drawContents(&painter_);
        painter_.restore();
        y_ += height;
    }

    // A table of text cells, the columns of equal width, the heading row bold.
    void Table(const std::vector<std::u16string>& columns,
               const std::vector<std::vector<std::u16string>>& rows) {
        const double width = page_.width() / std::max<size_t>(columns.size(), 1);
        const auto line = [&](const std::vector<std::u16string>& cells, bool bold) {
            SetFont(8.5, bold);
            Need(Line());
            for (size_t i = 0; i < cells.size() && i < columns.size(); ++i)
                painter_.drawText(QRectF(page_.left() + i * width, y_, width - Millimetre() * 2, Line()),
                                  Qt::AlignRight | Qt::AlignVCenter, ToQString(cells[i]));
            y_ += Line();
        };
        line(columns, true);
        for (const std::vector<std::u16string>& row : rows)
            line(row, false);
        y_ += Line() * 0.3;
        SetFont(9);
    }

    // The variants side by side: the rows' names on the left, a column a variant, the texts wrapped
    // within their cells, the best values bold, a thin rule under each row.
    void Variants(const TVariantsTable& table) {
        const double points = 8, gap = Millimetre() * 1.5;
        const size_t count = std::max<size_t>(table.Columns.size(), 1);
        const double nameWidth = page_.width() * (count > 4 ? 0.24 : 0.3);
        const double width = (page_.width() - nameWidth) / static_cast<double>(count);
        const int flags = Qt::AlignTop | Qt::TextWordWrap;
        const auto line = [&](const std::u16string& name, const std::vector<std::u16string>& cells,
                              const std::vector<bool>& best, bool boldAll) {
            const auto box = [&](size_t i) {
                return i == 0 ? QRectF(page_.left(), y_, nameWidth - gap, 1e6)
                              : QRectF(page_.left() + nameWidth + (i - 1) * width, y_, width - gap, 1e6);
            };
            const auto textAt = [&](size_t i) { return ToQString(i == 0 ? name : cells[i - 1]); };
            const auto boldAt = [&](size_t i) {
                return boldAll || (i > 0 && i - 1 < best.size() && best[i - 1]);
            };
            double height = 0;
            for (size_t i = 0; i <= cells.size(); ++i) {
                SetFont(points, boldAt(i));
                height = std::max(height, painter_.boundingRect(box(i), flags, textAt(i)).height());
            }
            Need(height + Millimetre());
            for (size_t i = 0; i <= cells.size(); ++i) {
                SetFont(points, boldAt(i));
                QRectF cell = box(i);
                cell.moveTop(y_);
                cell.setHeight(height);
                painter_.drawText(cell, int(flags | (i == 0 ? Qt::AlignLeft : Qt::AlignHCenter)), textAt(i));
            }
            y_ += height + Millimetre() * 0.4;
            painter_.setPen(QPen(Qt::gray, Millimetre() * 0.1));
            painter_.drawLine(QPointF(page_.left(), y_), QPointF(page_.right(), y_));
            painter_.setPen(Qt::black);
            y_ += Millimetre() * 0.6;
        };
        line(u"", table.Columns, {}, true);
        for (const TVariantsRow& row : table.Rows)
            line(row.Name, row.Cells, row.Best, false);
        SetFont(9);
    }

    void Chart(const TFitChartData& data, char16_t separator, double height) {
        SetFont(8);
        Need(height);
        PaintFitChart(painter_, QRectF(page_.left(), y_, page_.width(), height), data, separator);
        y_ += height;
        SetFont(9);
    }

  private:
    QPagedPaintDevice& device_;
    QPainter& painter_;
    QString family_;
    QRectF page_;
    double y_ = 0;
};

TReport BuildDocument(const TEarthingReport& report) {
    return BuildEarthingReport(report.Input, report.Norm, report.UserSeparator, report.SystemSeparator,
                               report.Variants);
}

} // namespace

QString SuggestedReportFileName(const TEarthingReport& report) {
    const TReport document = BuildDocument(report);
    QString name = QStringLiteral("Расчёт заземления ") + report.Date.toString(Qt::ISODate);
    if (!document.Total.empty())
        name += u' ' + ToQString(document.Total);
    return name + QStringLiteral(".pdf");
}

bool PaintEarthingReport(QPagedPaintDevice& device, const TEarthingReport& report) {
    const TReport document = BuildDocument(report);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    TReportWriter w(device, painter, ReportFontFamily());
    const auto rows = [&w](const std::vector<TReportRow>& lines) {
        for (const TReportRow& row : lines)
            w.Row(ToQString(row.Name), ToQString(row.Text), row.Bold);
    };

    w.Text(ToQString(document.Title), 15, true);
    w.Text(QStringLiteral("Стелворн v." STELVORN_VERSION ", ") +
               report.Date.toString(QStringLiteral("dd.MM.yyyy")),
           9);

    w.Heading(ToQString(document.InputsHeading));
    rows(document.Inputs);

    if (report.Survey)
        if (const std::optional<TReportSurvey> survey =
                BuildSurveySection(*report.Survey, report.UserSeparator)) {
            w.Heading(ToQString(survey->Heading), w.Line() * 3);
            w.Table(survey->Columns, survey->Rows);
            w.Row(ToQString(survey->Model), ToQString(survey->Rms), true);
        }

    w.Heading(ToQString(document.ResultsHeading));
    rows(document.Results);
    if (!document.StopReason.empty())
        w.Text(ToQString(document.StopReason), 9);

    w.Heading(ToQString(document.FormulasHeading));
    w.Formulas(document.Formulas, 9);
    w.Html(SymbolsHtml(document.Symbols), 7.5);

    w.Heading(ToQString(document.ConclusionHeading));
    if (!document.RaisedNote.empty())
        w.Text(ToQString(document.RaisedNote), 9);
    rows(document.Verdicts);

    // The chart takes what is left of the page, within bounds; too little left starts a new page.
    const double least = w.Millimetre() * 55, most = w.Millimetre() * 90;
    const double left = w.Remaining() - w.Line() * 2.5;
    const double chartHeight = left >= least ? std::min(left, most) : most;
    w.Heading(ToQString(document.ChartHeading), chartHeight);
    w.Chart(document.Chart, report.UserSeparator, chartHeight);

    if (document.Variants) {
        w.Heading(ToQString(document.VariantsHeading), w.Line() * 4);
        w.Variants(*document.Variants);
        w.Text(ToQString(document.Variants->Note) +
                   QStringLiteral(" Лучшее значение каждой строки результатов выделено жирным."),
               7.5);
    }
    return painter.end();
}

QString WriteEarthingReportPdf(const QString& path, const TEarthingReport& report) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    bool painted = false;
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
        pdf.setResolution(300);
        pdf.setTitle(QStringLiteral("Расчёт сопротивления заземлителя"));
        pdf.setCreator(QStringLiteral("Стелворн v." STELVORN_VERSION));
        painted = PaintEarthingReport(pdf, report);
    }
    if (!painted || file.error() != QFileDevice::NoError) {
        const QString error = painted ? file.errorString() : QStringLiteral("документ не удалось построить.");
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}
