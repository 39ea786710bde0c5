// The undo and redo of the inputs in the real window: Ctrl+Z and Ctrl+Shift+Z after a reset and after
// «Применить» of the fit, the survey and the measurement, the context menu's «Отменить» and «Вернуть»,
// and the same keys left to a text field for its own undo while it has the focus.
#include "TFitDialog.h"
#include "TMeasurementDialog.h"
#include "TResultActions.h"
#include "TSurveyDialog.h"
#include "Unit1.h"
#include "number_format.h"
#include "qt_text.h"
#include "survey.h"
#include "window_fixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

class InputUndo : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        actions = form->ResultActions;
    }

    // What the user sees of the calculation: every input and every result label.
    struct TState {
        TEarthingInput inputs;
        QStringList labels;
    };
    TState State() { return {form->ReadInputs(), ResultLabels()}; }
    void ExpectState(const TState& expected) {
        EXPECT_TRUE(form->ReadInputs() == expected.inputs);
        EXPECT_EQ(ResultLabels(), expected.labels);
    }

    // The keys, pressed outside the text fields: on the checked button of the climatic region.
    void PressOutsideFields(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        form->ClimaticRegionGroup->checkedButton()->setFocus();
        QTest::keyClick(Focus(), key, modifiers);
    }
    void Undo() { PressOutsideFields(Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { PressOutsideFields(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }

    // Chooses `action` in the context menu of the total, with the mouse.
    void ChooseInMenu(QAction* action) {
        bool chosen = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            EXPECT_TRUE(menu->actions().contains(action));
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
            chosen = true;
        });
        const QPoint at(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, form->sLabel39->mapToGlobal(at));
        QApplication::sendEvent(form->sLabel39, &event);
        EXPECT_TRUE(QTest::qWaitFor([&] { return chosen; }, 2000));
        form->activateWindow(); // the keys go to the window again
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form.get(); }));
    }

    TResultActions* actions = nullptr;
};

// Readings of a two-layer soil (ρ1 = 300, ρ2 = 60 Ом∙м, h = 1,4 м) as lines of a, b and R.
QString TwoLayerReadings() {
    QString text;
    for (double a : {0.5, 1.0, 2.0, 3.0, 5.0, 8.0, 12.0, 20.0, 30.0, 50.0}) {
        const double r = TwoLayerApparentResistivity(300, 60, 1.4, a) / (2 * std::numbers::pi * a);
        text += ToQString(FormatPlain(a, u',')) + QStringLiteral("\t0\t") + ToQString(FormatPlain(r, u',')) +
                u'\n';
    }
    return text;
}

