#pragma once

#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

// Printing lives in a module of its own, libstelvorn_print.so beside the executable, which the
// program loads on the first print: Qt Print Support, which nothing but printing needs, is then no
// part of the program's start. Both sides are built together from this header.

// One print: the printer set up for an A4 page with the document's margins, chosen by the user,
// then painted on.
struct TPrintJob {
    QWidget* Parent = nullptr; // of the print dialog
    QString DocumentName;      // the print queue's name of the job
    QString DialogTitle;
    // Chooses the printer and its settings; false = cancelled. Empty: the print dialog.
    std::function<bool(QPrinter& printer)> ChoosePrinter;
    // Paints the document on the chosen printer; false when the printer refuses it.
    std::function<bool(QPagedPaintDevice& device)> Paint;
    QString PrinterName; // set by the module: the printer chosen
};

enum class TPrintOutcome : int { Printed, Cancelled, Refused };

// Runs a print job in the module found in the folder (the first print loads it, and it stays); the
// outcome, or the reason why the module cannot be loaded (a Russian sentence naming its file).
struct TPrintRun {
    std::optional<TPrintOutcome> Outcome;
    QString Error;
};
TPrintRun RunPrintJob(TPrintJob& job, const QString& moduleFolder);

// The module's file name and its one function, extern "C" int StelvornPrint(TPrintJob*).
inline constexpr char PrintModuleFileName[] = "libstelvorn_print.so";
inline constexpr char PrintFunctionName[] = "StelvornPrint";
