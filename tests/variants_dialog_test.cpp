// «Сравнить варианты…» from the real window: files and the current inputs added by mouse and keys, the
// table copied, a variant opened in the window, files that do not read reported by name, and the table
// in the document.
#include "TCalculationFiles.h"
#include "TResultActions.h"
#include "TVariantsDialog.h"
#include "Unit1.h"
#include "calculation_file.h"
#include "message_box_watcher.h"
#include "qt_text.h"
#include "window_fixture.h"
#include "worked_examples.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEarthingInput FiveInContour() {
    TEarthingInput in = FirstExample();
    in.Number = 5;
    in.MutualDisposition = 2;
    in.Length = 3;
    return in;
}

TEarthingInput OneRod() {
    TEarthingInput in = FirstExample();
    in.Number = 1;
    in.TopLayer = u"Глина (40)";
    return in;
}

class Variants : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        actions = form->ResultActions;
        house = Write(QStringLiteral("дом.stelvorn"), QStringLiteral("Дом «Заречье»"), FiveInContour());
        bath = Write(QStringLiteral("баня.stelvorn"), QString(), OneRod());
    }

    QString Write(const QString& name, const QString& object, const TEarthingInput& inputs) {
        TCalculation calculation;
        calculation.Inputs = inputs;
        calculation.ObjectName = object;
        const QString path = folder.filePath(name);
        const std::optional<QString> error = WriteCalculationFile(path, calculation);
        EXPECT_FALSE(error) << error->toStdString();
        return path;
    }

    // Opens the dialog with Ctrl+D where the focus is, runs it modal as the program does and hands it to
    // `use` once it is up and active; closes it if `use` leaves it open.
    void Compare(const std::function<void(TVariantsDialog&)>& use) {
        bool opened = false;
        actions->RunVariantsDialog = [&](TVariantsDialog& dialog) {
            opened = true;
            ExecWhenActive(dialog, [&] { use(dialog); });
        };
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.get(); }));
        QTest::keyClick(Focus(), Qt::Key_D, Qt::ControlModifier);
        EXPECT_TRUE(opened);
    }

    // Runs the dialog as the program does, without waiting for the window manager to activate it.
    void Shown(const std::function<void(TVariantsDialog&)>& use) {
        actions->RunVariantsDialog = [&](TVariantsDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&] {
                QTest::qWait(200);
                use(dialog);
                dialog.reject();
            });
            dialog.exec();
        };
        actions->ActionVariantsExecute();
    }

    static void ClickButton(TVariantsDialog& dialog, const char* name) {
        auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QStringList Headings(TVariantsDialog& dialog) {
        QStringList headings;
        for (int c = 0; c < dialog.View()->columnCount(); ++c)
            headings << dialog.View()->horizontalHeaderItem(c)->text();
        return headings;
    }

    // The cells of the row with that name, as the dialog shows them.
    static QStringList Row(TVariantsDialog& dialog, const QString& name) {
        QTableWidget* view = dialog.View();
        for (int r = 0; r < view->rowCount(); ++r)
            if (view->verticalHeaderItem(r)->text() == name) {
                QStringList cells;
                for (int c = 0; c < view->columnCount(); ++c)
                    cells << view->item(r, c)->text();
                return cells;
            }
        ADD_FAILURE() << name.toStdString();
        return {};
    }

    static void ClickHeading(TVariantsDialog& dialog, int column) {
        QHeaderView* header = dialog.View()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(x, header->height() / 2));
    }

    TResultActions* actions = nullptr;
    QString house, bath;
};

