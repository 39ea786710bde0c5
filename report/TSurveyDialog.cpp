#include "TSurveyDialog.h"

#include "dialog_buttons.h"
#include "error_message.h"
#include "qt_text.h"
#include "shown_numbers.h"
#include "system_locale.h"
#include "user_locale.h"
#include "utf8_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

namespace {

enum Column {
    KeptColumn,
    SpacingColumn,
    DepthColumn,
    ResistanceColumn,
    ApparentColumn, // typed instead of R
    MeasuredColumn,
    UniformColumn,
    UniformErrorColumn,
    TwoLayerColumn,
    TwoLayerErrorColumn,
    ColumnCount
};
constexpr int InputColumns = ApparentColumn + 1;

// The thickness field's range and step, m.
constexpr double LeastThickness = 0.1, MostThickness = 3.0;

QTableWidgetItem* ShownItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setForeground(QColor(0x40, 0x40, 0x40));
    return item;
}

QTableWidgetItem* KeptItem(bool kept) {
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(kept ? Qt::Checked : Qt::Unchecked);
    item->setToolTip(QStringLiteral("Учитывать показание при подборе"));
    return item;
}

// The thickness the field takes for h: within its range, to a tenth.
double FieldThickness(double h) {
    return std::clamp(std::round(h * 10) / 10, LeastThickness, MostThickness);
}

} // namespace

TSurveyDialog::TSurveyDialog(QWidget* parent, const std::vector<TSurveyReading>& readings, TApply apply)
    : QDialog(parent), applySoil_(std::move(apply)), userSeparator_(UserDecimalSeparator()),
      systemSeparator_(SystemDecimalSeparator().front()) {
    setObjectName(QStringLiteral("SurveyDialog"));
    setWindowTitle(QStringLiteral("Изыскания"));
    folder_ = DocumentsFolder();

    auto* intro = new QLabel(QStringLiteral(
        "Показания одного профиля по методу Веннера: разнос a, глубина электродов b и измеренное "
        "сопротивление R или, вместо него, кажущееся сопротивление ρa. Снимите флажок, чтобы не учитывать "
        "показание."));
    intro->setWordWrap(true);

    const auto button = [](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setToolTip(tip);
        return b;
    };
    QPushButton* add = button("SurveyAddRow", QStringLiteral("&Добавить строку"),
                              QStringLiteral("Добавить пустую строку в конец таблицы"));
    QPushButton* remove = button("SurveyRemoveRow", QStringLiteral("&Удалить строку"),
                                 QStringLiteral("Удалить выделенные строки"));
    QPushButton* paste = button("SurveyPaste", QStringLiteral("&Вставить"),
                                QStringLiteral("Добавить показания из буфера обмена (столбцы электронной "
                                               "таблицы: a, b, R, ρa; или a и R)"));
    QPushButton* open = button("SurveyOpen", QStringLiteral("&Открыть CSV…"),
                               QStringLiteral("Заменить показания таблицы показаниями из файла CSV"));
    QPushButton* save = button("SurveySave", QStringLiteral("Со&хранить CSV…"),
                               QStringLiteral("Сохранить показания в файл CSV (UTF-8)"));
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {add, remove, paste, open, save})
        tools->addWidget(b);
    tools->addStretch(1);

    table_ = new QTableWidget(0, ColumnCount);
    table_->setObjectName(QStringLiteral("SurveyTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Учесть"), QStringLiteral("a, м"),
                                       QStringLiteral("b, м"), QStringLiteral("R, Ом"),
                                       QStringLiteral("или ρa,\nОм∙м"), QStringLiteral("ρa изм.,\nОм∙м"),
                                       QStringLiteral("Однородный,\nОм∙м"), QStringLiteral("Ошибка,\n%"),
                                       QStringLiteral("Два пласта,\nОм∙м"), QStringLiteral("Ошибка,\n%")});
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    // Sized to the contents once a refit has filled them in, not on every cell it writes.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->setMinimumWidth(480);
    table_->installEventFilter(this);

    uniform_ = new QRadioButton;
    uniform_->setObjectName(QStringLiteral("SurveyUniform"));
    twoLayer_ = new QRadioButton;
    twoLayer_->setObjectName(QStringLiteral("SurveyTwoLayers"));
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("SurveyStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    chart_ = new TSurveyChart;

    const TApplyCloseRow foot = MakeApplyCloseRow(
        this, QStringLiteral("Survey"),
        QStringLiteral("Установить в окне грунты верхнего и нижнего пласта и толщину верхнего "
                       "пласта по выбранной модели"));
    apply_ = foot.Apply;

    auto* left = new QVBoxLayout;
    left->addLayout(tools);
    left->addWidget(table_, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addWidget(chart_, 2);
    auto* column = new QVBoxLayout(this);
    column->addWidget(intro);
    column->addLayout(body, 1);
    column->addWidget(uniform_);
    column->addWidget(twoLayer_);
    column->addWidget(status_);
    column->addLayout(foot.Row);

    ChooseOpenPath = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Открыть показания"), folder_,
                                            QStringLiteral("Файлы CSV (*.csv *.txt);;Все файлы (*)"));
    };
    ChooseSavePath = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить показания"), suggested,
                                            QStringLiteral("Файлы CSV (*.csv)"));
    };

    connect(add, &QPushButton::clicked, this, &TSurveyDialog::AddRow);
    connect(remove, &QPushButton::clicked, this, &TSurveyDialog::RemoveRow);
    connect(paste, &QPushButton::clicked, this, &TSurveyDialog::Paste);
    connect(open, &QPushButton::clicked, this, &TSurveyDialog::Open);
    connect(save, &QPushButton::clicked, this, &TSurveyDialog::Save);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() < InputColumns)
            Refit();
    });
    connect(uniform_, &QRadioButton::toggled, this, [this] { ShowChoice(); });
    connect(uniform_, &QRadioButton::clicked, this, [this] { uniformChosen_ = true; });
    connect(twoLayer_, &QRadioButton::clicked, this, [this] { uniformChosen_ = false; });
    connect(apply_, &QPushButton::clicked, this, &TSurveyDialog::ApplyChosen);

    SetReadings(0, readings);
    if (table_->rowCount() == 0)
        AddRow();
    Refit();
    table_->setCurrentCell(0, SpacingColumn);
    table_->setFocus();
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    resize(screen ? SizeFor(screen->availableGeometry().size()) : SizeFor(QSize(1040, 600) + FrameAllowance));
}

