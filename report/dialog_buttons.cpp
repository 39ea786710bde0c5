#include "dialog_buttons.h"

#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStandardPaths>

TApplyCloseRow MakeApplyCloseRow(QDialog* dialog, const QString& name, const QString& applyHint) {
    TApplyCloseRow row;
    row.Apply = new QPushButton(QStringLiteral("Применить"));
    row.Apply->setObjectName(name + QStringLiteral("Apply"));
    row.Apply->setDefault(true);
    row.Apply->setToolTip(applyHint);
    row.Close = new QPushButton(QStringLiteral("Закрыть"));
    row.Close->setObjectName(name + QStringLiteral("Close"));
    row.Close->setAutoDefault(false);
    QObject::connect(row.Close, &QPushButton::clicked, dialog, &QDialog::reject);
    row.Row = new QHBoxLayout;
    row.Row->addStretch(1);
    row.Row->addWidget(row.Apply);
    row.Row->addWidget(row.Close);
    return row;
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}
