// The cost of themes, on Qt's offscreen platform: the window's creation and first painting with the
// built-in theme against the standard look, and a switch of theme in the selector, painted; and the
// first events a new window meets, which the start must not have left to them.
#include "Unit1.h"
#include "application.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <memory>

namespace {

QString programFolder;

void WriteSettings(bool themed) {
    QFile file(programFolder + QStringLiteral("стелворн.ini"));
    file.open(QIODevice::WriteOnly);
    file.write(themed ? "[INTERFACE]\r\nSkins=1\r\n" : "[INTERFACE]\r\nSkins=0\r\n");
}

void Choose(TForm1& form, const QString& text) {
    const int index = form.sSkinSelector1->findText(text);
    form.sSkinSelector1->setCurrentIndex(index);
    emit form.sSkinSelector1->activated(index);
    form.repaint();
    QApplication::processEvents();
}

// From nothing to a painted window: FormCreate with its theme step, the first show, OpenConfig and
// the first calculation. Arg 1: the built-in theme; arg 0: theming off.
void BM_StartWindow(benchmark::State& state) {
    WriteSettings(state.range(0) == 1);
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>();
        form->show();
        form->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) == 1 ? "built-in theme" : "theming off");
}

// One switch of theme in the selector and the repainting of the window: Графит and the built-in
// theme in turn.
void BM_SwitchTheme(benchmark::State& state) {
    WriteSettings(true);
    TForm1 form;
    form.show();
    QApplication::processEvents();
    const QString themes[] = {QStringLiteral("Графит"), QStringLiteral("Windows 10 (внутренний)")};
    for (auto _ : state) {
        Choose(form, themes[0]);
        Choose(form, themes[1]);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("per item = one switch");
}

// Theming off and on again in the selector: the title bars swap and the window is shown anew.
void BM_SwitchThemingOffAndOn(benchmark::State& state) {
    WriteSettings(true);
    TForm1 form;
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        Choose(form, QStringLiteral("Standard theme"));
        Choose(form, QStringLiteral("Windows 10 (внутренний)"));
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("per item = one switch");
}

// This thread's processor time in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The first of each kind of event a freshly started window meets, with its repaint: 0 a keystroke
// in a numeric field, 1 a click on the help tab, 2 a theme chosen in the selector (Графит). Each
// iteration starts a new window (untimed) and times its first event; "first_ms" is the very first
// of the process, when no earlier window has warmed any cache, and "slowest_ms" and
// "slowest_cpu_ms" the slowest of the run.
void BM_FirstEvent(benchmark::State& state) {
    WriteSettings(true);
    double first = -1, slowest = 0, slowestCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowExposed(form.get())) {
            state.SkipWithError("the window was not shown");
            break;
        }
        QWidget* field = form->sSpinEdit3->Edit();
        field->setFocus();
        QApplication::processEvents();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ThreadCpuMs();
        switch (state.range(0)) {
        case 0:
            QTest::keyClick(field, Qt::Key_0);
            break;
        case 1: {
            QTabBar* tabs = form->sPageControl1->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(2).center());
            break;
        }
        default:
            Choose(*form, QStringLiteral("Графит"));
        }
        QApplication::processEvents();
        const double cpu = ThreadCpuMs() - startCpu;
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        if (first < 0)
            first = wall;
        slowest = std::max(slowest, wall);
        slowestCpu = std::max(slowestCpu, cpu);
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["first_ms"] = first;
    state.counters["slowest_ms"] = slowest;
    state.counters["slowest_cpu_ms"] = slowestCpu;
    const char* const kinds[] = {"keystroke", "help tab", "theme switch"};
    state.SetLabel(kinds[state.range(0)]);
}

} // namespace

BENCHMARK(BM_StartWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchTheme)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchThemingOffAndOn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstEvent)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    InstallProgramFont();
    QTemporaryDir folder;
    programFolder = folder.path() + u'/';
    QFile::link(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR), programFolder + QStringLiteral("Skins"));
    OverrideProgramFolder(programFolder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
