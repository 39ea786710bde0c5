// Calculation files from the real window: Ctrl+O, Ctrl+S and Ctrl+Shift+S, the properties dialog, the
// recent list across windows, the close prompt's answers and `stelvorn FILE`.
#include "TCalculationFiles.h"
#include "TCalculationPropertiesDialog.h"
#include "TMeasurementDialog.h"
#include "TResultActions.h"
#include "Unit1.h"
#include "calculation_file.h"
#include "command_line.h"
#include "message_box_watcher.h"
#include "qt_text.h"
#include "settings_file.h"
#include "window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Every input away from the window's first start.
TEarthingInput OddInputs() {
    return {.ClimaticRegion = 4,
            .TopLayer = u"Суглинок",
            .BottomLayer = u"250",
            .Thickness = 2.25,
            .Depth = 0.8,
            .Form = 2,
            .Width = 16,
            .Length = 4.5,
            .MutualDisposition = 2,
            .Number = 7,
            .IntervalMultiplicity = 3,
            .FormHor = 3,
            .WidthHor = 12};
}

const TSurveyRecord Survey{
    .Readings = {{.Spacing = 2, .Depth = 0.5, .Resistance = 31.4, .Apparent = std::nullopt, .Kept = true},
                 {.Spacing = 4, .Depth = 0.5, .Resistance = 12.2, .Apparent = std::nullopt, .Kept = false}},
    .TwoLayers = true};

class CalculationFiles : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        files = form->ResultActions->Files;
    }

    // Presses a key where the keyboard focus is, as a user does; back in the window first after a
    // message box (offscreen, no window manager gives the window its focus back).
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        if (!QApplication::focusWidget()) {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
        }
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }

    // Saves with Ctrl+S (or the key given), answering the file dialog, if it asks, with `path`.
    void SaveWith(const QString& path, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        files->ChooseSavePath = [path](const QString&) { return path; };
        Press(Qt::Key_S, modifiers);
    }
    void OpenWith(const QString& path) {
        files->ChooseOpenPath = [path](const QString&) { return path; };
        Press(Qt::Key_O);
    }

    QString Caption() const { return form->windowTitle(); }
    QString SettingsPath() const { return SettingsFilePath(folder.path() + u'/'); }

    // Sets the object's name and note in «Свойства расчёта…» by the keyboard: Enter in the name takes both.
    void TypeProperties(const QString& name, const QString& note) {
        files->RunPropertiesDialog = [=](TCalculationPropertiesDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, name, note] {
                dialog.activateWindow();
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return QApplication::focusWidget() == dialog.ObjectNameField(); }));
                auto type = [](const QString& text) {
                    for (QChar c : text)
                        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                            QString(c), Qt::NoModifier);
                };
                QTest::keyClick(dialog.ObjectNameField(), Qt::Key_A, Qt::ControlModifier);
                type(name);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(QApplication::focusWidget(), dialog.NoteField());
                QTest::keyClick(dialog.NoteField(), Qt::Key_A, Qt::ControlModifier);
                type(note);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            });
            dialog.exec();
        };
        files->PropertiesAction->trigger();
        // Back in the window, its focus where it was.
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }));
    }

    TCalculationFiles* files = nullptr;
};

