#pragma once

#include "fit.h"
#include "survey.h"

#include <QWidget>
#include <array>
#include <optional>

class QPainter;

// The chart of the fit: the total resistance against the rod count 1..20 for one layout, a line for
// each spacing multiple 1..4, and the requirement as a horizontal line. Drawn with QPainter, so the
// dialog and the calculation document draw the same picture. Its data (TFitChartData) and
// MakeFitChartData come from the core, fit.h.

// The value axis of the chart, from 0 to Top() ohms in Ticks steps of Step; no axis (Ticks 0) when
// there is nothing to draw. Without a requirement it holds every total. With one it ends at four
// times the requirement or twice the lowest total, whichever is higher, so that the requirement and
// the totals near it stay readable when others run to hundreds of ohms; those lines are cut at the
// top of the axis, with a mark where they leave it.
struct TFitChartAxis {
    double Step = 0;
    int Ticks = 0;
    double Top() const { return Step * Ticks; }
};
TFitChartAxis FitChartAxis(const TFitChartData& data);

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

// The chart of a survey, log–log: ρa against the spacing a, the readings as dots (left out: hollow
// grey), the uniform model as a dashed line and the two-layer model as a solid one.
struct TSurveyChartData {
    std::vector<double> Spacings, Measured;
    std::vector<bool> Kept;
    std::optional<TSurveyModel> Uniform, TwoLayer;
};
void PaintSurveyChart(QPainter& painter, const QRectF& area, const TSurveyChartData& data,
                      char16_t separator);

class TSurveyChart : public QWidget {
  public:
    explicit TSurveyChart(QWidget* parent = nullptr);
    void SetData(const TSurveyChartData& data);
    const TSurveyChartData& Data() const { return data_; }
    QSize sizeHint() const override { return {340, 280}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TSurveyChartData data_;
};
