#include "TCalculationPropertiesDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TCalculationPropertiesDialog::TCalculationPropertiesDialog(QWidget* parent, const QString& objectName,
                                                           const QString& note)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CalculationPropertiesDialog"));
    setWindowTitle(QStringLiteral("Свойства расчёта"));

    objectName_ = new QLineEdit(objectName);
    objectName_->setObjectName(QStringLiteral("CalculationObjectName"));
    objectName_->setMaxLength(200);
    objectName_->setToolTip(QStringLiteral("Название объекта, которому принадлежит заземлитель"));
    note_ = new QPlainTextEdit(note);
    note_->setObjectName(QStringLiteral("CalculationNote"));
    note_->setTabChangesFocus(true);
    note_->setToolTip(QStringLiteral("Что угодно о расчёте: вариант, исходные документы, договорённости"));

    auto* objectLabel = new QLabel(QStringLiteral("&Объект:"));
    objectLabel->setBuddy(objectName_);
    auto* noteLabel = new QLabel(QStringLiteral("&Примечание:"));
    noteLabel->setBuddy(note_);
    auto* fields = new QFormLayout;
    fields->addRow(objectLabel, objectName_);
    fields->addRow(noteLabel, note_);

    ok_ = new QPushButton(QStringLiteral("ОК"));
    ok_->setObjectName(QStringLiteral("CalculationPropertiesOk"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"));
    cancel->setObjectName(QStringLiteral("CalculationPropertiesCancel"));
    cancel->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* foot = new QHBoxLayout;
    foot->addStretch(1);
    foot->addWidget(ok_);
    foot->addWidget(cancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addLayout(foot);
    resize(sizeHint().expandedTo(QSize(420, 0)));
}

QString TCalculationPropertiesDialog::ObjectName() const {
    return objectName_->text().trimmed();
}

QString TCalculationPropertiesDialog::Note() const {
    return note_->toPlainText();
}
