#pragma once

#include "result_window.h"
#include "variants.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

// One column of the comparison: a calculation file or the window's inputs as they were when added.
struct TVariantEntry {
    QString Name; // the heading: the object's name from the file, else the file's name; «Текущий»
    QString Path; // the file it was read from; empty for the window's inputs
    TEarthingInput Input;
};

// The entries as the core's variants, named by their headings.
std::vector<TVariant> VariantsOf(const std::vector<TVariantEntry>& entries);

// «Сравнить варианты»: calculation files and the window's inputs side by side, a column each, a row per
// input and per result, the best value of each result row in bold with a star. A variant can be
// opened in the window, the table copied as tab-separated text and put into the document.
class TVariantsDialog : public QDialog {
  public:
    TVariantsDialog(QWidget* parent, std::vector<TVariantEntry> entries, const TNormChoice& norm,
                    bool inDocument, TResultWindow window);

    const std::vector<TVariantEntry>& Entries() const { return entries_; }
    bool InDocument() const;
    const TVariantsTable& Table() const { return table_; }
    QTableWidget* View() const { return view_; }

    // Asks for the files to add; none = cancelled. A file dialog by default; tests put their own in.
    std::function<QStringList()> ChooseFiles;
    // The folder the file dialog starts in; follows the files added.
    QString Folder;

    void AddFiles();                         // «Добавить файлы…»
    void AddPaths(const QStringList& paths); // reads them; a file that does not read is reported
    void AddCurrent();                       // «Добавить текущий расчёт»
    void RemoveSelected();                   // «Убрать»
    void OpenSelected();                     // «Открыть»: in the window, and the dialog closes
    void CopyTable();                        // «Копировать», Ctrl+C

    // The column selected, or -1.
    int Selected() const;

  private:
    void Rebuild(int select);
    void SelectionChanged();
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::vector<TVariantEntry> entries_;
    TNormChoice norm_;
    TResultWindow window_;
    char16_t userSeparator_, systemSeparator_;
    TVariantsTable table_;

    QLabel* status_;
    QTableWidget* view_;
    QLabel* note_;
    QPushButton *addFiles_, *addCurrent_, *remove_, *open_, *copy_, *close_;
    QCheckBox* inDocument_;
};