// After each of the four actions one Ctrl+Z brings every control back as it was, however many
// controls the action set, and Ctrl+Shift+Z goes forward again; then the four steps are walked
// back and forth in order.
TEST_F(InputUndo, EachActionIsOneStepBackAndForth) {
    const struct {
        const char* name;
        std::function<void()> run;
    } cases[] = {
        {"reset", [&] { Click("sButton1"); }},
        {"fit",
         [&] {
             actions->RunFitDialog = [](TFitDialog& dialog) {
                 dialog.NormButton(0)->click(); // 4 Ом
                 ASSERT_GE(dialog.Table()->rowCount(), 2);
                 dialog.Table()->selectRow(1);
                 dialog.ApplyButton()->click();
             };
             PressOutsideFields(Qt::Key_R, Qt::ControlModifier);
         }},
        {"survey",
         [&] {
             actions->RunSurveyDialog = [](TSurveyDialog& dialog) {
                 ASSERT_TRUE(dialog.AddText(TwoLayerReadings()));
                 ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.FitPending(); }, 20000));
                 ASSERT_TRUE(dialog.Fit().TwoLayer);
                 dialog.TwoLayerButton()->click();
                 dialog.ApplyButton()->click();
             };
             PressOutsideFields(Qt::Key_I, Qt::ControlModifier);
         }},
        {"measurement",
         [&] {
             actions->RunMeasurementDialog = [](TMeasurementDialog& dialog) {
                 dialog.Measured()->setText(QStringLiteral("18,5"));
                 ASSERT_GE(dialog.Table()->rowCount(), 2);
                 dialog.Table()->selectRow(1);
                 dialog.ApplyButton()->click();
             };
             PressOutsideFields(Qt::Key_M, Qt::ControlModifier);
         }},
    };
    EXPECT_FALSE(actions->ActionUndo->isEnabled());
    EXPECT_FALSE(actions->ActionRedo->isEnabled());
    std::vector<TState> befores;
    int rods = 2;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Typed inputs, which no action of the window has set: no step of their own.
        TypeInto(form->sSpinEdit1, QString::number(rods++));
        TypeInto(form->sSpinEdit3, QStringLiteral("60"));
        TypeInto(form->sDecimalSpinEdit1, QStringLiteral("2,2"));
        TypeInto(form->sComboBox2, QStringLiteral("Глина (60)"));
        const TState before = State();
        befores.push_back(before);
        c.run();
        const TState after = State();
        ASSERT_FALSE(after.inputs == before.inputs);
        EXPECT_TRUE(actions->ActionUndo->isEnabled());
        EXPECT_FALSE(actions->ActionRedo->isEnabled());

        Undo();
        ExpectState(before);
        EXPECT_TRUE(actions->ActionRedo->isEnabled());
        Redo();
        ExpectState(after);
        EXPECT_FALSE(actions->ActionRedo->isEnabled());
    }

    // Back through the four steps, each to the inputs it found; forward again to the last result.
    const TState last = State();
    for (auto before = befores.rbegin(); before != befores.rend(); ++before) {
        Undo();
        ExpectState(*before);
    }
    EXPECT_FALSE(actions->ActionUndo->isEnabled());
    for (size_t i = 1; i < befores.size(); ++i) {
        Redo();
        ExpectState(befores[i]);
    }
    Redo();
    ExpectState(last);
    EXPECT_FALSE(actions->ActionRedo->isEnabled());
}

