#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// «Свойства расчёта»: the object's name and a note that a calculation file keeps beside the inputs.
// «ОК» takes both, «Отмена» (and Escape) leaves them as they were.
class TCalculationPropertiesDialog : public QDialog {
  public:
    TCalculationPropertiesDialog(QWidget* parent, const QString& objectName, const QString& note);

    QString ObjectName() const;
    QString Note() const;

    QLineEdit* ObjectNameField() const { return objectName_; }
    QPlainTextEdit* NoteField() const { return note_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    QLineEdit* objectName_;
    QPlainTextEdit* note_;
    QPushButton* ok_;
};
