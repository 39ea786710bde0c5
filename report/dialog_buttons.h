#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

// The row at the foot of the dialogs on the result: «Применить», the default button that Enter
// presses, and «Закрыть», which closes the dialog without applying; named <name>Apply and <name>Close.
struct TApplyCloseRow {
    QPushButton* Apply = nullptr;
    QPushButton* Close = nullptr;
    QHBoxLayout* Row = nullptr;
};

TApplyCloseRow MakeApplyCloseRow(QDialog* dialog, const QString& name, const QString& applyHint);

// Where the result tools' file dialogs start: the user's documents folder, or the home folder without one.
QString DocumentsFolder();
