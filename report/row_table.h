#pragma once

#include <QStringList>

class QTableWidget;

// The read-only table of arrangements the result dialogs offer: whole rows selected one at a time,
// no cell editing, Tab leaving the table, no row numbers, columns as wide as their contents.
QTableWidget* MakeRowTable(const QString& name, const QStringList& headers);
