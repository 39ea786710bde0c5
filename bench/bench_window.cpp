// One keystroke in a numeric field, as the window handles it: the field's change event runs the
// calculation, which rewrites every result label. Runs on Qt's offscreen platform.
#include "Unit1.h"
#include "application.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

TForm1* window = nullptr;

void BM_KeystrokeInRodWidth(benchmark::State& state) {
    QLineEdit* edit = window->sSpinEdit3->Edit();
    edit->setFocus();
    edit->end(false);
    for (auto _ : state) {
        QTest::keyClick(edit, Qt::Key_0);         // 50 -> 500
        QTest::keyClick(edit, Qt::Key_Backspace); // 500 -> 50
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("per item = one keystroke");
}

void BM_Calculation(benchmark::State& state) {
    for (auto _ : state)
        window->Сalculation();
}

// A paste of a long text (the argument: its length) over the whole text of a soil box or a field,
// as Ctrl+V: the box or field takes what fits, raises its change event, the calculation runs, and a
// field that refuses the text sets its old value back. The field's text is put back between runs.
void PasteOver(benchmark::State& state, QWidget* target, const QString& text) {
    QLineEdit* edit = target->findChild<QLineEdit*>();
    if (!edit)
        edit = qobject_cast<QLineEdit*>(target);
    const QString before = edit->text();
    edit->setFocus();
    QApplication::clipboard()->setText(text);
    for (auto _ : state) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        state.PauseTiming();
        edit->setText(before);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(QStringLiteral("%1 characters").arg(text.size()).toStdString());
}

void BM_PasteDigitsIntoSoilBox(benchmark::State& state) {
    PasteOver(state, window->sComboBox1, QString(state.range(0), u'9'));
}
void BM_PasteDigitsIntoIntegerField(benchmark::State& state) {
    PasteOver(state, window->sSpinEdit4, QString(state.range(0), u'9'));
}
void BM_PasteDigitsIntoDecimalField(benchmark::State& state) {
    PasteOver(state, window->sDecimalSpinEdit1, QString(state.range(0), u'9'));
}

// A click on a tab, the page painted: from the settings page to the calculation page and back.
void BM_ClickTabs(benchmark::State& state) {
    QTabBar* bar = window->sPageControl1->findChild<QTabBar*>();
    for (auto _ : state) {
        for (int page : {0, 1}) {
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(page).center());
            window->repaint();
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("per item = one click and a paint");
}

} // namespace

BENCHMARK(BM_KeystrokeInRodWidth);
BENCHMARK(BM_ClickTabs);
BENCHMARK(BM_Calculation);
BENCHMARK(BM_PasteDigitsIntoSoilBox)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteDigitsIntoIntegerField)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteDigitsIntoDecimalField)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    InstallProgramFont();
    TForm1 form;
    form.show();
    window = &form;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
