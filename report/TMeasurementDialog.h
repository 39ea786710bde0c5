#pragma once

#include "measurement.h"
#include "norm_chooser.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "Замер": the measured total of the arrangement the window describes, as built, corrects the soil
// of both layers by one factor k; from there, the arrangements that reach the norm and keep the rods
// already driven (more rods in the same layout, longer rods), by the metal they add. "Применить"
// hands the corrected soil texts and the chosen row to the window and closes the dialog.
class TMeasurementDialog : public QDialog {
  public:
    using TApply = std::function<void(const TSoilCorrection& correction, const TFitRow* row)>;
    TMeasurementDialog(QWidget* parent, const TEarthingInput& built, double norm, TApply apply);

    double Norm() const { return norm_->Norm(); }
    // What the dialog shows now.
    const TSoilCorrection& Correction() const { return correction_; }
    const TKeptRodsFit& Fit() const { return fit_; }

    QLineEdit* Measured() const { return measured_; }
    QRadioButton* StateButton(TSoilState state) const;
    TNormChooser* NormChooser() const { return norm_; }
    QLabel* Status() const { return status_; }
    QTableWidget* Table() const { return table_; }
    QPushButton* ApplyButton() const { return apply_; }

    // Applies the corrected soil and the selected row (if any) and closes the dialog; does nothing
    // while the measurement gives no correction.
    void ApplySelected();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Recompute();
    void SelectionChanged();

    TEarthingInput built_;
    char16_t userSeparator_, systemSeparator_;
    TApply applyCorrection_;
    TSoilCorrection correction_;
    TKeptRodsFit fit_;
    bool shownOnce_ = false;

    QLineEdit* measured_;
    QRadioButton *worst_, *ordinary_;
    TNormChooser* norm_;
    QLabel *compared_, *factor_, *upper_, *lower_, *correctedTotal_;
    QLabel* status_;
    QTableWidget* table_;
    QPushButton* apply_;
};
