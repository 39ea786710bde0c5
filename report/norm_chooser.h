#pragma once

#include <QWidget>
#include <functional>

class QButtonGroup;
class QDoubleSpinBox;
class QRadioButton;

// One row to choose the required resistance: "Нормативное сопротивление:", 4, 10 and 30 Ом and
// "другое:" with a typed value from 0,1 to 10000 Ом. The four choices are one tab stop, at the
// checked one; the arrow keys move between them. The object names begin with the prefix:
// <prefix>Norm4, <prefix>Norm10, <prefix>Norm30, <prefix>NormTyped and <prefix>TypedNorm.
class TNormChooser : public QWidget {
  public:
    TNormChooser(const QString& prefix, double norm, QWidget* parent = nullptr);

    double Norm() const;
    QRadioButton* Button(int index) const; // 0..2: 4, 10, 30 Ом; 3: the typed value
    QDoubleSpinBox* Typed() const { return typed_; }

    // Called whenever the norm may have changed.
    std::function<void()> Changed;

  private:
    QButtonGroup* group_;
    QDoubleSpinBox* typed_;
};
