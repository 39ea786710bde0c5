#include "TFitDialog.h"

#include "dialog_buttons.h"
#include "row_table.h"
#include "shown_numbers.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

enum Column {
    LayoutColumn,
    MultipleColumn,
    CountColumn,
    LengthColumn,
    TotalColumn,
    RodsColumn,
    ConnectorColumn,
    MaterialColumn,
    ColumnCount
};

QString Variants(size_t count) {
    const size_t tens = count % 100, ones = count % 10;
    if (tens >= 11 && tens <= 14)
        return QStringLiteral("вариантов");
    if (ones == 1)
        return QStringLiteral("вариант");
    if (ones >= 2 && ones <= 4)
        return QStringLiteral("варианта");
    return QStringLiteral("вариантов");
}

} // namespace

TFitDialog::TFitDialog(QWidget* parent, const TEarthingInput& input, const TNormChoice& norm, TApply apply)
    : QDialog(parent), input_(input), userSeparator_(UserDecimalSeparator()),
      systemSeparator_(SystemDecimalSeparator().front()), applyRow_(std::move(apply)) {
    setObjectName(QStringLiteral("FitDialog"));
    setWindowTitle(QStringLiteral("Подбор"));
    resistivity_ = NormResistivity(ComputeEarthing(input_, userSeparator_, systemSeparator_));

    normChooser_ = new TNormChooser(QStringLiteral("Fit"), norm.Norm);

    raised_ = new QCheckBox;
    raised_->setObjectName(QStringLiteral("FitRaisedNorm"));
    raised_->setVisible(resistivity_ && *resistivity_ > 100);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("FitStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    table_ = MakeRowTable(QStringLiteral("FitTable"),
                          {QStringLiteral("Расположение"), QStringLiteral("Крат-\nность"),
                           QStringLiteral("Электро-\nдов, шт."), QStringLiteral("Длина\nэлектрода, м"),
                           QStringLiteral("Сопротив-\nление, Ом"), QStringLiteral("Электроды\nвсего, м"),
                           QStringLiteral("Соедини-\nтель, м"), QStringLiteral("Металл\nвсего, м")});
    table_->setMinimumWidth(420);

    chart_ = new TFitChart;
    chart_->setMinimumSize(280, 240);

    const TApplyCloseRow foot =
        MakeApplyCloseRow(this, QStringLiteral("Fit"),
                          QStringLiteral("Установить в окне расположение, кратность, количество и длину "
                                         "электродов выбранной строки"));
    apply_ = foot.Apply;

    auto* body = new QHBoxLayout;
    body->addWidget(table_, 3);
    body->addWidget(chart_, 2);
    auto* column = new QVBoxLayout(this);
    column->addWidget(normChooser_);
    column->addWidget(raised_);
    column->addWidget(status_);
    column->addLayout(body, 1);
    column->addLayout(foot.Row);

    raised_->setChecked(norm.Raised && raised_->isVisibleTo(this));
    normChooser_->Changed = [this] { Refit(); };
    connect(raised_, &QCheckBox::toggled, this, [this] { Refit(); });
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { ApplySelected(); });
    connect(apply_, &QPushButton::clicked, this, &TFitDialog::ApplySelected);

    Refit();
    // At twice the scale a 1920 × 1080 screen has room for 960 × 540 of these pixels.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    resize(screen ? SizeFor(screen->availableGeometry().size()) : SizeFor(QSize(980, 460) + FrameAllowance));
}

QSize TFitDialog::SizeFor(const QSize& available) const {
    return QSize(980, 460).boundedTo(available - FrameAllowance).expandedTo(minimumSizeHint());
}

QRadioButton* TFitDialog::NormButton(int index) const {
    return normChooser_->Button(index);
}

QDoubleSpinBox* TFitDialog::TypedNorm() const {
    return normChooser_->Typed();
}

TNormChoice TFitDialog::Norm() const {
    return {normChooser_->Norm(), raised_->isChecked()};
}

