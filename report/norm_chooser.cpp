#include "norm_chooser.h"

#include "TsCustomSpinEdit.h"
#include "fit.h"
#include "input_bounds.h"
#include "shown_numbers.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

TNormChooser::TNormChooser(const QString& prefix, double norm, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Нормативное сопротивление:")));
    group_ = new QButtonGroup(this);
    const char* names[] = {"Norm4", "Norm10", "Norm30", "NormTyped"};
    const QString texts[] = {QStringLiteral("4 Ом"), QStringLiteral("10 Ом"), QStringLiteral("30 Ом"),
                             QStringLiteral("другое:")};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(texts[i]);
        button->setObjectName(prefix + QLatin1String(names[i]));
        group_->addButton(button, i);
        row->addWidget(button);
    }
    typed_ = new QDoubleSpinBox;
    typed_->setObjectName(prefix + QStringLiteral("TypedNorm"));
    typed_->setRange(static_cast<double>(InputBounds::TypedNorm.Min),
                     static_cast<double>(InputBounds::TypedNorm.Max));
    typed_->setDecimals(InputBounds::TypedNorm.DecimalPlaces);
    typed_->setSingleStep(1);
    typed_->setSuffix(OhmSuffix());
    typed_->setKeyboardTracking(true);
    FollowDecimalKeyRule(typed_);
    typed_->setToolTip(QStringLiteral("Требуемое сопротивление заземлителя, от 0,1 до 10000 Ом"));
    row->addWidget(typed_);
    row->addStretch(1);

    // A standard norm by its button, any other value typed.
    int index = 3;
    for (int i = 0; i < 3; ++i)
        if (norm == StandardNorms[i])
            index = i;
    typed_->setValue(index == 3 ? norm : 10);
    typed_->setEnabled(index == 3);
    group_->button(index)->setChecked(true);
    const auto keepCheckedAsTabStop = [this] {
        for (QAbstractButton* button : group_->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    keepCheckedAsTabStop();

    connect(group_, &QButtonGroup::idToggled, this, [this, keepCheckedAsTabStop](int id, bool checked) {
        keepCheckedAsTabStop();
        if (!checked)
            return;
        typed_->setEnabled(id == 3);
        if (Changed)
            Changed();
    });
    connect(typed_, &QDoubleSpinBox::valueChanged, this, [this] {
        if (Changed)
            Changed();
    });
}

double TNormChooser::Norm() const {
    const int id = group_->checkedId();
    return id >= 0 && id < 3 ? StandardNorms[id] : typed_->value();
}

QRadioButton* TNormChooser::Button(int index) const {
    return static_cast<QRadioButton*>(group_->button(index));
}
