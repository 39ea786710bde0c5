#include "earthing_report.h"

#include "fit.h"
#include "fit_chart.h"
#include "shown_numbers.h"
#include "version.h"

#include <QFontDatabase>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

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

QString RegionText(int32_t region) {
    static const QString names[] = {QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III"),
                                    QStringLiteral("IV")};
    return region >= 1 && region <= 4 ? names[region - 1] : QStringLiteral("не учитывается");
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

} // namespace

QString SuggestedReportFileName(const TEarthingReport& report) {
    const TEarthingResult result =
        ComputeEarthing(report.Input, report.UserSeparator, report.SystemSeparator);
    QString name = QStringLiteral("Расчёт заземления ") + report.Date.toString(Qt::ISODate);
    if (HasMeaningfulTotal(result))
        name += u' ' + ToQString(FormatTenths(result.TotalResistance, report.UserSeparator)) + OhmSuffix();
    return name + QStringLiteral(".pdf");
}

bool PaintEarthingReport(QPagedPaintDevice& device, const TEarthingReport& report) {
    const TEarthingInput& in = report.Input;
    const char16_t sep = report.UserSeparator;
    const TEarthingResult r = ComputeEarthing(in, sep, report.SystemSeparator);
    const TEarthingLabels labels = EarthingLabels(in, r, sep);
    const auto shown = [](const std::optional<std::u16string>& text, const QString& unit = QString()) {
        return text ? ToQString(*text) + unit : QStringLiteral("—");
    };
    const auto value = [&](int32_t stage, double x, const QString& unit) {
        return r.Reached(stage) && std::isfinite(x) ? PlainText(x, sep) + unit : QStringLiteral("—");
    };
    const QString metres = QStringLiteral(" м");
    const QString ohms = OhmSuffix();
    const QString ohmMetres = QStringLiteral(" Ом∙м");

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    TReportWriter w(device, painter, ReportFontFamily());

    w.Text(QStringLiteral("Расчёт сопротивления растеканию тока заземлителя"), 15, true);
    w.Text(QStringLiteral("Стелворн v." STELVORN_VERSION ", ") +
               report.Date.toString(QStringLiteral("dd.MM.yyyy")),
           9);

    w.Heading(QStringLiteral("Исходные данные"));
    w.Row(QStringLiteral("Климатический район"), RegionText(in.ClimaticRegion));
    w.Row(QStringLiteral("Верхний пласт грунта"), ToQString(in.TopLayer));
    w.Row(QStringLiteral("Толщина верхнего пласта, h"), PlainText(in.Thickness, sep) + metres);
    w.Row(QStringLiteral("Нижний пласт грунта"), ToQString(in.BottomLayer));
    w.Row(QStringLiteral("Заглубление верхнего конца электродов, t"), PlainText(in.Depth, sep) + metres);
    w.Row(QStringLiteral("Вертикальные электроды"),
          (in.Form == 1 ? QStringLiteral("уголок, ширина стороны ") : QStringLiteral("круг, диаметр ")) +
              QString::number(in.Width) + QStringLiteral(" мм, длина l = ") + PlainText(in.Length, sep) +
              metres);
    w.Row(QStringLiteral("Расположение электродов"),
          (in.MutualDisposition == 1 ? QStringLiteral("в ряд") : QStringLiteral("замкнутым контуром")) +
              QStringLiteral(", количество n = ") + QString::number(in.Number) +
              QStringLiteral(" шт., кратность расстояния a = ") + QString::number(in.IntervalMultiplicity));
    w.Row(QStringLiteral("Горизонтальный соединитель"),
          (in.FormHor == 1   ? QStringLiteral("полоса, ширина ")
           : in.FormHor == 3 ? QStringLiteral("круг, диаметр ")
                             : QStringLiteral("уголок, ширина стороны ")) +
              QString::number(in.WidthHor) + QStringLiteral(" мм"));

    w.Heading(QStringLiteral("Результаты расчёта"));
    w.Row(QStringLiteral("Климатические коэффициенты Kв и Kг"), value(1, r.RodClimateFactor, QString()) +
                                                                    QStringLiteral(" и ") +
                                                                    value(1, r.ConnectorClimateFactor, {}));
    w.Row(QStringLiteral("Удельное сопротивление пластов, ρ1 и ρ2"),
          value(2, r.UpperResistivity, ohmMetres) + QStringLiteral(" и ") +
              value(3, r.LowerResistivity, ohmMetres));
    w.Row(QStringLiteral("Эквивалентное удельное сопротивление, ρэ"), shown(labels.sLabel21, ohmMetres));
    w.Row(QStringLiteral("С учётом климатического района, ρв = Kв·ρэ"), shown(labels.sLabel25, ohmMetres));
    w.Row(QStringLiteral("Диаметр (эквивалентный) электрода, d"), value(8, r.RodDiameter, metres));
    w.Row(QStringLiteral("Сопротивление одного электрода, Rв"), shown(labels.sLabel18, ohms));
    w.Row(QStringLiteral("Расстояние между электродами, a·l"), value(11, r.Interval, metres));
    w.Row(QStringLiteral("Коэффициенты использования, ηв и ηг"),
          shown(labels.sLabel35) + QStringLiteral(" и ") + shown(labels.sLabel38));
    w.Row(QStringLiteral("Длина соединителя, L"), shown(labels.sLabel30, metres));
    w.Row(QStringLiteral("Удельное сопротивление грунта у соединителя, ρг"),
          value(10, r.ConnectorResistivity, ohmMetres));
    w.Row(QStringLiteral("Сопротивление соединителя, Rг"), labels.sLabel28 && *labels.sLabel28 == u"∞"
                                                               ? QStringLiteral("нет соединителя")
                                                               : shown(labels.sLabel28, ohms));
    w.Row(QStringLiteral("Общее сопротивление растеканию, R"), ToQString(*labels.sLabel39), true);
    if (!HasMeaningfulTotal(r))
        w.Text(QStringLiteral("Сопротивление не вычислено: ") + ToQString(StopStageReason(r.StopStage)), 9);

    w.Heading(QStringLiteral("Формулы"));
    QList<QImage> formulas;
    for (const char* name : {"ФОРМУЛА0", "ФОРМУЛА1", in.FormHor == 1 ? "ФОРМУЛА2" : "ФОРМУЛА3", "ФОРМУЛА4"}) {
        const QImage image(QStringLiteral(":/RT_RCDATA/") + QString::fromUtf8(name));
        if (!image.isNull())
            formulas.append(image);
    }
    w.Pictures(formulas, 0.8);
    w.Text(QStringLiteral("Для уголка d = 0,95·b; ρ в формулах — ρв для электродов и Kг·ρг для соединителя."),
           8);

    w.Heading(QStringLiteral("Заключение"));
    const std::optional<double> rho = NormResistivity(r);
    const bool raisable = rho && *rho > 100;
    QList<double> norms = {30, 10, 4};
    if (!norms.contains(report.Norm.Norm))
        norms.append(report.Norm.Norm);
    const auto verdict = [&](double norm) {
        return (MeetsNorm(r, norm) ? QStringLiteral("соответствует ") : QStringLiteral("не соответствует ")) +
               PlainText(norm, sep) + ohms;
    };
    if (raisable)
        w.Text(
            QStringLiteral("ρэ = ") + ToQString(FormatWhole(*rho, sep)) + ohmMetres +
                QStringLiteral(", выше 100 Ом∙м: норму можно повысить, умножив на 0,01·ρэ, но не более чем в "
                               "10 раз."),
            9);
    for (double norm : norms) {
        const bool chosen = norm == report.Norm.Norm;
        const QString what = norm == 30 ? QStringLiteral(" — одно повторное заземление")
                             : norm == 10 ? QStringLiteral(" — все повторные заземления линии вместе")
                             : norm == 4 ? QStringLiteral(" — заземление нейтрали трансформатора")
                                         : QStringLiteral(" — заданная норма");
        const bool plainChosen = chosen && !(report.Norm.Raised && raisable);
        w.Row(QStringLiteral("Норма ") + PlainText(norm, sep) + ohms + what +
                  (plainChosen ? QStringLiteral(" (выбрана)") : QString()),
              verdict(norm), plainChosen);
        if (raisable) {
            const double raised = RaisedNorm(norm, *rho);
            const bool raisedChosen = chosen && report.Norm.Raised;
            w.Row(QStringLiteral("Норма ") + PlainText(norm, sep) + QStringLiteral(" Ом, повышенная до ") +
                      PlainText(raised, sep) + ohms +
                      (raisedChosen ? QStringLiteral(" (выбрана)") : QString()),
                  verdict(raised), raisedChosen);
        }
    }

    // The chart takes what is left of the page, within bounds; too little left starts a new page.
    const double least = w.Millimetre() * 55, most = w.Millimetre() * 90;
    const double left = w.Remaining() - w.Line() * 2.5;
    const double chartHeight = left >= least ? std::min(left, most) : most;
    w.Heading(QStringLiteral("Сопротивление в зависимости от количества электродов"), chartHeight);
    const double chosenNorm =
        report.Norm.Raised && raisable ? RaisedNorm(report.Norm.Norm, *rho) : report.Norm.Norm;
    TFitChartData chart = MakeFitChartData(in, chosenNorm, sep, report.SystemSeparator);
    chart.MarkedCount = in.Number;
    w.Chart(chart, sep, chartHeight);
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