QSize TSurveyDialog::SizeFor(const QSize& available) const {
    return QSize(1040, 600).boundedTo(available - FrameAllowance).expandedTo(minimumSizeHint());
}

void TSurveyDialog::SetReadings(int from, const std::vector<TSurveyReading>& readings) {
    const QSignalBlocker blocker(table_);
    table_->setRowCount(from + static_cast<int>(readings.size()));
    const auto number = [this](std::optional<double> x) {
        return x ? ToQString(FormatPlain(*x, userSeparator_)) : QString();
    };
    for (int i = 0; i < static_cast<int>(readings.size()); ++i) {
        const TSurveyReading& reading = readings[i];
        const int row = from + i;
        table_->setItem(row, KeptColumn, KeptItem(reading.Kept));
        table_->setItem(row, SpacingColumn, new QTableWidgetItem(number(reading.Spacing)));
        table_->setItem(row, DepthColumn, new QTableWidgetItem(number(reading.Depth)));
        table_->setItem(row, ResistanceColumn, new QTableWidgetItem(number(reading.Resistance)));
        table_->setItem(row, ApparentColumn, new QTableWidgetItem(number(reading.Apparent)));
        for (int column = MeasuredColumn; column < ColumnCount; ++column)
            table_->setItem(row, column, ShownItem(QString()));
    }
}

void TSurveyDialog::AddRow() {
    const int row = table_->rowCount();
    {
        const QSignalBlocker blocker(table_);
        table_->insertRow(row);
        table_->setItem(row, KeptColumn, KeptItem(true));
        for (int column = SpacingColumn; column < InputColumns; ++column)
            table_->setItem(row, column, new QTableWidgetItem);
        for (int column = MeasuredColumn; column < ColumnCount; ++column)
            table_->setItem(row, column, ShownItem(QString()));
    }
    table_->setCurrentCell(row, SpacingColumn);
    table_->setFocus();
}

void TSurveyDialog::RemoveRow() {
    QList<int> rows;
    for (const QTableWidgetSelectionRange& range : table_->selectedRanges())
        for (int row = range.topRow(); row <= range.bottomRow(); ++row)
            rows.append(row);
    if (rows.isEmpty() && table_->currentRow() >= 0)
        rows.append(table_->currentRow());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    {
        const QSignalBlocker blocker(table_);
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            table_->removeRow(*it);
    }
    if (table_->rowCount() == 0)
        AddRow();
    Refit();
}

