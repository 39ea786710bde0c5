#include "TVariantsDialog.h"

#include "TCalculationFiles.h"
#include "TFitDialog.h"
#include "calculation_file.h"
#include "error_message.h"
#include "qt_text.h"
#include "shown_numbers.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The mark of a best value in the dialog; the copied text leaves it out, so its numbers stay numbers.
const QString BestMark = QStringLiteral("★ ");
// The widest a column of a variant grows before its texts wrap.
constexpr int MaxColumnWidth = 190;

QPushButton* Button(const char* name, const QString& text, const QString& hint) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

std::vector<TVariant> VariantsOf(const std::vector<TVariantEntry>& entries) {
    std::vector<TVariant> variants;
    for (const TVariantEntry& entry : entries)
        variants.push_back({std::u16string(ToU16View(entry.Name)), entry.Input});
    return variants;
}

TVariantsDialog::TVariantsDialog(QWidget* parent, std::vector<TVariantEntry> entries, const TNormChoice& norm,
                                 bool inDocument, TResultWindow window)
    : QDialog(parent), entries_(std::move(entries)), norm_(norm), window_(std::move(window)),
      userSeparator_(UserDecimalSeparator()), systemSeparator_(SystemDecimalSeparator().front()) {
    setObjectName(QStringLiteral("VariantsDialog"));
    setWindowTitle(QStringLiteral("Сравнение вариантов"));

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("VariantsStatus"));
    status_->setWordWrap(true);

    view_ = new QTableWidget;
    view_->setObjectName(QStringLiteral("VariantsTable"));
    view_->setSelectionBehavior(QAbstractItemView::SelectColumns);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(true);
    view_->setCornerButtonEnabled(false);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view_->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view_->verticalHeader()->setHighlightSections(false); // the results' names stay bold, the inputs' plain
    view_->setToolTip(QStringLiteral("Столбец — вариант. Лучшее значение строки результатов отмечено «★» и "
                                     "выделено жирным"));
    view_->installEventFilter(this);

    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("VariantsNote"));
    note_->setWordWrap(true);

    addFiles_ = Button("VariantsAddFiles", QStringLiteral("&Добавить файлы…"),
                       QStringLiteral("Добавить столбцы из файлов расчётов (*.stelvorn)"));
    addCurrent_ = Button("VariantsAddCurrent", QStringLiteral("Добавить &текущий расчёт"),
                         QStringLiteral("Добавить столбец «Текущий» с данными, введёнными в окне сейчас"));
    remove_ = Button("VariantsRemove", QStringLiteral("&Убрать"),
                     QStringLiteral("Убрать выбранный столбец из сравнения (Delete)"));
    open_ = Button("VariantsOpen", QStringLiteral("&Открыть"),
                   QStringLiteral("Открыть выбранный вариант в окне программы"));
    open_->setDefault(true);
    copy_ = Button("VariantsCopy", QStringLiteral("&Копировать"),
                   QStringLiteral("Скопировать всю таблицу в буфер обмена, через табуляцию (Ctrl+C)"));
    inDocument_ = new QCheckBox(QStringLiteral("&В документ"));
    inDocument_->setObjectName(QStringLiteral("VariantsInDocument"));
    inDocument_->setToolTip(QStringLiteral("Добавить таблицу вариантов в документ расчёта (PDF и печать)"));
    inDocument_->setChecked(inDocument);
    close_ = Button("VariantsClose", QStringLiteral("Закрыть"), QString());

    auto* adding = new QHBoxLayout;
    adding->addWidget(addFiles_);
    adding->addWidget(addCurrent_);
    adding->addWidget(remove_);
    adding->addStretch(1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(copy_);
    foot->addWidget(inDocument_);
    foot->addStretch(1);
    foot->addWidget(open_);
    foot->addWidget(close_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(status_);
    column->addLayout(adding);
    column->addWidget(view_, 1);
    column->addWidget(note_);
    column->addLayout(foot);

    ChooseFiles = [this] {
        return QFileDialog::getOpenFileNames(this, QStringLiteral("Добавить расчёты"), Folder,
                                             CalculationFileFilter());
    };
    connect(addFiles_, &QPushButton::clicked, this, &TVariantsDialog::AddFiles);
    connect(addCurrent_, &QPushButton::clicked, this, &TVariantsDialog::AddCurrent);
    connect(remove_, &QPushButton::clicked, this, &TVariantsDialog::RemoveSelected);
    connect(open_, &QPushButton::clicked, this, &TVariantsDialog::OpenSelected);
    connect(copy_, &QPushButton::clicked, this, &TVariantsDialog::CopyTable);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(view_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(view_, &QTableWidget::cellDoubleClicked, this, [this] { OpenSelected(); });
    connect(view_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this] { OpenSelected(); });
    // Ctrl+C copies the whole table wherever the focus is in the dialog; in the table the filter takes
    // it before the view would copy one cell.
    auto* copyKey = new QShortcut(QKeySequence::Copy, this);
    connect(copyKey, &QShortcut::activated, this, &TVariantsDialog::CopyTable);

    Rebuild(entries_.empty() ? -1 : 0);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room =
        screen ? screen->availableGeometry().size() - TFitDialog::FrameAllowance : QSize(900, 620);
    resize(QSize(900, 620).boundedTo(room).expandedTo(minimumSizeHint()));
}

bool TVariantsDialog::InDocument() const {
    return inDocument_->isChecked();
}

int TVariantsDialog::Selected() const {
    const QList<QTableWidgetSelectionRange> ranges = view_->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().leftColumn();
}

void TVariantsDialog::AddFiles() {
    const QStringList paths = ChooseFiles();
    if (!paths.isEmpty())
        AddPaths(paths);
}

void TVariantsDialog::AddPaths(const QStringList& paths) {
    QStringList failures;
    int last = -1;
    for (const QString& path : paths) {
        const TCalculationRead read = ReadCalculationFile(path);
        if (!read.Calculation) {
            failures << QDir::toNativeSeparators(path) + QStringLiteral("\n") + read.Error;
            continue;
        }
        const QFileInfo file(path);
        Folder = file.absolutePath();
        const QString objectName = read.Calculation->ObjectName.trimmed();
        TVariantEntry entry{objectName.isEmpty() ? file.completeBaseName() : objectName,
                            file.absoluteFilePath(), read.Calculation->Inputs};
        // A file already in the table is read again in its place: it may have been saved since.
        const auto same = std::find_if(entries_.begin(), entries_.end(),
                                       [&](const TVariantEntry& e) { return e.Path == entry.Path; });
        if (same != entries_.end()) {
            *same = std::move(entry);
            last = static_cast<int>(same - entries_.begin());
        } else {
            entries_.push_back(std::move(entry));
            last = static_cast<int>(entries_.size()) - 1;
        }
    }
    if (last >= 0)
        Rebuild(last);
    if (!failures.isEmpty())
        ShowErrorMessage((failures.size() == 1 ? QStringLiteral("Не могу прочитать расчёт:\n\n")
                                               : QStringLiteral("Не могу прочитать расчёты:\n\n")) +
                         failures.join(QStringLiteral("\n\n")));
}

void TVariantsDialog::AddCurrent() {
    TVariantEntry entry{QStringLiteral("Текущий"), QString(), window_.ReadInputs()};
    // One column of the window's inputs: added again, it shows them as they are now.
    const auto current = std::find_if(entries_.begin(), entries_.end(),
                                      [](const TVariantEntry& e) { return e.Path.isEmpty(); });
    if (current != entries_.end()) {
        *current = std::move(entry);
        Rebuild(static_cast<int>(current - entries_.begin()));
    } else {
        entries_.push_back(std::move(entry));
        Rebuild(static_cast<int>(entries_.size()) - 1);
    }
}

void TVariantsDialog::RemoveSelected() {
    const int selected = Selected();
    if (selected < 0 || selected >= static_cast<int>(entries_.size()))
        return;
    entries_.erase(entries_.begin() + selected);
    Rebuild(std::min(selected, static_cast<int>(entries_.size()) - 1));
}

void TVariantsDialog::OpenSelected() {
    const int selected = Selected();
    if (selected < 0 || selected >= static_cast<int>(entries_.size()))
        return;
    const TVariantEntry entry = entries_[selected];
    // A file opens whole (its object, norm, survey, ...) where the window can open files; otherwise,
    // and for the window's own inputs, the inputs are set.
    if (!entry.Path.isEmpty() && window_.OpenFile)
        window_.OpenFile(entry.Path);
    else
        window_.ApplyInputs(entry.Input);
    accept();
}

void TVariantsDialog::CopyTable() {
    if (!entries_.empty())
        QGuiApplication::clipboard()->setText(ToQString(VariantsTableText(table_)));
}

bool TVariantsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopyTable();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            RemoveSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TVariantsDialog::Rebuild(int select) {
    table_ = BuildVariantsTable(VariantsOf(entries_), norm_, userSeparator_, systemSeparator_);

    const QSignalBlocker blocker(view_);
    view_->clear();
    view_->setColumnCount(static_cast<int>(entries_.size()));
    view_->setRowCount(entries_.empty() ? 0 : static_cast<int>(table_.Rows.size()));
    for (int c = 0; c < view_->columnCount(); ++c) {
        auto* heading = new QTableWidgetItem(entries_[c].Name);
        heading->setToolTip(entries_[c].Path.isEmpty() ? QStringLiteral("Данные окна на момент добавления")
                                                       : QDir::toNativeSeparators(entries_[c].Path));
        view_->setHorizontalHeaderItem(c, heading);
    }
    QFont bold = view_->font();
    bold.setBold(true);
    for (int r = 0; r < view_->rowCount(); ++r) {
        const TVariantsRow& row = table_.Rows[r];
        auto* name = new QTableWidgetItem(ToQString(row.Name));
        if (row.Result)
            name->setFont(bold);
        view_->setVerticalHeaderItem(r, name);
        for (int c = 0; c < view_->columnCount(); ++c) {
            const bool best = row.Best[c];
            auto* item = new QTableWidgetItem((best ? BestMark : QString()) + ToQString(row.Cells[c]));
            item->setTextAlignment(Qt::AlignCenter);
            if (best)
                item->setFont(bold);
            view_->setItem(r, c, item);
        }
    }
    view_->resizeColumnsToContents();
    for (int c = 0; c < view_->columnCount(); ++c)
        view_->setColumnWidth(c, std::min(view_->columnWidth(c), MaxColumnWidth));
    view_->resizeRowsToContents();

    status_->setText(
        entries_.empty()
            ? QStringLiteral("Добавьте файлы расчётов или текущий расчёт: каждый станет столбцом "
                             "таблицы.")
            : QStringLiteral("Соответствие — норме ") + PlainText(norm_.Norm, userSeparator_) + OhmSuffix() +
                  (norm_.Raised ? QStringLiteral(", повышенной по грунту каждого варианта") : QString()) +
                  QStringLiteral(" (норма выбирается в подборе, Ctrl+R). Лучшее значение каждой "
                                 "строки результатов отмечено «★» и жирным."));
    note_->setText(entries_.empty() ? QString() : ToQString(table_.Note));
    copy_->setEnabled(!entries_.empty());
    if (select >= 0 && select < view_->columnCount()) {
        view_->setCurrentCell(0, select);
        view_->selectColumn(select);
    }
    SelectionChanged();
}

void TVariantsDialog::SelectionChanged() {
    const bool any = Selected() >= 0;
    remove_->setEnabled(any);
    open_->setEnabled(any);
}
