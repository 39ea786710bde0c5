#pragma once

#include <QString>
#include <QStringList>

class TForm1;

// The calculation file named on the command line, `stelvorn FILE`: the first argument after the
// program's own, a path or a file:// URL, made absolute; empty when there is none. Qt's own options
// have been taken out of the arguments by the application object already.
QString CalculationFileArgument(const QStringList& arguments);

// Shows the window, which reads its settings as it is first shown, and then opens the calculation
// file named on the command line, if any: its inputs win over the saved ones. A file that cannot be
// opened is reported and the window keeps the saved inputs.
void ShowWindow(TForm1& form, const QStringList& arguments);
