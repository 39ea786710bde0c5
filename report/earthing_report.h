#pragma once

#include "earthing.h"
#include "report.h"

#include <QDate>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// The calculation as a document, A4: title and date, every input, every computed value with its unit,
// the formulas, the verdict against the norms and the chart of the fit. The lines come from the core
// (BuildEarthingReport); this lays them out. One painting routine serves the PDF file and the printer.
struct TEarthingReport {
    TEarthingInput Input;
    TNormChoice Norm;
    std::optional<TSurveyRecord> Survey; // the survey the soil came from, when one was applied
    std::vector<TVariant> Variants;      // the variants compared, when the document is to show them
    QDate Date;
    char16_t UserSeparator = u',';
    char16_t SystemSeparator = u',';
};

// "Расчёт заземления 2026-12-10 12,5 Ом.pdf"; without the total when the inputs give none.
QString SuggestedReportFileName(const TEarthingReport& report);

// Paints the document on the device (a QPdfWriter or a QPrinter), starting new pages as needed.
// False when the device could not be painted on (a printer that is not ready, say).
bool PaintEarthingReport(QPagedPaintDevice& device, const TEarthingReport& report);

// Writes the PDF to `path` whole or not at all: an existing file is replaced only once the new one is
// complete. Returns an empty text on success, else what went wrong, in Russian.
QString WriteEarthingReportPdf(const QString& path, const TEarthingReport& report);
