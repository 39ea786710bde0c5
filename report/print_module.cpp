// The print module itself (libstelvorn_print.so): the only code of the program that uses Qt Print
// Support.
#include "print_module.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT int StelvornPrint(TPrintJob* job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    printer.setDocName(job->DocumentName);
    bool chosen = false;
    if (job->ChoosePrinter) {
        chosen = job->ChoosePrinter(printer);
    } else {
        QPrintDialog dialog(&printer, job->Parent);
        dialog.setWindowTitle(job->DialogTitle);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    if (!chosen)
        return static_cast<int>(TPrintOutcome::Cancelled);
    job->PrinterName = printer.printerName();
    return static_cast<int>(job->Paint(printer) ? TPrintOutcome::Printed : TPrintOutcome::Refused);
}
