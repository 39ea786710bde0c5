// The survey dialog driven from the real window: Ctrl+I and the context menu, readings typed and
// pasted, the fitted soil applied through the controls, bad input refused, the survey in the PDF.
#include "TResultActions.h"
#include "TSurveyDialog.h"
#include "Unit1.h"
#include "number_format.h"
#include "qt_text.h"
#include "survey.h"
#include "window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

// Readings of two layers as a spreadsheet column of a, b, R: the soil of ρ1, ρ2 and h at 12 spacings
// from 0,5 to 50 m.
QString Readings(double rho1, double rho2, double h) {
    QString text = QStringLiteral("a\tb\tR\n");
    for (int i = 0; i < 12; ++i) {
        const double a = 0.5 * std::pow(100.0, i / 11.0);
        const double r = TwoLayerApparentResistivity(rho1, rho2, h, a) / (2 * std::numbers::pi * a);
        text += ToQString(FormatPlain(a, u',')) + QStringLiteral("\t0\t") + ToQString(FormatPlain(r, u',')) +
                '\n';
    }
    return text;
}

class SurveyDialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        actions = form->ResultActions;
    }

    // Opens the survey with Ctrl+I where the focus is and hands the open dialog to `use`.
    void Survey(const std::function<void(TSurveyDialog&)>& use) {
        bool opened = false;
        actions->RunSurveyDialog = [&](TSurveyDialog& dialog) {
            opened = true;
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            ASSERT_EQ(QApplication::activeWindow(), &dialog);
            WaitForFit(dialog); // of the readings it opened with
            use(dialog);
            dialog.hide();
            QApplication::setActiveWindow(form.get());
        };
        QTest::keyClick(Focus(), Qt::Key_I, Qt::ControlModifier);
        EXPECT_TRUE(opened);
    }

    // With STELVORN_SURVEY_SHOTS set to a folder (under Xvfb), leaves a picture of the screen there.
    static void Shot(const QString& name) {
        const QString shots = qEnvironmentVariable("STELVORN_SURVEY_SHOTS");
        if (shots.isEmpty())
            return;
        QTest::qWait(300);
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"), shots + '/' + name + ".png"});
    }

    // Types into the current cell of the table: the first key opens its editor, which takes the rest.
    static void TypeCell(const QString& text) {
        QTest::keyClicks(Focus(), text.left(1));
        QTest::keyClicks(Focus(), text.mid(1));
    }

    // The fit runs beside the dialog: waits until the one of the table as it stands is shown.
    static void WaitForFit(const TSurveyDialog& dialog) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.FitPending(); }, 20000));
    }

    static void PasteInto(TSurveyDialog& dialog, const QString& text) {
        QApplication::clipboard()->setText(text);
        dialog.Table()->setFocus();
        QTest::keyClick(dialog.Table(), Qt::Key_V, Qt::ControlModifier);
    }

    QString Total() const { return form->sLabel39->text(); }
    QString ExpectedTotal() const {
        const TEarthingResult result = ComputeEarthing(form->ReadInputs(), u',', u',');
        return ToQString(FormatTenths(result.TotalResistance, u',')) + QStringLiteral(" Ом");
    }

    TResultActions* actions = nullptr;
};

