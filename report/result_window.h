#pragma once

#include "earthing.h"
#include "fit.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;
class TsSkinManager;

// What the tools on the result know of the window: the widget they live in, the widgets that offer
// them in a context menu, the inputs as the controls hold them, and how a row of the fit is applied.
// The window fills it in; the tools never see the window's class.
struct TResultWindow {
    QWidget* Window = nullptr;            // owns the actions and parents the dialogs
    QList<QWidget*> ResultWidgets;        // offer the actions in their context menu
    TsSkinManager* SkinManager = nullptr; // frames the dialogs in the window's theme
    std::function<TEarthingInput()> ReadInputs;
    // Sets the controls from the row as a user would, so every change event runs and the total follows.
    std::function<void(const TFitRow& row)> ApplyFitRow;
    // Sets the texts of the upper and the lower soil box as a user would, so every change event runs.
    std::function<void(const QString& top, const QString& bottom)> ApplySoilTexts;
    // Sets the upper layer's thickness field as a user would.
    std::function<void(double thickness)> ApplyThickness;
    // Sets every input control from the inputs as a user would (undo and redo, an opened file). A
    // user's action that sets them is one step of the undo history: whoever applies takes a
    // `TInputUndo::TStep` (`InputUndo->Remember()`) first and keeps it to the end of the applying
    // (input_undo.h), as opening a file does.
    std::function<void(const TEarthingInput& in)> ApplyInputs;
    // Opens a calculation file in the window as the user's own opening does (asking first about
    // unsaved changes); while unset, a variant from a file is opened by its inputs alone (ApplyInputs).
    std::function<void(const QString& path)> OpenFile = nullptr;
    // The window's hints switch, which a saved calculation records.
    std::function<bool()> HintsShown;
    // The program's folder, ending in its separator: the settings file and the list of recent
    // calculations live there.
    QString ProgramFolder;
};
