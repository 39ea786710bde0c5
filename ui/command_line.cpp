#include "command_line.h"

#include "TCalculationFiles.h"
#include "TResultActions.h"
#include "Unit1.h"

#include <QFileInfo>
#include <QUrl>

QString CalculationFileArgument(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1].isEmpty())
        return {};
    QString path = arguments[1];
    if (path.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        const QUrl url(path);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    return QFileInfo(path).absoluteFilePath();
}

void ShowWindow(TForm1& form, const QStringList& arguments) {
    form.show(); // FormShow runs before the window becomes visible
    const QString path = CalculationFileArgument(arguments);
    if (!path.isEmpty())
        form.ResultActions->Files->OpenFile(path);
}