// Every input, the object's name and note, the norm, the survey and the measurement go through a file
// and come back in another window, saved under one decimal separator and opened under the other.
TEST_F(CalculationFiles, EverythingComesBackUnderEitherSeparator) {
    for (const auto& [saveSeparator, openSeparator] : {std::pair{u',', u'.'}, std::pair{u'.', u','}}) {
        SCOPED_TRACE(static_cast<char>(saveSeparator));
        OverrideUserDecimalSeparator(saveSeparator);
        form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        files = form->ResultActions->Files;
        TResultActions* actions = form->ResultActions;
        const QString caption = Caption();

        // The measurement dialog records what it applied.
        actions->RunMeasurementDialog = [](TMeasurementDialog& dialog) {
            dialog.Measured()->setText(QStringLiteral("18"));
            dialog.StateButton(TSoilState::Worst)->setChecked(true);
            dialog.ApplySelected();
        };
        form->sSpinEdit3->setFocus();
        Press(Qt::Key_M);
        ASSERT_TRUE(actions->Measurement());
        EXPECT_EQ(*actions->Measurement(), (TMeasurementRecord{18, TSoilState::Worst}));
        actions->SetRecords({4, true}, Survey, actions->Measurement());
        form->ApplyInputs(OddInputs());
        TypeProperties(QStringLiteral("Подстанция «Северная» №2"), QStringLiteral("вариант с контуром"));
        EXPECT_EQ(files->ObjectName(), "Подстанция «Северная» №2");

        // The first Ctrl+S asks for a name, suggested from the object's; the suffix is added.
        QStringList suggested;
        files->ChooseSavePath = [&](const QString& offered) {
            suggested << offered;
            return folder.filePath(QStringLiteral("северная"));
        };
        form->sSpinEdit3->setFocus();
        Press(Qt::Key_S);
        ASSERT_EQ(suggested.size(), 1);
        EXPECT_TRUE(suggested[0].endsWith(u"/Подстанция «Северная» №2.stelvorn"))
            << suggested[0].toStdString();
        const QString path = folder.filePath(QStringLiteral("северная.stelvorn"));
        ASSERT_TRUE(QFile::exists(path));
        EXPECT_EQ(Caption(), caption + " — северная.stelvorn");
        SaveWith(QString()); // a second Ctrl+S writes the same file without asking
        EXPECT_EQ(suggested.size(), 1);

        // A second window under the other separator opens it from its recent list.
        form.reset();
        OverrideUserDecimalSeparator(openSeparator);
        form = std::make_unique<TForm1>();
        form->show();
        files = form->ResultActions->Files;
        ASSERT_EQ(files->RecentFiles().value(0), path);
        ASSERT_FALSE(files->RecentMenu->actions().isEmpty());
        EXPECT_EQ(files->RecentMenu->actions()[0]->toolTip(), QDir::toNativeSeparators(path));
        files->RecentMenu->actions()[0]->trigger();
        EXPECT_EQ(form->ReadInputs(), OddInputs());
        EXPECT_EQ(form->sDecimalSpinEdit6->Text(), QStringLiteral("4") + QChar(openSeparator) + "5");
        EXPECT_EQ(files->ObjectName(), "Подстанция «Северная» №2");
        EXPECT_EQ(files->Note(), "вариант с контуром");
        EXPECT_EQ(form->ResultActions->Norm().Norm, 4);
        EXPECT_TRUE(form->ResultActions->Norm().Raised);
        ASSERT_TRUE(form->ResultActions->Survey());
        EXPECT_EQ(form->ResultActions->Survey()->Readings.size(), 2U);
        EXPECT_FALSE(form->ResultActions->Survey()->Readings[1].Kept);
        EXPECT_EQ(form->ResultActions->Measurement(), (TMeasurementRecord{18, TSoilState::Worst}));
        EXPECT_EQ(Caption(), caption + " — северная.stelvorn");
        EXPECT_FALSE(files->Changed());
        form.reset();
        QFile::remove(path);
        QFile::remove(folder.filePath(QStringLiteral("стелворн-недавние.txt")));
    }
}

// After a file was opened or saved, a change of an input or of the name marks the caption, a change
// back clears it; Ctrl+Shift+S asks for a new name even with a file, and «Отмена» writes nothing.
TEST_F(CalculationFiles, CaptionFollowsTheChanges) {
    const QString caption = Caption();
    form->sSpinEdit1->setFocus();
    TypeInto(form->sSpinEdit1, QStringLiteral("3"));
    EXPECT_EQ(Caption(), caption); // no file, no mark
    EXPECT_FALSE(files->Changed());

    const QString path = folder.filePath(QStringLiteral("объект.stelvorn"));
    SaveWith(path);
    EXPECT_EQ(Caption(), caption + " — объект.stelvorn");
    TypeInto(form->sSpinEdit1, QStringLiteral("4"));
    EXPECT_EQ(Caption(), caption + " — объект.stelvorn*");
    TypeInto(form->sSpinEdit1, QStringLiteral("3"));
    EXPECT_EQ(Caption(), caption + " — объект.stelvorn");
    TypeProperties(QStringLiteral("Склад"), QString());
    EXPECT_EQ(Caption(), caption + " — объект.stelvorn*");

    QStringList asked;
    files->ChooseSavePath = [&](const QString& suggested) {
        asked << suggested;
        return QString();
    };
    form->sSpinEdit1->setFocus();
    Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(asked, QStringList{path});
    EXPECT_EQ(Caption(), caption + " — объект.stelvorn*");
    EXPECT_EQ(ReadCalculationFile(path).Calculation->ObjectName, "");
}

// Opening a file is one step of the undo history: Ctrl+Z outside a field brings back the inputs the
// window had before, every label with them, and Ctrl+Shift+Z the file's again.
TEST_F(CalculationFiles, OpeningAFileIsOneUndoStep) {
    const TEarthingInput before = form->ReadInputs();
    const QStringList labels = ResultLabels();
    TCalculation odd = files->Current();
    odd.Inputs = OddInputs();
    const QString path = folder.filePath(QStringLiteral("другой объект.stelvorn"));
    ASSERT_FALSE(WriteCalculationFile(path, odd).has_value());

    OpenWith(path);
    ASSERT_EQ(form->ReadInputs(), OddInputs());
    form->sRadioButton1->setFocus();
    Press(Qt::Key_Z);
    EXPECT_EQ(form->ReadInputs(), before);
    EXPECT_EQ(ResultLabels(), labels);
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->ReadInputs(), OddInputs());
}