bool TSurveyDialog::AddText(const QString& text) {
    const TSurveyTableText read = ReadSurveyTable(std::u16string(ToU16View(text)));
    if (!read.Error.empty()) {
        status_->setText(QStringLiteral("Показания не добавлены. ") + ToQString(read.Error));
        return false;
    }
    if (read.Readings.empty()) {
        status_->setText(QStringLiteral("Показания не добавлены: в тексте нет ни одной строки с числами."));
        return false;
    }
    // Rows left blank at the end give way to the new readings.
    int from = table_->rowCount();
    const auto blank = [this](int row) {
        for (int column = SpacingColumn; column < InputColumns; ++column)
            if (table_->item(row, column) && !table_->item(row, column)->text().trimmed().isEmpty())
                return false;
        return true;
    };
    while (from > 0 && blank(from - 1))
        --from;
    if (from + read.Readings.size() > MaxSurveyReadings) {
        status_->setText(QStringLiteral("Показания не добавлены: в таблице не больше 1000 показаний."));
        return false;
    }
    SetReadings(from, read.Readings);
    Refit();
    return true;
}

void TSurveyDialog::Paste() {
    AddText(QApplication::clipboard()->text());
}

void TSurveyDialog::Open() {
    const QString path = ChooseOpenPath();
    if (path.isEmpty())
        return;
    folder_ = QFileInfo(path).absolutePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowErrorMessage(QStringLiteral("Не могу открыть файл показаний:\n\n") +
                         QDir::toNativeSeparators(path) + QStringLiteral("\n") + file.errorString());
        return;
    }
    const QByteArray bytes = file.read(4 * 1024 * 1024 + 1);
    if (bytes.size() > 4 * 1024 * 1024) {
        status_->setText(
            QStringLiteral("Файл не открыт: он больше 4 МБ, а в таблице не больше 1000 показаний."));
        return;
    }
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!IsValidUtf8(view)) {
        status_->setText(
            QStringLiteral("Файл не открыт: он не в кодировке UTF-8. Сохраните его из электронной "
                           "таблицы как «CSV UTF-8»."));
        return;
    }
    const TSurveyTableText read = ReadSurveyTable(Utf8ToUtf16(view));
    if (!read.Error.empty() || read.Readings.empty()) {
        status_->setText(QStringLiteral("Файл не открыт. ") +
                         (read.Error.empty() ? QStringLiteral("В нём нет ни одной строки с числами.")
                                             : ToQString(read.Error)));
        return;
    }
    table_->setRowCount(0);
    SetReadings(0, read.Readings);
    Refit();
}

void TSurveyDialog::Save() {
    std::vector<TSurveyReading> readings;
    std::vector<int> rows;
    const std::u16string error = ReadTable(readings, rows);
    if (!error.empty() || readings.empty()) {
        status_->setText(QStringLiteral("Нечего сохранить. ") +
                         (error.empty() ? QStringLiteral("В таблице нет показаний.") : ToQString(error)));
        return;
    }
    QString path = ChooseSavePath(QDir(folder_).filePath(QStringLiteral("Изыскания.csv")));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    const std::string bytes = Utf16ToUtf8(WriteSurveyTable(readings, userSeparator_));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0 ||
        !file.commit()) {
        ShowErrorMessage(QStringLiteral("Не могу сохранить показания:\n\n") + QDir::toNativeSeparators(path) +
                         QStringLiteral("\n") + file.errorString());
        return;
    }
    folder_ = QFileInfo(path).absolutePath();
}

std::u16string TSurveyDialog::ReadTable(std::vector<TSurveyReading>& readings, std::vector<int>& rows) const {
    readings.clear();
    rows.clear();
    for (int row = 0; row < table_->rowCount(); ++row) {
        std::u16string cells[4];
        bool empty = true;
        for (int column = SpacingColumn; column < InputColumns; ++column) {
            const QTableWidgetItem* item = table_->item(row, column);
            cells[column - SpacingColumn] = item ? std::u16string(ToU16View(item->text())) : std::u16string();
            empty = empty && QString(item ? item->text() : QString()).trimmed().isEmpty();
        }
        if (empty)
            continue;
        TSurveyReading reading;
        reading.Spacing = NAN;
        for (int i = 0; i < 4; ++i) {
            const std::u16string error = ReadSurveyCell(cells[i], i, row + 1, reading);
            if (!error.empty())
                return error;
        }
        const QTableWidgetItem* kept = table_->item(row, KeptColumn);
        reading.Kept = !kept || kept->checkState() == Qt::Checked;
        readings.push_back(reading);
        rows.push_back(row);
    }
    return {};
}