TEST_F(SurveyDialogTest, OpensFromTheKeyboardAndTheContextMenu) {
    EXPECT_EQ(actions->Action5->text(), "Изыскания…");
    EXPECT_EQ(actions->Action5->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    for (QWidget* target :
         {form->findChild<QWidget*>(QStringLiteral("sPanel1")), static_cast<QWidget*>(form->sLabel39)})
        EXPECT_TRUE(target->actions().contains(actions->Action5));
    for (QWidget* focus :
         {static_cast<QWidget*>(form->sSpinEdit3), static_cast<QWidget*>(form->sComboBox1)}) {
        focus->setFocus();
        Survey([](TSurveyDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Изыскания");
            // An empty table: one blank row to type into, nothing fitted, nothing to apply.
            EXPECT_EQ(dialog.Table()->rowCount(), 1);
            EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
            dialog.reject();
        });
    }
}

// Readings typed with the keys and pasted from a spreadsheet; the two layers applied set both soil
// boxes and the thickness through the controls, and the total follows; the PDF shows the survey.
TEST_F(SurveyDialogTest, TypedAndPastedReadingsApplyTwoLayers) {
    const QString before = Total();
    QString top;
    form->sSpinEdit3->setFocus();
    Survey([&](TSurveyDialog& dialog) {
        // The first reading typed: a, Tab, b, Tab, R, Enter.
        dialog.Table()->setFocus();
        dialog.Table()->setCurrentCell(0, 1);
        TypeCell(QStringLiteral("0,5"));
        QTest::keyClick(Focus(), Qt::Key_Tab);
        TypeCell(QStringLiteral("0"));
        QTest::keyClick(Focus(), Qt::Key_Tab);
        const double r = TwoLayerApparentResistivity(300, 60, 1.4, 0.5) / (std::numbers::pi);
        TypeCell(ToQString(FormatPlain(r, u',')));
        QTest::keyClick(Focus(), Qt::Key_Return);
        EXPECT_EQ(dialog.Readings().size(), 1u);
        EXPECT_TRUE(dialog.isVisible()); // Enter in the table does not close the dialog
        // The rest pasted after it (the heading line skipped).
        PasteInto(dialog, Readings(300, 60, 1.4));
        EXPECT_EQ(dialog.Table()->rowCount(), 13);
        WaitForFit(dialog);
        ASSERT_TRUE(dialog.Fit().TwoLayer) << dialog.Status()->text().toStdString();
        EXPECT_NEAR(dialog.Fit().TwoLayer->Rho1, 300, 3);
        EXPECT_NEAR(dialog.Fit().TwoLayer->Rho2, 60, 0.6);
        EXPECT_NEAR(dialog.Fit().TwoLayer->Thickness, 1.4, 0.014);
        EXPECT_TRUE(dialog.TwoLayerButton()->isChecked());
        EXPECT_TRUE(
            dialog.TwoLayerButton()->text().startsWith("Два пласта: ρ1 = 300 Ом∙м, ρ2 = 60 Ом∙м, h = 1,4 м"));
        EXPECT_FALSE(dialog.Table()->item(3, 5)->text().isEmpty()); // measured ρa shown per reading
        EXPECT_TRUE(dialog.Status()->text().isEmpty());
        top = ToQString(SurveySoilText(dialog.Fit().TwoLayer->Rho1, u',', u','));
        dialog.ApplyButton()->click();
    });
    EXPECT_EQ(top, "По изысканиям (300)");
    EXPECT_EQ(form->sComboBox1->currentText(), top);
    EXPECT_EQ(form->sComboBox2->currentText(), "По изысканиям (60)");
    EXPECT_DOUBLE_EQ(static_cast<double>(form->sDecimalSpinEdit1->Value()), 1.4);
    EXPECT_NE(Total(), before);
    EXPECT_EQ(Total(), ExpectedTotal());

    // Kept for the session: the dialog opens again with the readings.
    Survey([](TSurveyDialog& dialog) {
        EXPECT_EQ(dialog.Readings().size(), 13u);
        dialog.reject();
    });

    const QString path = folder.filePath(QStringLiteral("изыскания.pdf"));
    actions->ChooseSavePath = [&](const QString&) { return path; };
    QTest::keyClick(Focus(), Qt::Key_E, Qt::ControlModifier);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    if (const QString shots = qEnvironmentVariable("STELVORN_SURVEY_SHOTS"); !shots.isEmpty())
        QFile::copy(path, shots + QStringLiteral("/survey-document.pdf"));
    EXPECT_TRUE(text.contains("Грунт по изысканиям")) << text.toStdString();
    EXPECT_TRUE(text.contains("Два пласта: ρ1 = 300 Ом∙м, ρ2 = 60 Ом∙м, h = 1,4 м")) << text.toStdString();
    EXPECT_TRUE(text.contains("Среднеквадратичная ошибка ρa: 0 %")) << text.toStdString();
}

// An h beyond the thickness field is said before applying, and the nearest value the field takes is
// set; the uniform soil puts one ρ in both boxes and leaves the thickness.
TEST_F(SurveyDialogTest, ThicknessBeyondTheFieldAndUniformSoil) {
    Survey([](TSurveyDialog& dialog) {
        PasteInto(dialog, Readings(50, 500, 6));
        WaitForFit(dialog);
        ASSERT_TRUE(dialog.Fit().TwoLayer);
        Shot(QStringLiteral("survey-thickness"));
        EXPECT_TRUE(dialog.Status()->text().contains("вне пределов поля толщины (от 0,1 до 3 м): будет "
                                                     "установлено 3 м."))
            << dialog.Status()->text().toStdString();
        QTest::keyClick(dialog.ApplyButton(), Qt::Key_Space);
    });
    EXPECT_EQ(form->sComboBox1->currentText(), "По изысканиям (50)");
    EXPECT_EQ(form->sComboBox2->currentText(), "По изысканиям (500)");
    EXPECT_DOUBLE_EQ(static_cast<double>(form->sDecimalSpinEdit1->Value()), 3.0);
    EXPECT_EQ(Total(), ExpectedTotal());

    form->sSpinEdit3->setFocus();
    Survey([](TSurveyDialog& dialog) {
        dialog.UniformButton()->click();
        EXPECT_TRUE(dialog.Status()->text().isEmpty() || !dialog.Status()->text().contains("вне пределов"));
        dialog.ApplyButton()->click();
    });
    EXPECT_EQ(form->sComboBox1->currentText(), form->sComboBox2->currentText());
    EXPECT_TRUE(form->sComboBox1->currentText().startsWith("По изысканиям ("));
    EXPECT_DOUBLE_EQ(static_cast<double>(form->sDecimalSpinEdit1->Value()), 3.0);
    EXPECT_EQ(Total(), ExpectedTotal());
}

// Bad input: said in the dialog in Russian, nothing applied, the window untouched.
TEST_F(SurveyDialogTest, BadInputIsRefusedAndNothingApplied) {
    const QString top = form->sComboBox1->currentText(), bottom = form->sComboBox2->currentText();
    const QString total = Total();
    struct Case {
        const char* name;
        QString paste;
        QString message;
    } cases[] = {
        {"a word", QStringLiteral("1\t0\t5\n2\t0\tмного\n"), QStringLiteral("«много» — не число")},
        {"b at half of a", QStringLiteral("1\t0,5\t5\n2\t0\t3\n4\t0\t2\n"),
         QStringLiteral("меньше половины разноса a")},
        {"R = 0", QStringLiteral("1\t0\t0\n2\t0\t3\n4\t0\t2\n"),
         QStringLiteral("сопротивление R должно быть")},
        {"a < 0", QStringLiteral("-1\t0\t5\n2\t0\t3\n4\t0\t2\n"), QStringLiteral("разнос a должен быть")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Survey([&](TSurveyDialog& dialog) {
            dialog.Table()->setRowCount(0);
            dialog.AddRow();
            PasteInto(dialog, c.paste);
            WaitForFit(dialog); // the readings' own faults are found by the fit
            EXPECT_TRUE(dialog.Status()->text().contains(c.message)) << dialog.Status()->text().toStdString();
            EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
            dialog.ApplyChosen();
            EXPECT_TRUE(dialog.isVisible());
            dialog.reject();
        });
    }
    // 10 000 rows are refused as a whole, at once.
    Survey([&](TSurveyDialog& dialog) {
        QString many;
        for (int i = 0; i < 10000; ++i)
            many += QStringLiteral("1;2\n");
        const int rows = dialog.Table()->rowCount();
        PasteInto(dialog, many);
        EXPECT_TRUE(dialog.Status()->text().contains("больше 1000"));
        EXPECT_EQ(dialog.Table()->rowCount(), rows);
        dialog.reject();
    });
    EXPECT_EQ(form->sComboBox1->currentText(), top);
    EXPECT_EQ(form->sComboBox2->currentText(), bottom);
    EXPECT_EQ(Total(), total);
    EXPECT_FALSE(actions->Survey());
}

// A commit in the table returns before its fit is made: the dialog says the fit is under way and
// offers nothing to apply, Enter included. Of two edits in quick succession only the second's fit
// is shown: the first one's result, though it comes first, is dropped.
TEST_F(SurveyDialogTest, AnEditReturnsBeforeItsFitAndAnOlderFitIsDropped) {
    Survey([&](TSurveyDialog& dialog) {
        PasteInto(dialog, Readings(120, 40, 2));
        WaitForFit(dialog);
        ASSERT_TRUE(dialog.Fit().TwoLayer);
        QTableWidget* table = dialog.Table();
        const QString kept = table->item(5, 3)->text();

        table->item(5, 3)->setText(QStringLiteral("100")); // an outlier, as its cell's editor commits it
        EXPECT_TRUE(dialog.FitPending());
        EXPECT_EQ(dialog.Status()->text(), "Подбор модели…");
        EXPECT_TRUE(dialog.TwoLayerButton()->text().contains("подбор модели…"));
        EXPECT_FALSE(dialog.Fit().TwoLayer);
        EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Return);
        dialog.ApplyChosen();
        EXPECT_FALSE(dialog.Applied());
        EXPECT_TRUE(dialog.isVisible());

        table->item(5, 3)->setText(kept); // undone before the outlier's fit is back
        WaitForFit(dialog);
        ASSERT_TRUE(dialog.Fit().TwoLayer) << dialog.Status()->text().toStdString();
        EXPECT_LT(dialog.Fit().TwoLayer->Rms, 1e-3); // not the outlier's fit
        EXPECT_TRUE(dialog.Status()->text().isEmpty()) << dialog.Status()->text().toStdString();
        EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
        // No late result of the first edit turns up after the current one.
        QTest::qWait(300);
        EXPECT_LT(dialog.Fit().TwoLayer->Rms, 1e-3);

        // Closed while a fit runs: neither a crash nor a wait worth the name.
        table->item(5, 3)->setText(QStringLiteral("100"));
        EXPECT_TRUE(dialog.FitPending());
        dialog.reject();
    });
}

// A left-out reading: unchecked with Space, it leaves the fit; CSV written and read back.
TEST_F(SurveyDialogTest, LeftOutReadingAndCsvRoundTrip) {
    Survey([&](TSurveyDialog& dialog) {
        PasteInto(dialog, Readings(120, 40, 2));
        QTableWidget* table = dialog.Table();
        table->item(5, 3)->setText(QStringLiteral("100")); // an outlier
        WaitForFit(dialog);
        EXPECT_GT(dialog.Fit().TwoLayer ? dialog.Fit().TwoLayer->Rms : 1.0, 0.01);
        table->setCurrentCell(5, 0);
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Space);
        EXPECT_EQ(table->item(5, 0)->checkState(), Qt::Unchecked);
        WaitForFit(dialog);
        ASSERT_TRUE(dialog.Fit().TwoLayer);
        EXPECT_LT(dialog.Fit().TwoLayer->Rms, 1e-3);
        EXPECT_EQ(table->item(5, 7)->text(), "не учт.");

        const QString path = folder.filePath(QStringLiteral("профиль.csv"));
        dialog.ChooseSavePath = [&](const QString&) { return path; };
        dialog.Save();
        dialog.ChooseOpenPath = [&] { return path; };
        dialog.Open();
        EXPECT_EQ(table->rowCount(), 12);
        EXPECT_EQ(table->item(5, 0)->checkState(), Qt::Unchecked);
        WaitForFit(dialog);
        EXPECT_LT(dialog.Fit().TwoLayer->Rms, 1e-3);
        Shot(QStringLiteral("survey-dialog"));
        dialog.reject();
    });
}

} // namespace

