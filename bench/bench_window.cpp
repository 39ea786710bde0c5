// One keystroke in a numeric field, as the window handles it: the field's change event runs the
// calculation, which rewrites every result label. Runs on Qt's offscreen platform.
#include "TSurveyDialog.h"
#include "Unit1.h"
#include "application.h"
#include "help_links.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <numbers>

namespace {

TForm1* window = nullptr;

void BM_KeystrokeInRodWidth(benchmark::State& state) {
    QLineEdit* edit = window->sSpinEdit3->Edit();
    edit->setFocus();
    edit->end(false);
    for (auto _ : state) {
        QTest::keyClick(edit, Qt::Key_0);                                // 50 -> 500
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace); // 500 -> 50
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
    window->sPageControl1->setCurrentIndex(0);
}

// The nine inputs that take text, in tab order.
const char* const TextInputs[] = {"sSpinEdit3",        "sDecimalSpinEdit6", "sSpinEdit1",
                                  "sSpinEdit2",        "sDecimalSpinEdit2", "sComboBox1",
                                  "sDecimalSpinEdit1", "sComboBox2",        "sSpinEdit4"};

// The text box of an input found by name.
QLineEdit* EditOf(const char* name) {
    QWidget* input = window->findChild<QWidget*>(QLatin1String(name));
    if (auto* box = qobject_cast<TsComboBox*>(input))
        return box->lineEdit();
    return static_cast<TsCustomSpinEdit*>(input)->Edit();
}

// This thread's processor time in milliseconds: unlike the wall clock, it does not count the time
// other processes of a busy machine take the processor away.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Runs `prepare` untimed, then one user event and what it leaves queued (the repaint), noting the
// slowest event of the run by the wall clock and by processor time.
template <typename Prepare, typename Event>
void TimeEvents(benchmark::State& state, Prepare prepare, Event event) {
    double slowest = 0;
    double slowestCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ThreadCpuMs();
        event();
        QCoreApplication::processEvents();
        slowestCpu = std::max(slowestCpu, ThreadCpuMs() - startCpu);
        slowest = std::max(
            slowest,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["slowest_ms"] = slowest;
    state.counters["slowest_cpu_ms"] = slowestCpu;
}

// A paste of 1,000,000 characters over the whole text of each input: a soil text for the soil
// boxes, digits for the numeric fields. One item is the paste with its repaint.
void BM_PasteMillionCharacters(benchmark::State& state) {
    const char* name = TextInputs[state.range(0)];
    QLineEdit* edit = EditOf(name);
    const bool soil = qobject_cast<TsComboBox*>(edit->parentWidget()) != nullptr;
    QString text;
    const QString piece = soil ? QStringLiteral("Глина влажная (20) ") : QStringLiteral("1234567890");
    while (text.size() < 1'000'000)
        text += piece;
    text.truncate(1'000'000);
    QGuiApplication::clipboard()->setText(text);
    TimeEvents(
        state,
        [edit] { // the input as the user finds it: the reset inputs with two rods, every input enabled
            window->sButton1Click();
            window->sSpinEdit1->SetValue(2);
            edit->setFocus();
            edit->selectAll();
            QCoreApplication::processEvents();
        },
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier); });
    state.SetLabel(name);
    window->sButton1Click();
}

// Keystrokes at the end of a soil box that holds its most characters, 2047: a Backspace and a
// character typed back, each with its repaint.
void BM_KeystrokeInFullSoilBox(benchmark::State& state) {
    QLineEdit* edit = EditOf("sComboBox1");
    edit->setFocus();
    edit->setText(QStringLiteral("Глина ") + QString(2047 - 6, u'7'));
    edit->end(false);
    bool back = true;
    TimeEvents(
        state, [] {},
        [&back] {
            if (back)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
            back = !back;
        });
    state.SetLabel("per item = one keystroke");
    window->sButton1Click();
}

} // namespace

// A cell of the survey table left with Enter, 30 readings in the table: the time until the dialog
// takes the next key (the cell's new text written as the editor writes it).
void BM_SurveyCellCommit(benchmark::State& state) {
    std::vector<TSurveyReading> readings;
    for (int i = 0; i < 30; ++i) {
        const double a = 0.5 * std::pow(100.0, i / 29.0);
        const double noise = 1 + 0.03 * std::sin(7.0 * i);
        readings.push_back({a, 0,
                            TwoLayerApparentResistivity(300, 30, 1.5, a) * noise / (2 * std::numbers::pi * a),
                            std::nullopt, true});
    }
    TSurveyDialog dialog(window, readings, {});
    dialog.show();
    QTableWidgetItem* cell = dialog.Table()->item(10, 3);
    const QString texts[] = {cell->text(), cell->text() + QStringLiteral("1")};
    int turn = 0;
    for (auto _ : state) {
        cell->setText(texts[++turn % 2]);
        state.PauseTiming();
        QCoreApplication::processEvents(); // whatever the commit left for later, outside the figure
        state.ResumeTiming();
    }
    state.SetLabel("per item = one commit");
}

BENCHMARK(BM_KeystrokeInRodWidth);
BENCHMARK(BM_Calculation);
BENCHMARK(BM_HelpIndexLoad);
BENCHMARK(BM_PasteMillionCharacters)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeInFullSoilBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SurveyCellCommit)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    InstallProgramFont();
    TForm1 form;
    form.show();
    form.activateWindow(); // keys go where the focus is, as a user's do
    if (!QTest::qWaitForWindowActive(&form))
        return 1;
    window = &form;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
