// One keystroke in a numeric field, as the window handles it: the field's change event runs the
// calculation, which rewrites every result label. Runs on Qt's offscreen platform.
#include "Unit1.h"
#include "application.h"
#include "help_links.h"

#include <QAbstractTextDocumentLayout>
#include <QLineEdit>
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

// What the help adds to every start: the index page read from the resources, parsed and laid out
// in the help view (the page on show is loaded again each time), with the window's handlers.
void BM_HelpIndexLoad(benchmark::State& state) {
    window->sPageControl1->setCurrentIndex(2);
    for (auto _ : state) {
        window->WebBrowser1->Navigate(HelpIndexUrl());
        window->WebBrowser1->document()->documentLayout()->documentSize();
    }
}

} // namespace

BENCHMARK(BM_KeystrokeInRodWidth);
BENCHMARK(BM_Calculation);
BENCHMARK(BM_HelpIndexLoad);

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
