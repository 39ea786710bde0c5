// The measurement dialog from the real window: Ctrl+M and the context menu, driven by the keyboard
// and the mouse, "Применить" through the controls, and bad input refused with nothing applied.
#include "TMeasurementDialog.h"
#include "TResultActions.h"
#include "Unit1.h"
#include "measurement.h"
#include "number_format.h"
#include "qt_text.h"
#include "window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Measurement : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        actions = form->ResultActions;
    }

    // Opens the dialog with Ctrl+M where the focus is (or as `open` does), runs it as the program
    // does and hands it to `use` once it is up and has the focus.
    void Measure(const std::function<void(TMeasurementDialog&)>& use,
                 const std::function<void()>& open = {}) {
        bool opened = false;
        actions->RunMeasurementDialog = [&](TMeasurementDialog& dialog) {
            opened = true;
            ExecWhenActive(dialog, [&] { use(dialog); });
        };
        ActivateForm();
        if (open)
            open();
        else
            QTest::keyClick(Focus(), Qt::Key_M, Qt::ControlModifier);
        EXPECT_TRUE(opened);
    }

    // Back in the window after a dialog closed.
    void ActivateForm() {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.get(); }));
    }

    static void Key(Qt::Key key) { QTest::keyClick(Focus(), key); }

    TResultActions* actions = nullptr;
};

// Keyboard only: the measured total, the worst state, the norm, a row, Enter. The window gets the
// corrected soil and the row through its controls, and its live total is the row's.
TEST_F(Measurement, KeyboardAppliesTheCorrectedSoilAndTheChosenRow) {
    form->sSpinEdit3->setFocus();
    const TEarthingInput built = form->ReadInputs();
    TSoilCorrection correction;
    TFitRow chosen;
    Measure([&](TMeasurementDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Замер");
        ASSERT_EQ(Focus(), dialog.Measured());
        Type(QStringLiteral("18,5"));
        Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), dialog.StateButton(TSoilState::Ordinary));
        Key(Qt::Key_Down);
        EXPECT_TRUE(dialog.StateButton(TSoilState::Worst)->isChecked());
        Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), dialog.NormChooser()->Button(1)); // 10 Ом, the session's norm
        Key(Qt::Key_Left);
        EXPECT_EQ(dialog.Norm(), 4);
        Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), dialog.Table());
        ASSERT_GE(dialog.Table()->rowCount(), 2);
        Key(Qt::Key_Down);

        correction = dialog.Correction();
        ASSERT_TRUE(correction.Error.empty());
        EXPECT_EQ(correction.Measured, 18.5);
        EXPECT_EQ(dialog.findChild<QLabel*>("MeasurementFactor")->text(),
                  ToQString(FormatFactor(correction.Factor, u',')));
        EXPECT_EQ(dialog.findChild<QLabel*>("MeasurementUpper")->text(),
                  ToQString(FormatPlain(correction.UpperResistivity, u',')) + " Ом∙м");
        chosen = dialog.Fit().Rows[1];
        EXPECT_EQ(dialog.Table()->item(1, 2)->text(), ToQString(FormatTenths(chosen.TotalResistance, u',')));
        Key(Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(correction.Calculated, ComputeEarthing(built, u',', u',').TotalResistance); // the worst state
    EXPECT_EQ(form->sComboBox1->currentText(), ToQString(correction.TopLayer));
    EXPECT_EQ(form->sComboBox2->currentText(), ToQString(correction.BottomLayer));
    EXPECT_EQ(form->MutualDispositionGroup->checkedId(), built.MutualDisposition);
    EXPECT_EQ(form->sSpinEdit2->Value(), built.IntervalMultiplicity);
    EXPECT_EQ(form->sSpinEdit1->Value(), chosen.Number);
    EXPECT_EQ(form->sDecimalSpinEdit6->Value(), chosen.Length);
    EXPECT_GE(chosen.Number, built.Number);
    EXPECT_GE(chosen.Length, built.Length);
    EXPECT_LE(chosen.TotalResistance, 4);
    EXPECT_EQ(form->sLabel39->text(), ToQString(FormatTenths(chosen.TotalResistance, u',')) + " Ом");
    EXPECT_EQ(actions->Norm().Norm, 4); // the document judges by the norm fitted to
}