std::vector<TSurveyReading> TSurveyDialog::Readings() const {
    std::vector<TSurveyReading> readings;
    std::vector<int> rows;
    return ReadTable(readings, rows).empty() ? readings : std::vector<TSurveyReading>();
}

TSurveyDialog::~TSurveyDialog() {
    queued_.reset();
    if (worker_.joinable())
        worker_.join(); // the result it posts is discarded with this object
}

void TSurveyDialog::Refit() {
    TFitJob job;
    job.Generation = ++generation_;
    const std::u16string error = ReadTable(job.Readings, job.Rows);
    if (!error.empty()) {
        // Said at once; a fit still running belongs to older readings and will be dropped.
        queued_.reset();
        fitPending_ = false;
        fit_ = TSurveyFit();
        ShowFit({}, {}, error);
        return;
    }
    fitPending_ = true;
    ShowPending();
    if (worker_.joinable())
        queued_ = std::move(job);
    else
        StartFit(std::move(job));
}

void TSurveyDialog::StartFit(TFitJob job) {
    // The worker has its own copy of the readings and touches no widget; the dialog joins it before
    // it goes, so the result is always posted to a living object.
    worker_ = std::thread([this, job = std::move(job)] {
        // An exception must not leave the worker (it would end the program); it becomes the fit's
        // error, said in the dialog like any other.
        TSurveyFit fit;
        try {
            fit = FitSurvey(job.Readings);
        } catch (const std::exception&) {
            fit = TSurveyFit();
            fit.Error = u"Не удалось подобрать модель: не хватило памяти или данные слишком велики.";
        }
        QMetaObject::invokeMethod(
            this, [this, job, fit] { FitDone(job, fit); }, Qt::QueuedConnection);
    });
}

void TSurveyDialog::FitDone(const TFitJob& job, const TSurveyFit& fit) {
    worker_.join(); // posting this was its last act
    if (queued_) {
        TFitJob next = std::move(*queued_);
        queued_.reset();
        StartFit(std::move(next));
    }
    if (job.Generation != generation_)
        return; // the table has changed since
    fitPending_ = false;
    fit_ = fit;
    // The core counts the readings it was given; the user counts the rows of the table.
    std::u16string error = fit_.Error;
    for (size_t i = 0; i < job.Readings.size() && !error.empty(); ++i)
        if (!SurveyReadingError(job.Readings[i], i + 1).empty())
            error = SurveyReadingError(job.Readings[i], job.Rows[i] + 1);
    ShowFit(job.Readings, job.Rows, error);
}

// While the fit is made, nothing of an older one can be chosen or applied.
void TSurveyDialog::ShowPending() {
    fit_ = TSurveyFit();
    fitted_.clear();
    status_->setProperty("error", QString());
    uniform_->setEnabled(false);
    twoLayer_->setEnabled(false);
    uniform_->setText(QStringLiteral("Однородный грунт: подбор модели…"));
    twoLayer_->setText(QStringLiteral("Два пласта: подбор модели…"));
    ShowChoice();
}