// A file that cannot be opened is named in a message that says what is wrong, and the window stays
// as it was: every control, the caption, the file it had.
TEST_F(CalculationFiles, BadFileLeavesTheWindowAsItWas) {
    form->ApplyInputs(OddInputs());
    const QString good = folder.filePath(QStringLiteral("хороший.stelvorn"));
    SaveWith(good);
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = goodFile.readAll();
    QByteArray newer = bytes, otherFormat = bytes;
    newer.replace("\"version\": 1", "\"version\": 99");
    otherFormat.replace("stelvorn-calculation", "other-calculation");
    ASSERT_NE(newer, bytes);
    ASSERT_NE(otherFormat, bytes);
    const std::pair<const char*, QByteArray> cases[] = {{"не json.stelvorn", "это не расчёт"},
                                                        {"пустой.stelvorn", ""},
                                                        {"обрезанный.stelvorn", bytes.left(bytes.size() / 2)},
                                                        {"новее.stelvorn", newer},
                                                        {"чужой.stelvorn", otherFormat},
                                                        {"нет такого.stelvorn", {}}};

    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(QString::fromUtf8(name));
        if (!content.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const TEarthingInput before = form->ReadInputs();
        const QStringList labels = ResultLabels();
        const QString caption = Caption();
        TMessageBoxWatcher boxes;
        OpenWith(path);
        ASSERT_EQ(boxes.shown.size(), 1);
        const QString text = boxes.shown[0].text;
        EXPECT_TRUE(text.startsWith(u"Не могу открыть расчёт:")) << text.toStdString();
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path))) << text.toStdString();
        EXPECT_GT(text.size(), QStringLiteral("Не могу открыть расчёт:\n\n").size() + path.size() + 10);
        EXPECT_EQ(form->ReadInputs(), before);
        EXPECT_EQ(ResultLabels(), labels);
        EXPECT_EQ(Caption(), caption);
        EXPECT_EQ(files->FilePath(), good);
        EXPECT_FALSE(files->RecentFiles().contains(path));
    }
}

// Closing a changed calculation asks; each answer does what it says. The settings file is written
// whenever the window closes and only then.
TEST_F(CalculationFiles, ClosePromptAnswers) {
    const struct {
        const char* name;
        QMessageBox::StandardButton answer; // NoButton: Escape
        bool brokenFile;                    // the file's place refuses the write
        bool closes;
        int32_t numberInFile;
    } cases[] = {
        {"Сохранить", QMessageBox::Save, false, true, 5},
        {"Не сохранять", QMessageBox::Discard, false, true, 2},
        {"Отмена", QMessageBox::Cancel, false, false, 2},
        {"Escape", QMessageBox::NoButton, false, false, 2},
        {"Сохранить, но не записать", QMessageBox::Save, true, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        files = form->ResultActions->Files;
        QFile::remove(SettingsPath());

        const QString path = folder.filePath(QStringLiteral("закрытие.stelvorn"));
        QFile::remove(path);
        form->sSpinEdit1->setFocus();
        TypeInto(form->sSpinEdit1, QStringLiteral("2"));
        SaveWith(path);
        TypeInto(form->sSpinEdit1, QStringLiteral("5"));
        if (c.brokenFile) { // a folder now stands where the file was
            ASSERT_TRUE(QFile::remove(path));
            ASSERT_TRUE(QDir().mkdir(path));
        }
        TMessageBoxWatcher boxes(c.answer);
        EXPECT_EQ(form->close(), c.closes);
        ASSERT_GE(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].text, "Сохранить изменения в расчёте «закрытие.stelvorn»?");
        QStringList buttons = boxes.shown[0].buttonTexts;
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"Не сохранять", "Отмена", "Сохранить"}));
        if (c.brokenFile) {
            ASSERT_EQ(boxes.shown.size(), 2); // then the failure, naming the file
            EXPECT_TRUE(boxes.shown[1].text.contains(QDir::toNativeSeparators(path)));
            EXPECT_TRUE(files->Changed());
            ASSERT_TRUE(QDir().rmdir(path));
        } else {
            EXPECT_EQ(boxes.shown.size(), 1);
            EXPECT_EQ(ReadCalculationFile(path).Calculation->Inputs.Number, c.numberInFile);
        }
        EXPECT_EQ(form->isVisible(), !c.closes);
        EXPECT_EQ(QFile::exists(SettingsPath()), c.closes);
    }

    // Without a file there is nothing to ask.
    form = std::make_unique<TForm1>();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TypeInto(form->sSpinEdit1, QStringLiteral("6"));
    TMessageBoxWatcher boxes;
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// The last five files opened or saved, newest first, across windows; one that is gone is reported
// and leaves the list, in this window and the next.
TEST_F(CalculationFiles, RecentListAcrossWindows) {
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        paths.prepend(folder.filePath(QStringLiteral("вариант %1.stelvorn").arg(i)));
        SaveWith(paths.first(), Qt::ControlModifier | Qt::ShiftModifier);
    }
    paths.removeLast();
    EXPECT_EQ(files->RecentFiles(), paths);
    const QList<QAction*> items = files->RecentMenu->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0]->text(), "&1 вариант 6.stelvorn");

    form = std::make_unique<TForm1>();
    files = form->ResultActions->Files;
    EXPECT_EQ(files->RecentFiles(), paths);
    ASSERT_TRUE(QFile::remove(paths[2]));
    TMessageBoxWatcher boxes;
    files->RecentMenu->actions()[2]->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QDir::toNativeSeparators(paths[2])));
    EXPECT_TRUE(files->FilePath().isEmpty()); // nothing opened
    paths.removeAt(2);
    EXPECT_EQ(files->RecentFiles(), paths);
    EXPECT_EQ(files->RecentMenu->actions().size(), 4);

    form = std::make_unique<TForm1>();
    EXPECT_EQ(form->ResultActions->Files->RecentFiles(), paths);
}