// Two files by mouse and the current inputs: columns named by the object or the file, the best total
// starred in the dialog; Ctrl+C copies the whole table without marks; a file column opened with Enter
// sets the window's inputs; the variants stay for the next opening.
TEST_F(Variants, TwoFilesAndTheCurrentCopiedAndOneOpened) {
    const TEarthingInput current = form->ReadInputs();
    Compare([&](TVariantsDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Сравнение вариантов");
        dialog.ChooseFiles = [&] { return QStringList{house, bath}; };
        ClickButton(dialog, "VariantsAddFiles");
        ClickButton(dialog, "VariantsAddCurrent");
        EXPECT_EQ(Headings(dialog), (QStringList{"Дом «Заречье»", "баня", "Текущий"}));
        const QStringList totals = Row(dialog, QStringLiteral("Общее сопротивление R, Ом"));
        ASSERT_EQ(totals.size(), 3);
        EXPECT_TRUE(totals[0].startsWith(QStringLiteral("★ "))) << totals[0].toStdString();
        EXPECT_FALSE(totals[1].contains(u'★'));
        EXPECT_EQ(Row(dialog, QStringLiteral("Количество, шт.")), (QStringList{"5", "1", "1"}));

        dialog.View()->setFocus();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(dialog.View(), Qt::Key_C, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        EXPECT_EQ(copied, ToQString(VariantsTableText(dialog.Table())));
        EXPECT_TRUE(copied.startsWith(QStringLiteral("\tДом «Заречье»\tбаня\tТекущий\n")));
        EXPECT_FALSE(copied.contains(u'★'));

        ClickHeading(dialog, 0);
        EXPECT_EQ(dialog.Selected(), 0);
        QTest::keyClick(dialog.View(), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(form->ReadInputs(), FiveInContour());
    EXPECT_NE(form->ReadInputs(), current);
    // Opened as the user's own opening does: the window's file now, one step of the undo history.
    EXPECT_EQ(actions->Files->FilePath(), QFileInfo(house).absoluteFilePath());
    actions->ActionUndo->trigger();
    EXPECT_EQ(form->ReadInputs(), current);
    actions->ActionRedo->trigger();
    EXPECT_EQ(form->ReadInputs(), FiveInContour());

    // Opened again: the same three columns; Delete takes the selected one away, Escape closes.
    Compare([&](TVariantsDialog& dialog) {
        EXPECT_EQ(Headings(dialog), (QStringList{"Дом «Заречье»", "баня", "Текущий"}));
        ClickHeading(dialog, 1);
        QTest::keyClick(dialog.View(), Qt::Key_Delete);
        EXPECT_EQ(Headings(dialog), (QStringList{"Дом «Заречье»", "Текущий"}));
        QTest::keyClick(dialog.View(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(actions->Variants().size(), 2u);
    EXPECT_EQ(form->ReadInputs(), FiveInContour()); // closing applies nothing
}

// Files that do not read are named in one message with what is wrong; the readable one is added.
TEST_F(Variants, FilesThatDoNotReadAreNamedAndTheOthersAdded) {
    const QString broken = folder.filePath(QStringLiteral("обрыв.stelvorn"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"stelvorn-calculation\", \"vers");
    file.close();
    const QString missing = folder.filePath(QStringLiteral("нет такого.stelvorn"));
    TMessageBoxWatcher watcher;
    Compare([&](TVariantsDialog& dialog) {
        dialog.ChooseFiles = [&] { return QStringList{broken, bath, missing}; };
        ClickButton(dialog, "VariantsAddFiles");
        EXPECT_EQ(Headings(dialog), (QStringList{"баня"}));
    });
    ASSERT_EQ(watcher.shown.size(), 1);
    const QString text = watcher.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Не могу прочитать расчёты:"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("обрыв.stelvorn"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("нет такого.stelvorn"))) << text.toStdString();
    EXPECT_EQ(text.count(u'\n'), 2 + 3 + 1) << text.toStdString(); // each: path, then why
}

// A file variant opens through the window's own file opening once the window offers one; the
// window's inputs as a column are set through the controls.
TEST_F(Variants, OpeningAFileGoesThroughTheWindowsOpenFile) {
    QStringList opened;
    std::vector<TEarthingInput> applied;
    TResultWindow window;
    window.Window = form.get();
    window.ReadInputs = [] { return FirstExample(); };
    window.ApplyInputs = [&](const TEarthingInput& in) { applied.push_back(in); };
    window.OpenFile = [&](const QString& path) { opened << path; };
    std::vector<TVariantEntry> entries = {{QStringLiteral("Дом"), house, FiveInContour()},
                                          {QStringLiteral("Текущий"), QString(), OneRod()}};
    for (int column : {0, 1}) {
        TVariantsDialog dialog(form.get(), entries, {10, false}, false, window);
        dialog.show();
        ClickHeading(dialog, column);
        ClickButton(dialog, "VariantsOpen");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(opened, QStringList{house});
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], OneRod());
}

// «В документ» puts the table into the document, the best values there too.
TEST_F(Variants, TheTableGoesIntoTheDocumentWhenAsked) {
    Compare([&](TVariantsDialog& dialog) {
        dialog.ChooseFiles = [&] { return QStringList{house, bath}; };
        ClickButton(dialog, "VariantsAddFiles");
        auto* inDocument = dialog.findChild<QCheckBox*>(QStringLiteral("VariantsInDocument"));
        ASSERT_NE(inDocument, nullptr);
        inDocument->setFocus();
        QTest::keyClick(inDocument, Qt::Key_Space);
        EXPECT_TRUE(dialog.InDocument());
    });
    const QString path = folder.filePath(QStringLiteral("расчёт.pdf"));
    actions->ChooseSavePath = [&](const QString&) { return path; };
    actions->Action3->trigger();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Сравнение вариантов"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Дом «Заречье»"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Масса металла всего, кг"))) << text.toStdString();

    // Cleared again, the document leaves the table out.
    Compare([&](TVariantsDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("VariantsInDocument"))->setChecked(false);
    });
    actions->Action3->trigger();
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    EXPECT_FALSE(QString::fromUtf8(pdftotext.readAllStandardOutput()).contains(QStringLiteral("Сравнение")));
}

} // namespace

namespace {

// With STELVORN_VARIANTS_SHOTS set to a folder (under Xvfb), leaves pictures of the screen with three
// variants there, in the standard look and in the theme STELVORN_VARIANTS_THEME of the folder
// STELVORN_VARIANTS_SKINS.
TEST_F(Variants, Screenshots) {
    const QString shots = qEnvironmentVariable("STELVORN_VARIANTS_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "STELVORN_VARIANTS_SHOTS is not set";
    const QString theme = qEnvironmentVariable("STELVORN_VARIANTS_THEME");
    for (const bool themed : {false, true}) {
        if (themed) {
            form->sSkinManager1->SetSkinDirectory(qEnvironmentVariable("STELVORN_VARIANTS_SKINS"));
            ASSERT_TRUE(form->sSkinManager1->SelectSkin(theme));
        } else {
            form->sSkinManager1->SetActive(false);
        }
        Shown([&](TVariantsDialog& dialog) {
            dialog.ChooseFiles = [&] { return QStringList{house, bath}; };
            ClickButton(dialog, "VariantsAddFiles");
            ClickButton(dialog, "VariantsAddCurrent");
            ClickHeading(dialog, 0);
            QTest::qWait(400);
            QProcess::execute(QStringLiteral("import"),
                              {QStringLiteral("-window"), QStringLiteral("root"),
                               shots + QStringLiteral("/variants-") +
                                   (themed ? theme : QStringLiteral("standard")) + QStringLiteral(".png")});
        });
    }
    // The document with the table.
    Shown([&](TVariantsDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("VariantsInDocument"))->setChecked(true);
    });
    actions->ChooseSavePath = [&](const QString&) {
        return shots + QStringLiteral("/variants-document.pdf");
    };
    actions->Action3->trigger();
}

} // namespace
