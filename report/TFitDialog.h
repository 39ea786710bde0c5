#pragma once

#include "fit.h"
#include "fit_chart.h"
#include "norm_chooser.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "Подбор": the arrangements that reach the required resistance with the window's current soil,
// region, depth, rod and connector sizes, sorted by the metal they take, and the chart of the total
// against the rod count. "Применить" hands the chosen row to the window and closes the dialog; the
// window sets its controls from it as a user would.
class TFitDialog : public QDialog {
  public:
    using TApply = std::function<void(const TFitRow& row)>;
    TFitDialog(QWidget* parent, const TEarthingInput& input, const TNormChoice& norm, TApply apply);

    TNormChoice Norm() const;
    // What the table shows now: the rows of the fit, or the best arrangement and the same one with the
    // rod length that reaches the requirement.
    const TFit& Fit() const { return fit_; }
    double Required() const { return required_; }

    QRadioButton* NormButton(int index) const; // 0..2: 4, 10, 30 Ом; 3: the typed value
    QDoubleSpinBox* TypedNorm() const;
    QCheckBox* RaisedNorm() const { return raised_; }
    QLabel* Status() const { return status_; }
    QTableWidget* Table() const { return table_; }
    TFitChart* Chart() const { return chart_; }
    QPushButton* ApplyButton() const { return apply_; }

    // What the window manager's frame may take around the dialog, in device-independent pixels.
    static constexpr QSize FrameAllowance{16, 48};
    // The dialog's size on a screen with `available` room: what the table and the chart like, within
    // the room less the frame, yet not below what the layout needs.
    QSize SizeFor(const QSize& available) const;

    // Applies the selected row (if any) and closes the dialog.
    void ApplySelected();

  private:
    void Refit();
    void ShowRows(const std::vector<TFitRow>& rows);
    void SelectionChanged();

    TEarthingInput input_;
    char16_t userSeparator_, systemSeparator_;
    std::optional<double> resistivity_; // ρэ of the current inputs
    TApply applyRow_;
    TFit fit_;
    double required_ = 0;
    std::vector<TFitRow> shown_;

    TNormChooser* normChooser_;
    QCheckBox* raised_;
    QLabel* status_;
    QTableWidget* table_;
    TFitChart* chart_;
    QPushButton* apply_;
};