void TFitDialog::Refit() {
    const TNormChoice norm = Norm();
    const bool raisable = resistivity_ && *resistivity_ > 100;
    required_ = norm.Raised && raisable ? ::RaisedNorm(norm.Norm, *resistivity_) : norm.Norm;
    if (raisable) {
        raised_->setText(QStringLiteral("Подобрать под повышенную норму: ρэ = ") +
                         ToQString(FormatWhole(*resistivity_, userSeparator_)) +
                         QStringLiteral(" Ом∙м, выше 100 Ом∙м, и норму можно умножить на 0,01·ρ, но не более "
                                        "чем в 10 раз: ") +
                         PlainText(::RaisedNorm(norm.Norm, *resistivity_), userSeparator_) + OhmSuffix());
    }

    fit_ = FitEarthing(input_, required_, userSeparator_, systemSeparator_);
    const QString requiredText = PlainText(required_, userSeparator_) + OhmSuffix();
    std::vector<TFitRow> rows;
    if (!fit_.Computable) {
        status_->setText(QStringLiteral("Подбор невозможен: ") + ToQString(StopStageReason(fit_.StopStage)));
    } else if (!fit_.Rows.empty()) {
        rows = fit_.Rows;
        status_->setText(QStringLiteral("Сопротивления не выше ") + requiredText +
                         QStringLiteral(" достигают ") + QString::number(rows.size()) + u' ' +
                         Variants(rows.size()) +
                         QStringLiteral(" — по возрастанию расхода металла. Выберите строку и нажмите "
                                        "«Применить»."));
    } else {
        rows.push_back(*fit_.Best);
        QString text = QStringLiteral("Ни одно расположение из 1–20 электродов не даёт ") + requiredText +
                       QStringLiteral(": лучшее даёт ") +
                       ToQString(FormatTenths(fit_.Best->TotalResistance, userSeparator_)) +
                       QStringLiteral(" Ом (первая строка). ");
        if (fit_.Reaching) {
            rows.push_back(*fit_.Reaching);
            text += QStringLiteral("Норму оно достигнет с электродами длиной ") +
                    PlainText(fit_.Reaching->Length, userSeparator_) + QStringLiteral(" м (вторая строка).");
        } else {
            text += QStringLiteral("Нормы оно не достигнет и с электродами длиной ") +
                    PlainText(MaxSearchedRodLength, userSeparator_) + QStringLiteral(" м.");
        }
        status_->setText(text);
    }
    ShowRows(rows);
}

void TFitDialog::ShowRows(const std::vector<TFitRow>& rows) {
    shown_ = rows;
    const QSignalBlocker blocker(table_);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const TFitRow& row = rows[i];
        const bool single = row.Number == 1;
        const QString cells[ColumnCount] = {
            single ? QStringLiteral("один электрод")
                   : (row.MutualDisposition == 1 ? QStringLiteral("в ряд") : QStringLiteral("контур")),
            single ? QStringLiteral("—") : QString::number(row.IntervalMultiplicity),
            QString::number(row.Number),
            PlainText(row.Length, userSeparator_),
            ToQString(FormatTenths(row.TotalResistance, userSeparator_)),
            PlainText(row.RodLength, userSeparator_),
            PlainText(row.ConnectorLength, userSeparator_),
            PlainText(row.Material(), userSeparator_)};
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == LayoutColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(i, column, item);
        }
    }
    if (!rows.empty())
        table_->selectRow(rows.size() > 1 && fit_.Rows.empty() ? 1 : 0);
    SelectionChanged();
}

void TFitDialog::SelectionChanged() {
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    const int selected = ranges.isEmpty() ? -1 : ranges.first().topRow();
    apply_->setEnabled(selected >= 0);

    // The chart shows the selected row's layout and marks its count; without a row, the window's.
    TEarthingInput shownInput = input_;
    std::optional<int32_t> marked;
    if (selected >= 0 && selected < static_cast<int>(shown_.size())) {
        const TFitRow& row = shown_[selected];
        shownInput.MutualDisposition = row.MutualDisposition;
        shownInput.IntervalMultiplicity = row.IntervalMultiplicity;
        shownInput.Length = row.Length;
        marked = row.Number;
    }
    TFitChartData data = MakeFitChartData(shownInput, required_, userSeparator_, systemSeparator_);
    data.MarkedCount = marked;
    chart_->SetData(data);
}

void TFitDialog::ApplySelected() {
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    if (ranges.isEmpty() || ranges.first().topRow() >= static_cast<int>(shown_.size()))
        return;
    const TFitRow row = shown_[ranges.first().topRow()];
    accept();
    if (applyRow_)
        applyRow_(row);
}
