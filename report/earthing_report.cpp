#include "earthing_report.h"

#include "fit_chart.h"
#include "qt_text.h"
#include "report.h"
#include "version.h"

#include <QFontDatabase>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
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

    // Pictures side by side at the given scale of their size at 96 pixels an inch.
    void Pictures(const QList<QImage>& images, double scale) {
        const double pixel = device_.logicalDpiX() / 96.0 * scale;
        double x = page_.left(), rowHeight = 0;
        for (const QImage& image : images) {
            const QSizeF size(image.width() * pixel, image.height() * pixel);
            if (x > page_.left() && x + size.width() > page_.right()) {
                y_ += rowHeight;
                x = page_.left();
                rowHeight = 0;
            }
            Need(size.height());
            painter_.drawImage(QRectF(QPointF(x, y_), size), image);
            x += size.width() + Millimetre() * 4;
            rowHeight = std::max(rowHeight, size.height());
        }
        y_ += rowHeight;
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
    return BuildEarthingReport(report.Input, report.Norm, report.UserSeparator, report.SystemSeparator);
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
    QList<QImage> formulas;
    for (const std::u16string& name : document.FormulaPictures) {
        const QImage image(QStringLiteral(":/RT_RCDATA/") + ToQString(name));
        if (!image.isNull())
            formulas.append(image);
    }
    w.Pictures(formulas, 0.8);
    w.Text(ToQString(document.FormulasNote), 8);

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
