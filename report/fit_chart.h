#pragma once

#include "fit.h"

#include <QWidget>
#include <array>
#include <optional>

class QPainter;

// The chart of the fit: the total resistance against the rod count 1..20 for one layout, a line for
// each spacing multiple 1..4, and the requirement as a horizontal line. Drawn with QPainter, so the
// dialog and the calculation document draw the same picture.
struct TFitChartData {
    int32_t MutualDisposition = 1;
    std::array<TTotalsByCount, 4> Totals{}; // by spacing multiple 1..4
    int32_t CurrentMultiple = 1;            // drawn thicker
    double Required = 0;                    // Ω; no line when not positive
    std::optional<int32_t> MarkedCount;     // a point marked on the current multiple's line
};

TFitChartData MakeFitChartData(const TEarthingInput& input, double required, char16_t userSeparator,
                               char16_t systemSeparator);

// Paints the chart into `area` with the painter's font; numbers with the given decimal separator.
void PaintFitChart(QPainter& painter, const QRectF& area, const TFitChartData& data, char16_t separator);

class TFitChart : public QWidget {
  public:
    explicit TFitChart(QWidget* parent = nullptr);
    void SetData(const TFitChartData& data);
    const TFitChartData& Data() const { return data_; }
    QSize sizeHint() const override { return {340, 260}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TFitChartData data_;
};
