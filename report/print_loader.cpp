// The program's side of printing: loads the print module on the first print and keeps it loaded.
#include "print_module.h"

#include <QDir>
#include <QLibrary>

TPrintRun RunPrintJob(TPrintJob& job, const QString& moduleFolder) {
    static QLibrary module;
    using TPrintFunction = int (*)(TPrintJob*);
    const QString path = QDir(moduleFolder).filePath(QLatin1String(PrintModuleFileName));
    if (!module.isLoaded())
        module.setFileName(path);
    const auto print = reinterpret_cast<TPrintFunction>(module.resolve(PrintFunctionName));
    if (print == nullptr) {
        return {.Outcome = std::nullopt,
                .Error = QStringLiteral("не загружается модуль печати %1 (%2).")
                             .arg(QDir::toNativeSeparators(path), module.errorString())};
    }
    const int outcome = print(&job);
    return {.Outcome = static_cast<TPrintOutcome>(outcome), .Error = {}};
}
