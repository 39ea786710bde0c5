#include "TResultActions.h"

#include "TCalculationFiles.h"
#include "TsSkinProvider.h"
#include "dialog_buttons.h"
#include "error_message.h"
#include "print_module.h"
#include "qt_text.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRadioButton>
#include <utility>

QAction* MakeWindowAction(QWidget* form, const char* name, const QString& text, const QKeySequence& key) {
    auto* action = new QAction(text, form);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    form->addAction(action);
    return action;
}

TResultActions::TResultActions(TResultWindow window) : QObject(window.Window), window_(std::move(window)) {
    QWidget* form = window_.Window;
    setObjectName(QStringLiteral("ResultActions"));
    Action2 = MakeWindowAction(form, "Action2", QStringLiteral("Подобрать под нормативное сопротивление…"),
                               Qt::CTRL | Qt::Key_R);
    Action3 =
        MakeWindowAction(form, "Action3", QStringLiteral("Сохранить документ в PDF…"), Qt::CTRL | Qt::Key_E);
    Action4 = MakeWindowAction(form, "Action4", QStringLiteral("Печать расчёта…"), Qt::CTRL | Qt::Key_P);
    connect(Action2, &QAction::triggered, this, &TResultActions::Action2Execute);
    connect(Action3, &QAction::triggered, this, &TResultActions::Action3Execute);
    connect(Action4, &QAction::triggered, this, &TResultActions::Action4Execute);
    Action6 = MakeWindowAction(form, "Action6", QStringLiteral("Замер сопротивления…"), Qt::CTRL | Qt::Key_M);
    connect(Action6, &QAction::triggered, this, &TResultActions::Action6Execute);

    Action5 = MakeWindowAction(form, "Action5", QStringLiteral("Изыскания…"), Qt::CTRL | Qt::Key_I);
    connect(Action5, &QAction::triggered, this, &TResultActions::Action5Execute);
    ActionVariants =
        MakeWindowAction(form, "ActionVariants", QStringLiteral("Сравнить варианты…"), Qt::CTRL | Qt::Key_D);
    connect(ActionVariants, &QAction::triggered, this, &TResultActions::ActionVariantsExecute);

    ActionUndo = MakeWindowAction(form, "ActionUndo", QStringLiteral("Отменить"), Qt::CTRL | Qt::Key_Z);
    ActionRedo =
        MakeWindowAction(form, "ActionRedo", QStringLiteral("Вернуть"), Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    // Ctrl+Y too where it is the platform's redo, so that a text field takes it for its own as well.
    if (const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
        QKeySequence::keyBindings(QKeySequence::Redo).contains(ctrlY))
        ActionRedo->setShortcuts({ActionRedo->shortcut(), ctrlY});
    InputUndo = new TInputUndo(this, ActionUndo, ActionRedo, window_.ReadInputs, window_.ApplyInputs);
    auto* undoSeparator = new QAction(this);
    undoSeparator->setSeparator(true);

    // The context menu of the result panel and of the total on it.
    for (QWidget* target : window_.ResultWidgets) {
        target->addActions({ActionUndo, ActionRedo, undoSeparator, Action2, Action3, Action4, Action5,
                            Action6, ActionVariants});
        target->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    folder_ = DocumentsFolder();
    ChooseSavePath = [form](const QString& suggested) {
        return QFileDialog::getSaveFileName(form, QStringLiteral("Сохранить документ в PDF"), suggested,
                                            QStringLiteral("Документ PDF (*.pdf)"));
    };
    RunFitDialog = [](TFitDialog& dialog) { dialog.exec(); };
    RunMeasurementDialog = [](TMeasurementDialog& dialog) { dialog.exec(); };
    RunSurveyDialog = [](TSurveyDialog& dialog) { dialog.exec(); };
    RunVariantsDialog = [](TVariantsDialog& dialog) { dialog.exec(); };
    variantsFolder_ = folder_;
    PrintModuleFolder = QCoreApplication::applicationDirPath();

    Files = new TCalculationFiles(window_, *this);
}

TEarthingReport TResultActions::Report() const {
    return {.Input = window_.ReadInputs(),
            .Norm = norm_,
            .Survey = survey_,
            .Variants = variantsInDocument_ ? VariantsOf(variants_) : std::vector<TVariant>{},
            .Date = QDate::currentDate(),
            .UserSeparator = UserDecimalSeparator(),
            .SystemSeparator = SystemDecimalSeparator().front()};
}

void TResultActions::Action2Execute() {
    const TInputUndo::TStep step = InputUndo->Remember(); // an applying is one step
    TFitDialog dialog(window_.Window, window_.ReadInputs(), norm_, window_.ApplyFitRow);
    TsSkinProvider::ForDialog(window_.SkinManager, &dialog);
    RunFitDialog(dialog);
    norm_ = dialog.Norm();
}

void TResultActions::Action3Execute() {
    const TEarthingReport report = Report();
    QString path = QDir(folder_).filePath(SuggestedReportFileName(report));
    // A folder that refuses the file is reported, and the user may pick another one: nothing is lost.
    for (;;) {
        path = ChooseSavePath(path);
        if (path.isEmpty())
            return;
        if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            path += QStringLiteral(".pdf");
        const QString error = WriteEarthingReportPdf(path, report);
        if (error.isEmpty()) {
            folder_ = QFileInfo(path).absolutePath();
            return;
        }
        ShowErrorMessage(QStringLiteral("Не могу сохранить документ в PDF:\n\n") +
                         QDir::toNativeSeparators(path) + QStringLiteral("\n") + error);
    }
}

void TResultActions::Action4Execute() {
    const TEarthingReport report = Report();
    TPrintJob job{
        .Parent = window_.Window,
        .DocumentName = QStringLiteral("Расчёт сопротивления заземлителя"),
        .DialogTitle = QStringLiteral("Печать расчёта"),
        .ChoosePrinter = ChoosePrinter,
        .Paint = [&report](QPagedPaintDevice& device) { return PaintEarthingReport(device, report); },
        .PrinterName = {}};
    const TPrintRun run = RunPrintJob(job, PrintModuleFolder);
    if (!run.Outcome)
        ShowErrorMessage(QStringLiteral("Не могу напечатать расчёт: ") + run.Error);
    else if (*run.Outcome == TPrintOutcome::Refused)
        ShowErrorMessage(QStringLiteral("Не могу напечатать расчёт: принтер «") + job.PrinterName +
                         QStringLiteral("» не принимает документ."));
}

void TResultActions::Action6Execute() {
    const TInputUndo::TStep step = InputUndo->Remember(); // an applying is one step
    const auto apply = [this](const TSoilCorrection& correction, const TFitRow* row) {
        window_.ApplySoilTexts(ToQString(correction.TopLayer), ToQString(correction.BottomLayer));
        if (row)
            window_.ApplyFitRow(*row);
    };
    TMeasurementDialog dialog(window_.Window, window_.ReadInputs(), norm_.Norm, apply);
    TsSkinProvider::ForDialog(window_.SkinManager, &dialog);
    RunMeasurementDialog(dialog);
    // The window now holds an arrangement fitted to the dialog's norm: the document judges by it.
    if (dialog.result() != QDialog::Accepted)
        return;
    if (dialog.Norm() != norm_.Norm)
        norm_ = {dialog.Norm(), false};
    measurement_ = TMeasurementRecord{
        dialog.Correction().Measured,
        dialog.StateButton(TSoilState::Ordinary)->isChecked() ? TSoilState::Ordinary : TSoilState::Worst};
}

void TResultActions::SetRecords(const TNormChoice& norm, const std::optional<TSurveyRecord>& survey,
                                const std::optional<TMeasurementRecord>& measurement) {
    norm_ = norm;
    survey_ = survey;
    surveyReadings_ = survey ? survey->Readings : std::vector<TSurveyReading>{};
    measurement_ = measurement;
}

void TResultActions::Action5Execute() {
    const TInputUndo::TStep step = InputUndo->Remember(); // an applying is one step
    TSurveyDialog dialog(window_.Window, surveyReadings_, {window_.ApplySoilTexts, window_.ApplyThickness});
    TsSkinProvider::ForDialog(window_.SkinManager, &dialog);
    RunSurveyDialog(dialog);
    const std::vector<TSurveyReading> readings = dialog.Readings();
    if (!readings.empty())
        surveyReadings_ = readings;
    if (dialog.Applied())
        survey_ = dialog.Applied();
}

void TResultActions::ActionVariantsExecute() {
    const TInputUndo::TStep step = InputUndo->Remember(); // opening a variant is one step
    TVariantsDialog dialog(window_.Window, variants_, norm_, variantsInDocument_, window_);
    dialog.Folder = variantsFolder_;
    TsSkinProvider::ForDialog(window_.SkinManager, &dialog);
    RunVariantsDialog(dialog);
    variants_ = dialog.Entries();
    variantsInDocument_ = dialog.InDocument();
    variantsFolder_ = dialog.Folder;
}
