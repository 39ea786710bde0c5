#pragma once

#include "TFitDialog.h"
#include "TMeasurementDialog.h"
#include "TSurveyDialog.h"
#include "TVariantsDialog.h"
#include "calculation_file.h"
#include "earthing_report.h"
#include "input_undo.h"
#include "result_window.h"

#include <QObject>
#include <functional>

class QAction;
class QKeySequence;
class QPrinter;
class TCalculationFiles;

// An action of the window whose key works wherever the focus is in it, the key shown in menus.
QAction* MakeWindowAction(QWidget* form, const char* name, const QString& text, const QKeySequence& key);

// The commands on the result: the fit to a required resistance (Ctrl+R), the calculation's document
// saved as a PDF (Ctrl+E) and printed (Ctrl+P), the soil corrected by a measured resistance (Ctrl+M),
// variants side by side (Ctrl+D), and the calculation as a file (Files). Their shortcuts work wherever
// the focus is in the window, and the result panel sPanel1 and the total sLabel39 offer them in a
// context menu. None of them changes an input unless the user applies a row of the fit or a
// measurement, or opens a file or a variant.
// «Отменить» (Ctrl+Z) and «Вернуть» (Ctrl+Shift+Z) undo and redo such an applying, a reset and an opened
// file; in a text field the same keys are the field's own.
class TResultActions : public QObject {
  public:
    explicit TResultActions(TResultWindow window);

    QAction *Action2, *Action3, *Action4; // fit, PDF, print
    QAction* Action6;                     // the measured resistance
    QAction* Action5;                     // the survey
    QAction *ActionUndo, *ActionRedo;     // «Отменить», «Вернуть»
    // The undo history of the inputs: a step for each applying from here, a reset, an opened file.
    TInputUndo* InputUndo;
    QAction* ActionVariants;  // the variants compared
    TCalculationFiles* Files; // open, save, the recent files

    // The norm chosen in the last fit, which the document judges the calculation against.
    const TNormChoice& Norm() const { return norm_; }
    TEarthingReport Report() const;

    void Action2Execute(); // "Подобрать под нормативное сопротивление…"
    void Action3Execute(); // "Сохранить документ в PDF…"
    void Action4Execute(); // "Печать расчёта…"
    void Action6Execute(); // "Замер сопротивления…"
    void Action5Execute(); // "Изыскания…"
    void ActionVariantsExecute(); // "Сравнить варианты…"

    // Asks for the file to save to, given the suggested path; empty = cancelled. The file dialog by
    // default; tests put their own answer in.
    std::function<QString(const QString& suggested)> ChooseSavePath;
    // Asks where and how to print; false = cancelled. Empty (the default): the print dialog; tests put
    // their own answer in. Printing runs in the print module (print_module.h).
    std::function<bool(QPrinter& printer)> ChoosePrinter;
    // The folder of the print module: the executable's (not ProgramFolder, which tests move away
    // from the build).
    QString PrintModuleFolder;
    // Opens the fit dialog and runs it to its end; tests answer it.
    std::function<void(TFitDialog& dialog)> RunFitDialog;
    // Opens the measurement dialog and runs it to its end; tests answer it.
    std::function<void(TMeasurementDialog& dialog)> RunMeasurementDialog;
    // Opens the survey dialog and runs it to its end; tests answer it.
    std::function<void(TSurveyDialog& dialog)> RunSurveyDialog;
    // Opens the variants dialog and runs it to its end; tests answer it.
    std::function<void(TVariantsDialog& dialog)> RunVariantsDialog;
    // The variants compared, kept for the session (the dialog opens again with them).
    const std::vector<TVariantEntry>& Variants() const { return variants_; }
    // The survey last applied, which the document shows; none until one is.
    const std::optional<TSurveyRecord>& Survey() const { return survey_; }
    // The measurement last applied; none until one is.
    const std::optional<TMeasurementRecord>& Measurement() const { return measurement_; }
    // What an opened calculation brings: the norm, the survey (its readings fill the survey dialog's
    // table) and the measurement.
    void SetRecords(const TNormChoice& norm, const std::optional<TSurveyRecord>& survey,
                    const std::optional<TMeasurementRecord>& measurement);

  private:
    TResultWindow window_;
    TNormChoice norm_;
    QString folder_;                             // where the last document went
    std::vector<TSurveyReading> surveyReadings_; // the survey dialog's table, kept for the session
    std::optional<TSurveyRecord> survey_;
    std::vector<TVariantEntry> variants_;
    bool variantsInDocument_ = false; // the document shows the variants' table
    QString variantsFolder_;          // where the variants' files were last added from
    std::optional<TMeasurementRecord> measurement_;
};