// The mouse: the context menu's entry opens it, a click on a state and on "Применить" applies; the
// ordinary state compares with the total without the climate factors.
TEST_F(Measurement, MouseAndTheOrdinaryState) {
    QWidget* panel = form->findChild<QWidget*>(QStringLiteral("sPanel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->actions().contains(actions->Action6));
    EXPECT_TRUE(form->sLabel39->actions().contains(actions->Action6));
    EXPECT_EQ(actions->Action6->text(), "Замер сопротивления…");

    const TEarthingInput built = form->ReadInputs();
    TSoilCorrection correction;
    Measure(
        [&](TMeasurementDialog& dialog) {
            QTest::mouseClick(dialog.Measured(), Qt::LeftButton);
            Type(QStringLiteral("7"));
            QRadioButton* worst = dialog.StateButton(TSoilState::Worst);
            QTest::mouseClick(worst, Qt::LeftButton, Qt::NoModifier, QPoint(6, worst->height() / 2));
            QRadioButton* ordinary = dialog.StateButton(TSoilState::Ordinary);
            QTest::mouseClick(ordinary, Qt::LeftButton, Qt::NoModifier, QPoint(6, ordinary->height() / 2));
            ASSERT_TRUE(ordinary->isChecked());
            correction = dialog.Correction();
            ASSERT_TRUE(correction.Error.empty());
            QTest::mouseClick(dialog.ApplyButton(), Qt::LeftButton);
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        },
        [&] { actions->Action6->trigger(); }); // what the menu entry does
    TEarthingInput compared = built;
    compared.ClimaticRegion = NoClimaticRegion;
    EXPECT_EQ(correction.Calculated, ComputeEarthing(compared, u',', u',').TotalResistance);
    EXPECT_EQ(form->sComboBox1->currentText(), ToQString(correction.TopLayer));
    // The corrected soil gets the region's factors like any soil: the window shows its total.
    EXPECT_EQ(form->sLabel39->text(),
              ToQString(FormatTenths(ComputeEarthing(form->ReadInputs(), u',', u',').TotalResistance, u',')) +
                  " Ом");
}

// Bad input says why in the dialog, keeps "Применить" off, and Enter applies nothing.
TEST_F(Measurement, BadInputIsRefusedAndNothingApplied) {
    const struct {
        const char* name;
        QString top; // the window's upper soil text; empty = as it is
        QString typed;
        const char* message; // a part of the status
    } cases[] = {
        {"nothing typed", {}, {}, "Введите сопротивление"},
        {"a word", {}, QStringLiteral("восемнадцать"), "числом"},
        {"zero", {}, QStringLiteral("0"), "больше нуля"},
        {"negative", {}, QStringLiteral("-5"), "больше нуля"},
        {"NaN", {}, QStringLiteral("nan"), "числом"},
        {"infinity", {}, QStringLiteral("inf"), "числом"},
        {"beyond a double", {}, QStringLiteral("1e999"), "числом"},
        {"an upper soil of no resistivity", QStringLiteral("нет данных"), QStringLiteral("18"),
         "верхнего пласта"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ActivateForm();
        if (!c.top.isEmpty())
            TypeInto(form->sComboBox1, c.top);
        form->sSpinEdit3->setFocus();
        const TEarthingInput before = form->ReadInputs();
        const QString total = form->sLabel39->text();
        Measure([&](TMeasurementDialog& dialog) {
            Type(c.typed);
            EXPECT_TRUE(dialog.Status()->text().contains(QString::fromUtf8(c.message)))
                << dialog.Status()->text().toStdString();
            EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
            EXPECT_EQ(dialog.Table()->rowCount(), 0);
            Key(Qt::Key_Return);
            dialog.ApplySelected();
            EXPECT_NE(dialog.result(), QDialog::Accepted);
        });
        const TEarthingInput after = form->ReadInputs();
        EXPECT_EQ(after.TopLayer, before.TopLayer);
        EXPECT_EQ(after.BottomLayer, before.BottomLayer);
        EXPECT_EQ(after.Number, before.Number);
        EXPECT_EQ(after.Length, before.Length);
        EXPECT_EQ(form->sLabel39->text(), total);
    }
}

} // namespace
