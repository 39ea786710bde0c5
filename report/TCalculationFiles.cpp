#include "TCalculationFiles.h"

#include "TResultActions.h"
#include "TsSkinManager.h"
#include "TsSkinProvider.h"
#include "dialog_buttons.h"
#include "error_message.h"
#include "recent_calculations.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

QString CalculationFileFilter() {
    return QStringLiteral("Расчёты Стелворн (*.stelvorn)");
}

namespace {

const QString Suffix = QStringLiteral(".stelvorn");

// Whether two calculations hold the same object: the hints switch and the theme, the user's own
// preferences, and the writer's version and time do not count.
bool SameObject(TCalculation a, TCalculation b) {
    for (TCalculation* c : {&a, &b}) {
        c->ShowHints = true;
        c->SkinName.clear();
        c->Skins = true;
        c->ProgramVersion.clear();
        c->Saved = {};
    }
    return a == b;
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

TCalculationFiles::TCalculationFiles(TResultWindow window, TResultActions& actions)
    : QObject(window.Window), window_(std::move(window)), actions_(actions) {
    QWidget* form = window_.Window;
    setObjectName(QStringLiteral("CalculationFiles"));
    caption_ = form->windowTitle();
    folder_ = DocumentsFolder();

    OpenAction = MakeWindowAction(form, "OpenCalculation", QStringLiteral("Открыть расчёт…"),
                                  QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveAction = MakeWindowAction(form, "SaveCalculation", QStringLiteral("Сохранить расчёт"),
                                  QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAsAction = MakeWindowAction(form, "SaveCalculationAs", QStringLiteral("Сохранить расчёт как…"),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    PropertiesAction =
        MakeWindowAction(form, "CalculationProperties", QStringLiteral("Свойства расчёта…"), {});
    connect(OpenAction, &QAction::triggered, this, &TCalculationFiles::OpenExecute);
    connect(SaveAction, &QAction::triggered, this, &TCalculationFiles::SaveExecute);
    connect(SaveAsAction, &QAction::triggered, this, &TCalculationFiles::SaveAsExecute);
    connect(PropertiesAction, &QAction::triggered, this, &TCalculationFiles::PropertiesExecute);
    RecentMenu = new QMenu(QStringLiteral("Недавние расчёты"), form);
    RecentMenu->setObjectName(QStringLiteral("RecentCalculations"));
    RecentMenu->setToolTipsVisible(true);

    // The file commands head the result panel's context menu, before the work on the result.
    auto* separator = new QAction(form);
    separator->setSeparator(true);
    const QList<QAction*> fileActions{OpenAction,   RecentMenu->menuAction(), SaveAction,
                                      SaveAsAction, PropertiesAction,         separator};
    for (QWidget* target : window_.ResultWidgets)
        target->insertActions(target->actions().value(0), fileActions);

    // The fit, the survey and the measurement may change the norm or the records the file keeps.
    for (QAction* action : {actions_.Action2, actions_.Action5, actions_.Action6})
        connect(action, &QAction::triggered, this, &TCalculationFiles::ShowState);

    ChooseOpenPath = [form](const QString& folder) {
        return QFileDialog::getOpenFileName(form, QStringLiteral("Открыть расчёт"), folder,
                                            CalculationFileFilter() + QStringLiteral(";;Все файлы (*)"));
    };
    ChooseSavePath = [form](const QString& suggested) {
        QFileDialog dialog(form, QStringLiteral("Сохранить расчёт"), suggested, CalculationFileFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(Suffix.mid(1)); // so that the dialog asks before it replaces a file
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    RunPropertiesDialog = [](TCalculationPropertiesDialog& dialog) { dialog.exec(); };

    recent_ = ReadRecentCalculations(RecentCalculationsPath(window_.ProgramFolder));
    ShowRecent();
    ShowState();
}

TCalculation TCalculationFiles::Current() const {
    TCalculation calculation;
    calculation.Inputs = window_.ReadInputs();
    calculation.ShowHints = window_.HintsShown();
    calculation.SkinName = window_.SkinManager->SkinName();
    calculation.Skins = window_.SkinManager->Active();
    calculation.ObjectName = objectName_;
    calculation.Note = note_;
    calculation.Norm = actions_.Norm();
    calculation.Survey = actions_.Survey();
    calculation.Measurement = actions_.Measurement();
    return calculation;
}

bool TCalculationFiles::Changed() const {
    return !path_.isEmpty() && !SameObject(Current(), saved_);
}

void TCalculationFiles::OpenExecute() {
    if (!SettleChanges())
        return;
    const QString path = ChooseOpenPath(folder_);
    if (!path.isEmpty())
        OpenFile(path);
}

bool TCalculationFiles::OpenFile(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    const TCalculationRead read = ReadCalculationFile(full);
    if (!read.Calculation) {
        ShowErrorMessage(QStringLiteral("Не могу открыть расчёт:\n\n") + Native(full) + QStringLiteral("\n") +
                         read.Error);
        return false;
    }
    const TCalculation& calculation = *read.Calculation;
    const TInputUndo::TStep step = actions_.InputUndo->Remember(); // Ctrl+Z brings the inputs back
    window_.ApplyInputs(calculation.Inputs);
    objectName_ = calculation.ObjectName;
    note_ = calculation.Note;
    actions_.SetRecords(calculation.Norm, calculation.Survey, calculation.Measurement);
    Adopt(full);
    return true;
}

void TCalculationFiles::OpenRecent(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QStringList rest = recent_;
        rest.removeAll(path);
        SetRecent(rest);
        ShowErrorMessage(QStringLiteral("Расчёт не найден:\n\n") + Native(path) +
                         QStringLiteral("\n\nОн убран из списка «Недавние расчёты»."));
        return;
    }
    if (SettleChanges())
        OpenFile(path);
}

bool TCalculationFiles::SaveExecute() {
    return path_.isEmpty() ? SaveAsExecute() : WriteTo(path_);
}

bool TCalculationFiles::SaveAsExecute() {
    QString path = !path_.isEmpty()
                       ? path_
                       : QDir(folder_).filePath(
                             (objectName_.isEmpty() ? QStringLiteral("Расчёт") : objectName_) + Suffix);
    // A folder that refuses the file is reported and the user may pick another place: nothing is lost.
    for (;;) {
        path = ChooseSavePath(path);
        if (path.isEmpty())
            return false;
        if (!path.endsWith(Suffix, Qt::CaseInsensitive))
            path += Suffix;
        if (WriteTo(path))
            return true;
    }
}

bool TCalculationFiles::WriteTo(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    if (const std::optional<QString> error = WriteCalculationFile(full, Current())) {
        ShowErrorMessage(QStringLiteral("Не могу сохранить расчёт:\n\n") + Native(full) +
                         QStringLiteral("\n") + *error);
        return false;
    }
    Adopt(full);
    return true;
}

void TCalculationFiles::Adopt(const QString& path) {
    path_ = path;
    saved_ = Current();
    folder_ = QFileInfo(path).absolutePath();
    SetRecent(WithRecentCalculation(recent_, path));
    ShowState();
}

void TCalculationFiles::PropertiesExecute() {
    TCalculationPropertiesDialog dialog(window_.Window, objectName_, note_);
    TsSkinProvider::ForDialog(window_.SkinManager, &dialog);
    RunPropertiesDialog(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    objectName_ = dialog.ObjectName();
    note_ = dialog.Note();
    ShowState();
}

void TCalculationFiles::InputsChanged() {
    ShowState();
}

bool TCalculationFiles::SettleChanges() {
    if (!Changed())
        return true;
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(),
                    QStringLiteral("Сохранить изменения в расчёте «") + QFileInfo(path_).fileName() +
                        QStringLiteral("»?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window_.Window);
    box.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Save))
        return SaveExecute();
    return box.clickedButton() == box.button(QMessageBox::Discard);
}

void TCalculationFiles::ShowState() {
    QString caption = caption_;
    if (!path_.isEmpty())
        caption += QStringLiteral(" — ") + QFileInfo(path_).fileName() +
                   (Changed() ? QStringLiteral("*") : QString());
    if (window_.Window->windowTitle() != caption)
        window_.Window->setWindowTitle(caption);
}

void TCalculationFiles::SetRecent(const QStringList& paths) {
    if (paths == recent_)
        return;
    recent_ = paths;
    WriteRecentCalculations(RecentCalculationsPath(window_.ProgramFolder), recent_);
    ShowRecent();
}

void TCalculationFiles::ShowRecent() {
    RecentMenu->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        QString name = QFileInfo(path).fileName();
        name.replace(u'&', QStringLiteral("&&"));
        QAction* item = RecentMenu->addAction(QStringLiteral("&%1 ").arg(i + 1) + name, this,
                                              [this, path] { OpenRecent(path); });
        item->setObjectName(QStringLiteral("RecentCalculation%1").arg(i + 1));
        item->setToolTip(Native(path));
        item->setStatusTip(Native(path));
    }
    RecentMenu->menuAction()->setEnabled(!recent_.isEmpty());
}
