#pragma once

#include "fit_chart.h"
#include "survey.h"

#include <QDialog>
#include <functional>
#include <thread>

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "Изыскания": the readings of one Wenner traverse, the uniform and the two-layer soil fitted to them
// side by side, and their chart. "Применить" hands the chosen model's soil to the window (the texts of
// both soil boxes and, for two layers, the upper layer's thickness) and closes the dialog.
class TSurveyDialog : public QDialog {
  public:
    struct TApply {
        std::function<void(const QString& top, const QString& bottom)> SoilTexts;
        std::function<void(double thickness)> Thickness;
    };
    TSurveyDialog(QWidget* parent, const std::vector<TSurveyReading>& readings, TApply apply);
    // Waits for a fit still running (it takes some tens of milliseconds); its result is dropped.
    ~TSurveyDialog() override;

    // The readings as the table holds them now (rows left blank are skipped); empty while a cell is
    // not a number.
    std::vector<TSurveyReading> Readings() const;
    // The survey as applied, when "Применить" was pressed.
    const std::optional<TSurveyRecord>& Applied() const { return applied_; }
    // The fit of the table as it stands; empty while that fit is still being made.
    const TSurveyFit& Fit() const { return fit_; }
    // True from a change of the readings until their fit is shown.
    bool FitPending() const { return fitPending_; }

    QTableWidget* Table() const { return table_; }
    QLabel* Status() const { return status_; }
    QRadioButton* UniformButton() const { return uniform_; }
    QRadioButton* TwoLayerButton() const { return twoLayer_; }
    QPushButton* ApplyButton() const { return apply_; }
    TSurveyChart* Chart() const { return chart_; }

    // Adds the readings of a text (a spreadsheet paste or a file) at the end of the table; a text that
    // cannot be read changes nothing and says why.
    bool AddText(const QString& text);
    void AddRow();
    void RemoveRow();
    void Paste();
    void Open();
    void Save();
    void ApplyChosen();

    // Asks for the file to read or to write; empty = cancelled. The file dialogs by default; tests put
    // their own answer in.
    std::function<QString()> ChooseOpenPath;
    std::function<QString(const QString& suggested)> ChooseSavePath;

    static constexpr QSize FrameAllowance{16, 48};
    QSize SizeFor(const QSize& available) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetReadings(int from, const std::vector<TSurveyReading>& readings);
    // Reads the table and has its readings fitted on a worker thread; the table stays editable and
    // the result is shown when it comes, unless the readings changed meanwhile.
    void Refit();
    struct TFitJob {
        std::vector<TSurveyReading> Readings;
        std::vector<int> Rows; // the table row of each reading
        unsigned Generation = 0;
    };
    void StartFit(TFitJob job);
    void FitDone(const TFitJob& job, const TSurveyFit& fit);
    void ShowFit(const std::vector<TSurveyReading>& readings, const std::vector<int>& rows,
                 const std::u16string& error);
    void ShowPending();
    void ShowChoice();
    // The readings of the table with the row each came from; an error when a cell is no number.
    std::u16string ReadTable(std::vector<TSurveyReading>& readings, std::vector<int>& rows) const;

    TApply applySoil_;
    char16_t userSeparator_, systemSeparator_;
    TSurveyFit fit_;
    std::vector<TSurveyReading> fitted_;
    std::optional<TSurveyRecord> applied_;
    QString folder_;
    bool uniformChosen_ = false; // the user picked the uniform soil though two layers were found

    // One fit runs at a time, on copies of the readings; a change made meanwhile waits in queued_
    // (only the latest one). A result whose generation is not the table's current one is dropped.
    std::thread worker_;
    std::optional<TFitJob> queued_;
    unsigned generation_ = 0;
    bool fitPending_ = false;

    QTableWidget* table_;
    QLabel* status_;
    QRadioButton *uniform_, *twoLayer_;
    TSurveyChart* chart_;
    QPushButton* apply_;
};