void TSurveyDialog::ShowFit(const std::vector<TSurveyReading>& readings, const std::vector<int>& rows,
                            const std::u16string& error) {
    fitted_ = error.empty() ? readings : std::vector<TSurveyReading>();

    const QSignalBlocker blocker(table_);
    for (int row = 0; row < table_->rowCount(); ++row)
        for (int column = MeasuredColumn; column < ColumnCount; ++column)
            if (QTableWidgetItem* item = table_->item(row, column))
                item->setText(QString());
    TSurveyChartData chart;
    if (error.empty()) {
        for (size_t i = 0; i < readings.size(); ++i) {
            const int row = rows[i];
            const double measured = fit_.Measured[i];
            const double a = readings[i].Spacing;
            chart.Spacings.push_back(a);
            chart.Measured.push_back(measured);
            chart.Kept.push_back(readings[i].Kept);
            table_->item(row, MeasuredColumn)->setText(ToQString(FormatTenths(measured, userSeparator_)));
            const auto show = [&](const std::optional<TSurveyModel>& model, int column) {
                if (!model)
                    return;
                table_->item(row, column)->setText(ToQString(FormatTenths(model->At(a), userSeparator_)));
                const double percent = SurveyError(*model, a, measured) * 100;
                table_->item(row, column + 1)
                    ->setText(readings[i].Kept ? ToQString(FormatTenths(percent, userSeparator_))
                                               : QStringLiteral("не учт."));
            };
            show(fit_.Uniform, UniformColumn);
            show(fit_.TwoLayer, TwoLayerColumn);
        }
        chart.Uniform = fit_.Uniform;
        chart.TwoLayer = fit_.TwoLayer;
    }
    table_->resizeColumnsToContents();
    chart_->SetData(chart);

    uniform_->setEnabled(fit_.Uniform.has_value());
    twoLayer_->setEnabled(fit_.TwoLayer.has_value());
    uniform_->setText(fit_.Uniform ? QStringLiteral("Однородный грунт: ") +
                                         ToQString(SurveyModelText(*fit_.Uniform, userSeparator_)) +
                                         QStringLiteral(", среднеквадратичная ошибка ") +
                                         ToQString(SurveyPercent(fit_.Uniform->Rms, userSeparator_))
                                   : QStringLiteral("Однородный грунт"));
    twoLayer_->setText(fit_.TwoLayer ? QStringLiteral("Два пласта: ") +
                                           ToQString(SurveyModelText(*fit_.TwoLayer, userSeparator_)) +
                                           QStringLiteral(", среднеквадратичная ошибка ") +
                                           ToQString(SurveyPercent(fit_.TwoLayer->Rms, userSeparator_))
                                     : QStringLiteral("Два пласта"));
    // Two layers where they were found, unless the user chose the uniform soil.
    if (fit_.TwoLayer && !uniformChosen_)
        twoLayer_->setChecked(true);
    else if (!fit_.TwoLayer && fit_.Uniform)
        uniform_->setChecked(true);
    status_->setProperty("error", QString(error.empty() ? QString() : ToQString(error)));
    ShowChoice();
}

void TSurveyDialog::ShowChoice() {
    const QString error = status_->property("error").toString();
    QString text;
    if (fitPending_) {
        text = QStringLiteral("Подбор модели…");
    } else if (!error.isEmpty()) {
        text = error + QStringLiteral(" Подбор не выполнен.");
    } else {
        if (!fit_.TwoLayerNote.empty())
            text = QStringLiteral("Два пласта: ") + ToQString(fit_.TwoLayerNote);
        if (twoLayer_->isChecked() && fit_.TwoLayer) {
            const double h = fit_.TwoLayer->Thickness, field = FieldThickness(h);
            if (h < LeastThickness - 0.05 || h >= MostThickness + 0.05)
                text = QStringLiteral("Толщина верхнего пласта h = ") +
                       PlainText(std::round(h * 100) / 100, userSeparator_) +
                       QStringLiteral(" м вне пределов поля толщины (от 0,1 до 3 м): будет установлено ") +
                       ToQString(FormatPlain(field, userSeparator_)) + QStringLiteral(" м.");
        }
    }
    status_->setText(text);
    apply_->setEnabled(
        !fitPending_ && error.isEmpty() &&
        ((uniform_->isChecked() && fit_.Uniform) || (twoLayer_->isChecked() && fit_.TwoLayer)));
}

void TSurveyDialog::ApplyChosen() {
    const bool twoLayers = twoLayer_->isChecked() && fit_.TwoLayer;
    const std::optional<TSurveyModel>& model = twoLayers ? fit_.TwoLayer : fit_.Uniform;
    if (!model || fitPending_ || !apply_->isEnabled())
        return;
    applied_ = TSurveyRecord{fitted_, twoLayers};
    const TSurveyModel chosen = *model;
    accept();
    if (applySoil_.SoilTexts)
        applySoil_.SoilTexts(ToQString(SurveySoilText(chosen.Rho1, userSeparator_, systemSeparator_)),
                             ToQString(SurveySoilText(chosen.Rho2, userSeparator_, systemSeparator_)));
    if (twoLayers && applySoil_.Thickness)
        applySoil_.Thickness(FieldThickness(chosen.Thickness));
}

// Ctrl+V in the table pastes rows; Insert adds a row.
bool TSurveyDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            Paste();
            return true;
        }
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            AddRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