// The context menu of the result offers both, off while there is nothing to undo or redo; a reset
// that changes nothing, and a dialog closed without applying, are no step; chosen with the mouse from
// the help page, undo shows the calculation page.
TEST_F(InputUndo, ContextMenuAndWhatIsNoStep) {
    EXPECT_EQ(actions->ActionUndo->text(), "Отменить");
    EXPECT_EQ(actions->ActionRedo->text(), "Вернуть");
    EXPECT_EQ(actions->ActionUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(actions->ActionRedo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (QWidget* target : {Find("sPanel1"), static_cast<QWidget*>(form->sLabel39)}) {
        EXPECT_TRUE(target->actions().contains(actions->ActionUndo));
        EXPECT_TRUE(target->actions().contains(actions->ActionRedo));
    }

    const TState start = State();
    Click("sButton1"); // a first start holds the reset's inputs already
    ExpectState(start);
    actions->RunFitDialog = [](TFitDialog& dialog) { dialog.reject(); };
    PressOutsideFields(Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(actions->ActionUndo->isEnabled());
    EXPECT_FALSE(actions->ActionRedo->isEnabled());

    TypeInto(form->sSpinEdit1, QStringLiteral("5"));
    const TState typed = State();
    Click("sButton1");
    const TState reset = State();
    ASSERT_TRUE(actions->ActionUndo->isEnabled());
    Click("sButton1"); // changes nothing: the step before it stays the one to undo
    // From the help page, in its read-only view, the key is the window's: the calculation page shows.
    form->sPageControl1->SetPageFromCode(2);
    form->WebBrowser1->setFocus();
    QTest::keyClick(Focus(), Qt::Key_Z, Qt::ControlModifier);
    ExpectState(typed);
    EXPECT_EQ(form->sPageControl1->currentIndex(), 0);
    ChooseInMenu(actions->ActionRedo);
    ExpectState(reset);
    ChooseInMenu(actions->ActionUndo);
    ExpectState(typed);

    // Undone, then a new step: nothing is left to redo.
    Click("sButton1");
    ExpectState(reset);
    EXPECT_FALSE(actions->ActionRedo->isEnabled());
}

// What applying an opened calculation file does: a step kept around ApplyInputs. A step taken
// inside another (a reset, say) is part of it: one action, one step.
TEST_F(InputUndo, AStepKeptAroundApplyingIsOne) {
    const TState before = State();
    TEarthingInput opened = before.inputs;
    opened.Number = 8;
    opened.Depth = 0.7;
    opened.TopLayer = u"Навал (250)";
    {
        const TInputUndo::TStep step = actions->InputUndo->Remember();
        TypeInto(form->sSpinEdit1, QStringLiteral("5"));
        Click("sButton1");
        form->ApplyInputs(opened);
        EXPECT_FALSE(actions->ActionUndo->isEnabled()); // not before the action is over
    }
    const TState after = State();
    EXPECT_TRUE(after.inputs == opened);
    Undo();
    ExpectState(before);
    EXPECT_FALSE(actions->ActionUndo->isEnabled());
    Redo();
    ExpectState(after);
}

// With the focus in a number field or a soil box, Ctrl+Z and Ctrl+Shift+Z (and Ctrl+Y where it is
// the redo) are the field's own undo and redo of the typing there: the other inputs stay, and the
// total follows the field. Outside the fields the same keys are the window's.
TEST_F(InputUndo, TextFieldsKeepTheirOwnUndo) {
    // Two resets of different inputs, the second undone: both undo and redo have a step.
    TypeInto(form->sSpinEdit1, QStringLiteral("4"));
    Click("sButton1");
    TypeInto(form->sSpinEdit1, QStringLiteral("6"));
    Click("sButton1");
    Undo();
    ASSERT_EQ(form->sSpinEdit1->Value(), 6);
    ASSERT_TRUE(actions->ActionUndo->isEnabled());
    ASSERT_TRUE(actions->ActionRedo->isEnabled());

    QList<QKeyCombination> redoKeys{Qt::CTRL | Qt::SHIFT | Qt::Key_Z};
    if (actions->ActionRedo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(Qt::CTRL | Qt::Key_Y);
    const struct {
        const char* name;
        QWidget* field;
        QLineEdit* edit;
        QString typed;
    } cases[] = {
        {"integer field", form->sSpinEdit3, form->sSpinEdit3->Edit(), QStringLiteral("75")},
        {"decimal field", form->sDecimalSpinEdit2, form->sDecimalSpinEdit2->Edit(), QStringLiteral("0,8")},
        {"soil box", form->sComboBox1, form->sComboBox1->lineEdit(), QStringLiteral("Навал (250)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString old = c.edit->text();
        const TState before = State();
        TypeInto(c.field, c.typed);
        const TState typed = State();
        ASSERT_EQ(c.edit->text(), c.typed);
        for (const QKeyCombination redo : redoKeys) {
            SCOPED_TRACE(QKeySequence(redo).toString().toStdString());
            QTest::keyClick(Focus(), Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(c.edit->text(), old);
            ExpectState(before); // the window's undo would have set 4 rods
            QTest::keyClick(Focus(), redo.key(), redo.keyboardModifiers());
            EXPECT_EQ(c.edit->text(), c.typed);
            ExpectState(typed); // the window's redo would have set 1 rod
        }
        EXPECT_EQ(form->sSpinEdit1->Value(), 6);
        EXPECT_TRUE(actions->ActionUndo->isEnabled());
        EXPECT_TRUE(actions->ActionRedo->isEnabled());
    }

    Redo(); // outside the fields: the window's
    EXPECT_EQ(form->sSpinEdit1->Value(), 1);
    Undo();
    EXPECT_EQ(form->sSpinEdit3->Value(), 75); // the typed inputs come back, as redo found them
    EXPECT_EQ(form->sComboBox1->currentText(), "Навал (250)");
}

} // namespace
