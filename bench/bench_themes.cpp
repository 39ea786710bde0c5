// The cost of themes, on Qt's offscreen platform: the window's creation and first painting with the
// built-in theme against the standard look, and a switch of theme in the selector, painted.
#include "Unit1.h"
#include "application.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
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

} // namespace

BENCHMARK(BM_StartWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchTheme)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchThemingOffAndOn)->Unit(benchmark::kMillisecond);

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