namespace {

// On a 1920 × 1080 screen at twice the scale and on 1366 × 768 the dialog fits, themed or not.
TEST_F(SurveyDialogTest, FitsTheScreenAtEitherScale) {
    for (const bool themed : {true, false}) {
        SCOPED_TRACE(themed ? "themed" : "standard look");
        form->sSkinManager1->SetActive(themed);
        bool opened = false;
        actions->RunSurveyDialog = [&](TSurveyDialog& dialog) {
            opened = true;
            for (const QSize screen : {QSize(1920 / 2, 1080 / 2), QSize(1366, 768)}) {
                const QSize room = screen - TSurveyDialog::FrameAllowance;
                EXPECT_LE(dialog.minimumSizeHint().width(), room.width()) << screen.width();
                EXPECT_LE(dialog.minimumSizeHint().height(), room.height()) << screen.width();
                const QSize size = dialog.SizeFor(screen);
                EXPECT_LE(size.width(), room.width()) << screen.width();
                EXPECT_LE(size.height(), room.height()) << screen.width();
            }
            EXPECT_EQ(dialog.windowFlags().testFlag(Qt::FramelessWindowHint), themed);
            dialog.reject();
        };
        actions->Action5Execute();
        EXPECT_TRUE(opened);
    }
}

} // namespace
