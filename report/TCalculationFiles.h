#pragma once

#include "TCalculationPropertiesDialog.h"
#include "calculation_file.h"
#include "result_window.h"

#include <QObject>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class TResultActions;

// The file dialogs' filter of calculation files.
QString CalculationFileFilter();

// The calculation as a file "*.stelvorn": «Открыть расчёт…» (Ctrl+O), «Сохранить расчёт» (Ctrl+S, which
// asks for a name the first time), «Сохранить расчёт как…» (Ctrl+Shift+S), «Свойства расчёта…» (the
// object's name and a note) and the last five files opened or saved, in the result panel's context
// menu. After a file was opened or saved, the window's caption names it and marks it "*" while the
// window holds anything the file does not; closing the window or opening another file then asks
// whether to save it first.
class TCalculationFiles : public QObject {
  public:
    TCalculationFiles(TResultWindow window, TResultActions& actions);

    QAction *OpenAction, *SaveAction, *SaveAsAction, *PropertiesAction;
    QMenu* RecentMenu; // «Недавние расчёты»: one item a file, its full path as the hint

    void OpenExecute();       // "Открыть расчёт…"
    bool SaveExecute();       // "Сохранить расчёт"; false when nothing was written
    bool SaveAsExecute();     // "Сохранить расчёт как…"; false when nothing was written
    void PropertiesExecute(); // "Свойства расчёта…"

    // Reads and checks the whole file first: on a fault, a message that names the file and what is
    // wrong, and the window as it was (false). Else the window's controls, the object's name and
    // note, the norm, the survey and the measurement are set from it.
    bool OpenFile(const QString& path);
    // The window calls it on every change of an input: the caption follows.
    void InputsChanged();
    // Before the calculation is closed or replaced: when it holds changes that its file does not,
    // asks whether to save them. True when the window may go on (saved, or not to be saved).
    bool SettleChanges();

    // The file last opened or saved, its full path; empty until there is one.
    const QString& FilePath() const { return path_; }
    // Whether the window holds anything the file does not (never without a file).
    bool Changed() const;
    const QString& ObjectName() const { return objectName_; }
    const QString& Note() const { return note_; }
    // The last files opened or saved, newest first.
    const QStringList& RecentFiles() const { return recent_; }
    // The calculation as the window holds it now.
    TCalculation Current() const;

    // The file dialogs, given the folder or the suggested path; empty = cancelled. Tests put their
    // own answers in.
    std::function<QString(const QString& folder)> ChooseOpenPath;
    std::function<QString(const QString& suggested)> ChooseSavePath;
    // Opens the properties dialog and runs it to its end; tests answer it.
    std::function<void(TCalculationPropertiesDialog& dialog)> RunPropertiesDialog;

  private:
    bool WriteTo(const QString& path);
    void OpenRecent(const QString& path);
    // The file is the window's from now on: its caption, its folder, the recent list.
    void Adopt(const QString& path);
    void ShowState();
    // A changed list is written at once.
    void SetRecent(const QStringList& paths);
    void ShowRecent();

    TResultWindow window_;
    TResultActions& actions_;
    QString caption_; // the window's caption without a file
    QString folder_;  // where the last file was opened or saved
    QString path_;
    TCalculation saved_; // what the file holds, as the window held it then
    QString objectName_, note_;
    QStringList recent_;
};