// The file commands answer their keys from any control and head the result panel's context menu.
TEST_F(CalculationFiles, KeysAndContextMenu) {
    EXPECT_EQ(files->OpenAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(files->SaveAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(files->SaveAsAction->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(form->ResultActions->Action3->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    for (QWidget* target :
         {form->findChild<QWidget*>(QStringLiteral("sPanel1")), static_cast<QWidget*>(form->sLabel39)}) {
        const QList<QAction*> offered = target->actions();
        ASSERT_GE(offered.size(), 5);
        EXPECT_EQ(offered.mid(0, 5),
                  (QList<QAction*>{files->OpenAction, files->RecentMenu->menuAction(), files->SaveAction,
                                   files->SaveAsAction, files->PropertiesAction}));
    }
    EXPECT_FALSE(files->RecentMenu->menuAction()->isEnabled()); // nothing yet

    for (QWidget* focus :
         {static_cast<QWidget*>(form->sComboBox1), static_cast<QWidget*>(form->sRadioButton2)}) {
        focus->setFocus();
        int asked = 0;
        files->ChooseOpenPath = [&](const QString&) {
            ++asked;
            return QString();
        };
        Press(Qt::Key_O);
        EXPECT_EQ(asked, 1);
    }
}

// `stelvorn FILE`: the argument, a path or a file:// URL, made absolute.
TEST(CommandLine, CalculationFileArgument) {
    const std::pair<QStringList, QString> cases[] = {
        {{"stelvorn"}, ""},
        {{"stelvorn", ""}, ""},
        {{"stelvorn", "/tmp/объект.stelvorn"}, "/tmp/объект.stelvorn"},
        {{"stelvorn", "file:///tmp/%D0%BE%D0%B1%D1%8A%D0%B5%D0%BA%D1%82%201.stelvorn"},
         "/tmp/объект 1.stelvorn"},
        {{"stelvorn", "объект.stelvorn", "лишний"}, QDir::current().absoluteFilePath("объект.stelvorn")},
    };
    for (const auto& [arguments, path] : cases)
        EXPECT_EQ(CalculationFileArgument(arguments), path) << arguments.join(u' ').toStdString();
}

// The file named on the command line wins over the saved inputs; a bad one is reported and the saved
// inputs stay.
TEST_F(CalculationFiles, StartWithAFile) {
    form->ApplyInputs(OddInputs());
    const QString path = folder.filePath(QStringLiteral("с командной строки.stelvorn"));
    SaveWith(path);
    form->sSpinEdit1->setFocus();
    TypeInto(form->sSpinEdit1, QStringLiteral("11"));
    const TEarthingInput saved = form->ReadInputs();
    {
        TMessageBoxWatcher boxes(QMessageBox::Discard);
        ASSERT_TRUE(form->close()); // the settings file keeps 11 rods
    }

    form = std::make_unique<TForm1>();
    ShowWindow(*form, {QStringLiteral("stelvorn"), QUrl::fromLocalFile(path).toString()});
    EXPECT_EQ(form->ReadInputs(), OddInputs());
    EXPECT_EQ(form->ResultActions->Files->FilePath(), path);
    EXPECT_TRUE(form->windowTitle().endsWith(u" — с командной строки.stelvorn"));

    form = std::make_unique<TForm1>();
    const QString missing = folder.filePath(QStringLiteral("нет такого.stelvorn"));
    TMessageBoxWatcher boxes;
    ShowWindow(*form, {QStringLiteral("stelvorn"), missing});
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QDir::toNativeSeparators(missing)));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->ReadInputs(), saved);
}

} // namespace
