#include "TMeasurementDialog.h"

#include "TFitDialog.h"
#include "dialog_buttons.h"
#include "row_table.h"
#include "shown_numbers.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column {
    CountColumn,
    LengthColumn,
    TotalColumn,
    AddedRodsColumn,
    AddedMetalColumn,
    MetalColumn,
    ColumnCount
};

QLabel* ValueLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TMeasurementDialog::TMeasurementDialog(QWidget* parent, const TEarthingInput& built, double norm,
                                       TApply apply)
    : QDialog(parent), built_(built), userSeparator_(UserDecimalSeparator()),
      systemSeparator_(SystemDecimalSeparator().front()), applyCorrection_(std::move(apply)) {
    setObjectName(QStringLiteral("MeasurementDialog"));
    setWindowTitle(QStringLiteral("Замер"));

    auto* measuredLabel = new QLabel(QStringLiteral("&Измеренное сопротивление заземлителя:"));
    measured_ = new QLineEdit;
    measured_->setObjectName(QStringLiteral("MeasuredTotal"));
    measured_->setMaxLength(64);
    measured_->setPlaceholderText(QStringLiteral("например, 18,5"));
    measured_->setToolTip(QStringLiteral("Сопротивление растеканию всего заземлителя, как он построен и "
                                         "описан в окне, измеренное прибором, в омах"));
    measuredLabel->setBuddy(measured_);
    auto* measuredRow = new QHBoxLayout;
    measuredRow->addWidget(measuredLabel);
    measuredRow->addWidget(measured_);
    measuredRow->addWidget(new QLabel(QStringLiteral("Ом")));
    measuredRow->addStretch(1);

    auto* state = new QGroupBox(QStringLiteral("Грунт во время замера"));
    state->setObjectName(QStringLiteral("MeasuredState"));
    ordinary_ = new QRadioButton(QStringLiteral("в обычном состоянии"));
    ordinary_->setObjectName(QStringLiteral("MeasuredOrdinary"));
    ordinary_->setToolTip(QStringLiteral("Замер сравнивается с расчётом без климатических коэффициентов; "
                                         "исправленный грунт затем получает коэффициенты района"));
    worst_ = new QRadioButton(QStringLiteral("в худшем состоянии: промёрзший или в самый сухой сезон"));
    worst_->setObjectName(QStringLiteral("MeasuredWorst"));
    worst_->setToolTip(QStringLiteral("Замер сравнивается с расчётом окна, с климатическими коэффициентами"));
    ordinary_->setChecked(true); // on the safe side: the worst season is then still ahead
    auto* stateColumn = new QVBoxLayout(state);
    stateColumn->addWidget(ordinary_);
    stateColumn->addWidget(worst_);

    norm_ = new TNormChooser(QStringLiteral("Measurement"), norm);

    compared_ = ValueLabel("MeasurementCompared");
    factor_ = ValueLabel("MeasurementFactor");
    upper_ = ValueLabel("MeasurementUpper");
    lower_ = ValueLabel("MeasurementLower");
    correctedTotal_ = ValueLabel("MeasurementCorrectedTotal");
    auto* values = new QGridLayout;
    const std::pair<QString, QLabel*> rows[] = {
        {QStringLiteral("Расчётное сопротивление для сравнения:"), compared_},
        {QStringLiteral("Поправочный коэффициент грунта k:"), factor_},
        {QStringLiteral("Исправленное ρ1, верхний пласт:"), upper_},
        {QStringLiteral("Исправленное ρ2, нижний пласт:"), lower_},
        {QStringLiteral("Сопротивление с исправленным грунтом:"), correctedTotal_}};
    for (int i = 0; i < 5; ++i) {
        values->addWidget(new QLabel(rows[i].first), i, 0);
        values->addWidget(rows[i].second, i, 1);
    }
    values->setColumnStretch(1, 1);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("MeasurementStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    table_ = MakeRowTable(QStringLiteral("MeasurementTable"),
                          {QStringLiteral("Электро-\nдов, шт."), QStringLiteral("Длина\nэлектрода, м"),
                           QStringLiteral("Сопротив-\nление, Ом"), QStringLiteral("Добавить\nэлектродов"),
                           QStringLiteral("Добавить\nметалла, м"), QStringLiteral("Металл\nвсего, м")});
    table_->setToolTip(
        QStringLiteral("Расчёт ставит электроды на расстоянии, кратном их длине: у удлинённых "
                       "электродов расстояние в расчёте больше, чем у забитых, и сопротивление "
                       "на деле может оказаться выше"));

    const TApplyCloseRow foot = MakeApplyCloseRow(
        this, QStringLiteral("Measurement"),
        QStringLiteral("Установить в окне исправленный грунт обоих пластов и количество и длину "
                       "электродов выбранной строки"));
    apply_ = foot.Apply;

    auto* column = new QVBoxLayout(this);
    column->addLayout(measuredRow);
    column->addWidget(state);
    column->addWidget(norm_);
    column->addLayout(values);
    column->addWidget(status_);
    column->addWidget(table_, 1);
    column->addLayout(foot.Row);

    connect(measured_, &QLineEdit::textChanged, this, [this] { Recompute(); });
    connect(ordinary_, &QRadioButton::toggled, this, [this] { Recompute(); });
    norm_->Changed = [this] { Recompute(); };
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { ApplySelected(); });
    connect(apply_, &QPushButton::clicked, this, &TMeasurementDialog::ApplySelected);

    Recompute();
    // Within the screen less the frame, as the fit dialog: at twice the scale a 1920 × 1080 screen
    // has room for 960 × 540 of these pixels.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room =
        screen ? screen->availableGeometry().size() - TFitDialog::FrameAllowance : QSize(640, 520);
    resize(QSize(640, 520).boundedTo(room).expandedTo(minimumSizeHint()));
}

void TMeasurementDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The measured total first; a themed frame moves the controls after construction, which loses
    // the focus given before.
    if (!shownOnce_) {
        shownOnce_ = true;
        measured_->setFocus();
    }
}

QRadioButton* TMeasurementDialog::StateButton(TSoilState state) const {
    return state == TSoilState::Worst ? worst_ : ordinary_;
}

void TMeasurementDialog::Recompute() {
    const TSoilState state = worst_->isChecked() ? TSoilState::Worst : TSoilState::Ordinary;
    const double required = norm_->Norm();
    const QString requiredText = PlainText(required, userSeparator_) + OhmSuffix();
    const QString none = QStringLiteral("—");
    correction_ = {};
    fit_ = {};
    const TMeasuredTotal measured = ReadMeasuredTotal(ToU16View(measured_->text()), userSeparator_);
    if (measured.Value)
        correction_ = CorrectSoil(built_, *measured.Value, state, userSeparator_, systemSeparator_);
    else
        correction_.Error = measured.Error;
    const bool corrected = correction_.Error.empty();

    const QString ohmMetres = QStringLiteral(" Ом∙м");
    // The total to compare with is shown as soon as there is one, before a measurement is typed.
    TEarthingInput compared = built_;
    if (state == TSoilState::Ordinary)
        compared.ClimaticRegion = NoClimaticRegion;
    const TEarthingResult reference = ComputeEarthing(compared, userSeparator_, systemSeparator_);
    compared_->setText(
        HasMeaningfulTotal(reference)
            ? ToQString(FormatTenths(reference.TotalResistance, userSeparator_)) + OhmSuffix() +
                  (state == TSoilState::Ordinary ? QStringLiteral(" (без климатических коэффициентов)")
                                                 : QStringLiteral(" (с климатическими коэффициентами)"))
            : none);
    factor_->setText(corrected ? ToQString(FormatFactor(correction_.Factor, userSeparator_)) : none);
    upper_->setText(corrected ? PlainText(correction_.UpperResistivity, userSeparator_) + ohmMetres : none);
    lower_->setText(corrected ? PlainText(correction_.LowerResistivity, userSeparator_) + ohmMetres : none);
    correctedTotal_->setText(corrected ? ToQString(FormatTenths(correction_.CorrectedTotal, userSeparator_)) +
                                             OhmSuffix() +
                                             QStringLiteral(" (с климатическими коэффициентами района)")
                                       : none);

    std::vector<TFitRow> rows;
    if (measured_->text().trimmed().isEmpty()) {
        status_->setText(
            QStringLiteral("Введите сопротивление, измеренное у заземлителя, каким он описан в окне."));
    } else if (!corrected) {
        status_->setText(ToQString(correction_.Error));
    } else {
        fit_ = FitKeepingRods(correction_.Corrected, required, userSeparator_, systemSeparator_);
        rows = fit_.Rows;
        if (!fit_.Computable) {
            status_->setText(QStringLiteral("Подбор невозможен: ") +
                             ToQString(StopStageReason(fit_.StopStage)));
        } else if (rows.size() == 1 && fit_.AddedMetal(rows[0]) == 0) {
            status_->setText(
                QStringLiteral("С исправленным грунтом построенный заземлитель уже даёт не выше ") +
                requiredText +
                QStringLiteral(": добавлять ничего не нужно. «Применить» установит "
                               "исправленный грунт."));
        } else if (!rows.empty()) {
            status_->setText(
                QStringLiteral("Сохранив забитые электроды, не выше ") + requiredText +
                QStringLiteral(
                    " дают варианты ниже: больше электродов в том же расположении или более длинные "
                    "электроды, по возрастанию добавляемого металла. Выберите строку и нажмите "
                    "«Применить»."));
        } else {
            status_->setText(QStringLiteral("Сохранив забитые электроды, ") + requiredText +
                             QStringLiteral(" не получить ни до 20 электродов, ни с электродами до ") +
                             PlainText(MaxSearchedRodLength, userSeparator_) +
                             QStringLiteral(" м. «Применить» установит только исправленный грунт."));
        }
    }

    const QSignalBlocker blocker(table_);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const TFitRow& row = rows[i];
        const QString cells[ColumnCount] = {QString::number(row.Number),
                                            PlainText(row.Length, userSeparator_),
                                            ToQString(FormatTenths(row.TotalResistance, userSeparator_)),
                                            QString::number(row.Number - fit_.Built.Number),
                                            PlainText(fit_.AddedMetal(row), userSeparator_),
                                            PlainText(row.Material(), userSeparator_)};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(i, c, item);
        }
    }
    if (!rows.empty())
        table_->selectRow(0);
    SelectionChanged();
}

void TMeasurementDialog::SelectionChanged() {
    apply_->setEnabled(correction_.Error.empty());
}

void TMeasurementDialog::ApplySelected() {
    if (!correction_.Error.empty())
        return;
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    const int selected = ranges.isEmpty() ? -1 : ranges.first().topRow();
    const std::optional<TFitRow> row = selected >= 0 && selected < static_cast<int>(fit_.Rows.size())
                                           ? std::optional(fit_.Rows[selected])
                                           : std::nullopt;
    const TSoilCorrection correction = correction_;
    accept();
    if (applyCorrection_)
        applyCorrection_(correction, row ? &*row : nullptr);
}
