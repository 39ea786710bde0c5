// Random-input test: a seeded stream of user events into the real window, checked after every event
// against the calculation core.
//
// The events: keys (digits, both separators, "-", letters, Cyrillic, Backspace, Delete, Ctrl+A/C/X/V/Z,
// Up/Down, Tab, F1, Enter, Escape, ...) to wherever the focus is; pastes of odd texts (very long ones,
// NUL, emoji, right-to-left marks, "1e308", "nan", "-0", ...); clicks on whatever is visible (radio
// buttons, fields and their arrows, soil boxes and their lists, the reset button, the tabs, the hints
// check box, and the help toolbar and the theme selector where the window has them); wheel turns.
//
// The oracle: after every event, the result labels and the enabled state of the interval line and
// the connector group must be what EarthingLabels gives for the inputs that the controls hold at
// that moment. The controls are found by name and read here, apart from the window's own code. A
// difference, a message box, a crash or a sanitizer report fails the run with the seed and the last
// events; `--seed S --events N` replays it.
//
//   stelvorn_random_input [--seed S] [--seconds T] [--events N]
// Without --seed the seed is taken from the clock. The run ends after T seconds or N events,
// whichever comes first (without either, after 10 seconds; with --events alone, after N events), and reports
// the events run and the five slowest by processor time, with their wall time beside (a hint's wait of 800 ms
// left out).
#include "Unit1.h"
#include "application.h"
#include "desktop_url_catcher.h"
#include "earthing.h"
#include "message_box_watcher.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

// The last events, for the report of a failure. A crash or a sanitizer report ends the process in
// a signal handler, so they are kept in plain character arrays that the handler can write out.
constexpr int Remembered = 40;
char lastEvents[Remembered][200];
unsigned long long eventCount = 0;
unsigned long long seedInUse = 0;

void WriteRaw(const char* text) {
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void WriteLastEvents() {
    char line[300];
    std::snprintf(line, sizeof line,
                  "seed %llu, event %llu; replay: stelvorn_random_input --seed %llu --events %llu\n",
                  seedInUse, eventCount, seedInUse, eventCount);
    WriteRaw(line);
    WriteRaw("last events, oldest first:\n");
    const unsigned long long first = eventCount > Remembered ? eventCount - Remembered + 1 : 1;
    for (unsigned long long n = first; n <= eventCount; ++n) {
        std::snprintf(line, sizeof line, "  %llu: %s\n", n, lastEvents[n % Remembered]);
        WriteRaw(line);
    }
}

extern "C" void OnFatalSignal(int signal) {
    WriteRaw("\nrandom input: the program died\n");
    WriteLastEvents();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Remember(const QString& description) {
    std::snprintf(lastEvents[eventCount % Remembered], sizeof lastEvents[0], "%s",
                  description.left(150).toUtf8().constData());
}

// A text for the log: control characters and long runs shown by their codes and lengths.
QString Shown(const QString& text) {
    if (text.size() > 40)
        return Shown(text.left(20)) + QStringLiteral("…(%1 characters)").arg(text.size());
    QString shown;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x200E && c.unicode() <= 0x202E) || c.isSurrogate())
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return u'"' + shown + u'"';
}

QStringList OddTexts() {
    return {QString(),
            QStringLiteral("1e308"),
            QStringLiteral("-1e308"),
            QStringLiteral("1e-320"),
            QStringLiteral("nan"),
            QStringLiteral("inf"),
            QStringLiteral("-0"),
            QStringLiteral("0"),
            QStringLiteral("1,5"),
            QStringLiteral("1.5"),
            QStringLiteral(" 2,5 "),
            QStringLiteral("$7FFFFFFF"),
            QStringLiteral("99999999999999999999999"),
            QStringLiteral("-2147483649"),
            QString(QChar(0)) + QStringLiteral("5"),
            QStringLiteral("3") + QChar(0),
            QStringLiteral("😀"),
            QStringLiteral("\u200F12\u200E"),
            QStringLiteral("\u202E0,5"),
            QStringLiteral("٣٤"),
            QStringLiteral("１２"),
            QStringLiteral("5\n6"),
            QStringLiteral("\t7"),
            QStringLiteral("("),
            QStringLiteral(")("),
            QStringLiteral("Глина (1e308)"),
            QStringLiteral("Мой грунт (0)"),
            QStringLiteral("Песок (,)"),
            QStringLiteral("Суглинок (-50)"),
            QStringLiteral("Глина влажная (20)"),
            QString(100000, u'9'),
            QStringLiteral("Песок (") + QString(100000, u'7') + u')',
            QString(1000000, u'1'),
            QString(1000000, u'(')};
}

// Times one event: the wall clock, and the processor time of this thread, which the other
// processes of a busy machine do not inflate.
class TEventClock {
  public:
    void Restart() {
        wall_.start();
        cpu_ = ThreadNs();
    }
    double WallMs() const { return static_cast<double>(wall_.nsecsElapsed()) / 1e6; }
    double CpuMs() const { return static_cast<double>(ThreadNs() - cpu_) / 1e6; }

  private:
    static long long ThreadNs() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1000000000LL + now.tv_nsec;
    }
    QElapsedTimer wall_;
    long long cpu_ = 0;
};

class TRandomUser {
  public:
    TRandomUser(TForm1& form, unsigned long long seed) : form_(form), rng_(seed), oddTexts_(OddTexts()) {}

    // Makes one event and returns what it was. `clock` times the event; what only prepares it, such
    // as filling the clipboard or focusing the target of a paste, restarts it.
    QString Next(TEventClock& clock) {
        clock_ = &clock;
        if (QWidget* popup = QApplication::activePopupWidget())
            return InPopup(popup);
        const int pick = Below(1000);
        if (pick < 300)
            return TypeCharacter();
        if (pick < 550)
            return PressKey();
        if (pick < 750)
            return ClickControl();
        if (pick < 820)
            return ClickTab();
        if (pick < 920)
            return Paste();
        if (pick < 998)
            return Wheel();
        return Hover();
    }

  private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <typename T> const T& OneOf(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

    static QWidget* Focus(QWidget* fallback) {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : fallback;
    }
    static QString Name(const QWidget* w) {
        for (; w; w = w->parentWidget()) {
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
                return w->objectName();
        }
        return QStringLiteral("?");
    }

    QString TypeCharacter() {
        static const QString characters = QStringLiteral("0123456789012345,.,.--+eE aqzяГё(");
        const QChar c = characters[Below(static_cast<int>(characters.size()))];
        QWidget* target = Focus(&form_);
        const int key = c.unicode() < 0x80 ? int{c.toUpper().unicode()} : int{Qt::Key_unknown};
        QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(key), QString(c), Qt::NoModifier);
        return QStringLiteral("type %1 into %2").arg(Shown(QString(c)), Name(target));
    }

    QString PressKey() {
        struct TKey {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* name;
        };
        static const std::vector<TKey> keys = {
            {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
            {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
            {Qt::Key_Delete, Qt::NoModifier, "Delete"},
            {Qt::Key_Left, Qt::NoModifier, "Left"},
            {Qt::Key_Right, Qt::NoModifier, "Right"},
            {Qt::Key_Home, Qt::NoModifier, "Home"},
            {Qt::Key_End, Qt::ShiftModifier, "Shift+End"},
            {Qt::Key_Up, Qt::NoModifier, "Up"},
            {Qt::Key_Down, Qt::NoModifier, "Down"},
            {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},
            {Qt::Key_Space, Qt::NoModifier, "Space"},
            {Qt::Key_Tab, Qt::NoModifier, "Tab"},
            {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
            {Qt::Key_F1, Qt::NoModifier, "F1"},
            {Qt::Key_Return, Qt::NoModifier, "Enter"},
            {Qt::Key_Escape, Qt::NoModifier, "Escape"},
            {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
            {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
            {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
            {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
            {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
            {Qt::Key_Down, Qt::AltModifier, "Alt+Down"},
        };
        const TKey& key = OneOf(keys);
        QWidget* target = Focus(&form_);
        const QString name = Name(target);
        QTest::keyClick(target, key.key, key.modifiers);
        return QStringLiteral("%1 on %2").arg(QLatin1String(key.name), name);
    }

    // The visible controls of the window that a user may click, found by name.
    std::vector<QWidget*> VisibleControls() {
        static const char* const names[] = {
            "sRadioButton1",     "sRadioButton2",     "sRadioButton3",  "sRadioButton4",  "sRadioButton12",
            "sRadioButton7",     "sRadioButton8",     "sRadioButton11", "sRadioButton10", "sRadioButton9",
            "sRadioButton5",     "sRadioButton6",     "sComboBox1",     "sComboBox2",     "sDecimalSpinEdit1",
            "sDecimalSpinEdit2", "sDecimalSpinEdit6", "sSpinEdit1",     "sSpinEdit2",     "sSpinEdit3",
            "sSpinEdit4",        "sButton1",          "sCheckBox1",     "sSkinSelector1", "ToolButton5",
            "ToolButton6",       "ToolButton8",       "WebBrowser1"};
        std::vector<QWidget*> visible;
        for (const char* name : names) {
            QWidget* w = form_.findChild<QWidget*>(QLatin1String(name));
            if (w && w->isVisible())
                visible.push_back(w);
        }
        return visible;
    }

    QString ClickControl() {
        const std::vector<QWidget*> controls = VisibleControls();
        if (controls.empty())
            return QStringLiteral("nothing to click");
        QWidget* control = OneOf(controls);
        // Anywhere on the control: the arrows of a field, the button of a soil box.
        const QPoint point(Below(std::max(1, control->width())), Below(std::max(1, control->height())));
        QWidget* target = control->childAt(point);
        if (!target)
            target = control;
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(control, point));
        return QStringLiteral("click %1 at %2,%3").arg(Name(control)).arg(point.x()).arg(point.y());
    }

    QString ClickTab() {
        QTabBar* bar = form_.sPageControl1->findChild<QTabBar*>();
        if (!bar || bar->count() == 0)
            return QStringLiteral("no tabs");
        const int index = Below(bar->count());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
        return QStringLiteral("click tab %1").arg(index);
    }

    QString Paste() {
        std::vector<QWidget*> inputs;
        for (QWidget* w : VisibleControls()) {
            if (qobject_cast<QComboBox*>(w) || w->objectName().contains(u"SpinEdit"))
                inputs.push_back(w);
        }
        const QString& text = oddTexts_[static_cast<qsizetype>(Below(static_cast<int>(oddTexts_.size())))];
        QApplication::clipboard()->setText(text);
        if (inputs.empty())
            return QStringLiteral("clipboard %1").arg(Shown(text));
        QWidget* input = OneOf(inputs);
        QLineEdit* edit = input->findChild<QLineEdit*>();
        QWidget* target = edit ? static_cast<QWidget*>(edit) : input;
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(2, target->height() / 2));
        const bool replace = Below(2) == 0;
        if (replace)
            QTest::keyClick(Focus(target), Qt::Key_A, Qt::ControlModifier);
        QCoreApplication::processEvents();
        clock_->Restart();
        QTest::keyClick(Focus(target), Qt::Key_V, Qt::ControlModifier);
        return QStringLiteral("paste %1 %2 %3")
            .arg(Shown(text), QLatin1String(replace ? "over" : "into"), Name(input));
    }

    QString Wheel() {
        const std::vector<QWidget*> controls = VisibleControls();
        if (controls.empty())
            return QStringLiteral("nothing to turn");
        QWidget* control = OneOf(controls);
        const QPoint point = control->rect().center();
        QWidget* target = control->childAt(point);
        if (!target)
            target = control;
        const int notches = Below(2) == 0 ? 1 : -1;
        const QPoint local = target->mapFrom(control, point);
        QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        return QStringLiteral("wheel %1 on %2").arg(notches).arg(Name(control));
    }

    // Rests the pointer on a control long enough for its hint to show.
    QString Hover() {
        const std::vector<QWidget*> controls = VisibleControls();
        if (controls.empty())
            return QStringLiteral("nothing to rest on");
        QWidget* control = OneOf(controls);
        QTest::mouseMove(control, control->rect().center());
        QTest::qWait(800);
        QTest::mouseMove(&form_, QPoint(1, 1));
        return QStringLiteral("rest the pointer on %1").arg(Name(control));
    }

    // An open list: keys to it, or a click on one of its items.
    QString InPopup(QWidget* popup) {
        auto* view = popup->findChild<QAbstractItemView*>();
        if (view && view->model() && view->model()->rowCount() > 0 && Below(2) == 0) {
            const QModelIndex index = view->model()->index(Below(view->model()->rowCount()), 0);
            view->scrollTo(index);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                              view->visualRect(index).center());
            return QStringLiteral("click item %1 of an open list").arg(index.row());
        }
        static const std::vector<std::pair<Qt::Key, const char*>> keys = {
            {Qt::Key_Down, "Down"},    {Qt::Key_Up, "Up"},         {Qt::Key_PageDown, "PageDown"},
            {Qt::Key_Return, "Enter"}, {Qt::Key_Escape, "Escape"}, {Qt::Key_F1, "F1"}};
        const auto& [key, name] = OneOf(keys);
        QTest::keyClick(Focus(popup), key, Qt::NoModifier);
        return QStringLiteral("%1 in an open list").arg(QLatin1String(name));
    }

    TForm1& form_;
    TEventClock* clock_ = nullptr;
    std::mt19937_64 rng_;
    QStringList oddTexts_;
};

// What differs between the window and the calculation core for the inputs the controls hold, or
// nothing.
QString Oracle(TForm1& form) {
    auto find = [&]<typename T = QWidget>(const char* name) {
        T* w = form.findChild<T*>(QLatin1String(name));
        if (!w) {
            std::fprintf(stderr, "random input: no control %s\n", name);
            std::abort();
        }
        return w;
    };
    auto checked = [&](const char* name) { return find.operator()<QRadioButton>(name)->isChecked(); };
    auto decimal = [&](const char* name) {
        return static_cast<double>(find.operator()<TsDecimalSpinEdit>(name)->Value());
    };
    auto whole = [&](const char* name) { return find.operator()<TsSpinEdit>(name)->Value(); };

    TEarthingInput in{};
    in.ClimaticRegion = checked("sRadioButton1")   ? 1
                        : checked("sRadioButton2") ? 2
                        : checked("sRadioButton3") ? 3
                        : checked("sRadioButton4") ? 4
                                                   : 0;
    in.TopLayer = find.operator()<QComboBox>("sComboBox1")->currentText().toStdU16String();
    in.BottomLayer = find.operator()<QComboBox>("sComboBox2")->currentText().toStdU16String();
    in.Thickness = decimal("sDecimalSpinEdit1");
    in.Depth = decimal("sDecimalSpinEdit2");
    in.Form = checked("sRadioButton7") ? 1 : 2;
    in.Width = whole("sSpinEdit3");
    in.Length = decimal("sDecimalSpinEdit6");
    in.MutualDisposition = checked("sRadioButton11") ? 1 : 2;
    in.Number = SaturateToInt32(whole("sSpinEdit1"));
    in.IntervalMultiplicity = SaturateToInt32(whole("sSpinEdit2"));
    in.FormHor = checked("sRadioButton9") ? 1 : checked("sRadioButton5") ? 2 : 3;
    in.WidthHor = whole("sSpinEdit4");

    const char16_t userSeparator = UserDecimalSeparator();
    const TEarthingResult result = ComputeEarthing(in, userSeparator, SystemDecimalSeparator().front());
    const TEarthingLabels expected = EarthingLabels(in, result, userSeparator);

    QString differences;
    const std::pair<const char*, const std::optional<std::u16string>*> labels[] = {
        {"sLabel31", &expected.sLabel31}, {"sLabel21", &expected.sLabel21}, {"sLabel25", &expected.sLabel25},
        {"sLabel18", &expected.sLabel18}, {"sLabel33", &expected.sLabel33}, {"sLabel35", &expected.sLabel35},
        {"sLabel38", &expected.sLabel38}, {"sLabel30", &expected.sLabel30}, {"sLabel28", &expected.sLabel28},
        {"sLabel39", &expected.sLabel39}};
    for (const auto& [name, text] : labels) {
        if (!*text)
            continue;
        const QString shown = find.operator()<QLabel>(name)->text();
        const QString wanted = QString::fromStdU16String(**text);
        if (shown != wanted)
            differences += QStringLiteral("%1 shows %2, the core gives %3; ")
                               .arg(QLatin1String(name), Shown(shown), Shown(wanted));
    }
    if (expected.ConnectorEnabled) {
        for (const char* name :
             {"sLabel12", "sLabel13", "sLabel31", "sLabel32", "sLabel33", "sSpinEdit2", "sGroupBox3"}) {
            if (find(name)->isEnabled() != *expected.ConnectorEnabled)
                differences += QStringLiteral("%1 is %2, the core says %3; ")
                                   .arg(QLatin1String(name),
                                        QLatin1String(find(name)->isEnabled() ? "enabled" : "greyed out"),
                                        QLatin1String(*expected.ConnectorEnabled ? "enabled" : "greyed out"));
        }
    }
    if (!differences.isEmpty()) {
        differences +=
            QStringLiteral("inputs: region %1, soils %2 / %3, h %4, t %5, form %6, width %7, l %8, "
                           "layout %9, n %10, a %11, connector %12, width %13")
                .arg(in.ClimaticRegion)
                .arg(Shown(QString::fromStdU16String(in.TopLayer)),
                     Shown(QString::fromStdU16String(in.BottomLayer)))
                .arg(in.Thickness)
                .arg(in.Depth)
                .arg(in.Form)
                .arg(in.Width)
                .arg(in.Length)
                .arg(in.MutualDisposition)
                .arg(in.Number)
                .arg(in.IntervalMultiplicity)
                .arg(in.FormHor)
                .arg(in.WidthHor);
    }
    return differences;
}

struct TOptions {
    unsigned long long seed = 0;
    bool seedGiven = false;
    double seconds = -1; // none given: 10, or no limit with --events
    unsigned long long events = ~0ULL;
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seed") {
            options.seed = std::stoull(argv[i + 1]);
            options.seedGiven = true;
        } else if (option == "--seconds") {
            options.seconds = std::stod(argv[i + 1]);
        } else if (option == "--events") {
            options.events = std::stoull(argv[i + 1]);
        } else {
            return false;
        }
    }
    if (options.seconds < 0)
        options.seconds = options.events == ~0ULL ? 10 : 1e12;
    return argc % 2 == 1;
}

// The offscreen platform says on every opened list that it cannot raise a window or grab the
// keyboard; those lines are dropped, everything else is printed.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(u"This plugin does not support"))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toUtf8().constData());
}

int Fail(const QString& reason) {
    std::fprintf(stderr, "\nrandom input FAILED: %s\n", reason.toUtf8().constData());
    WriteLastEvents();
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--seed S] [--seconds T] [--events N]\n", argv[0]);
        return 2;
    }
    if (!options.seedGiven)
        options.seed =
            static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch().count());
    seedInUse = options.seed;
    std::printf("random input: seed %llu\n", seedInUse);
    std::fflush(stdout);
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS})
        std::signal(signal, OnFatalSignal);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    TApplication application(argc, argv);
    InstallProgramFont();
    OverrideUserDecimalSeparator(u',');
    // The program folder of this run: its settings file, and the shipped themes that the build put
    // beside this test, so that the theme selector offers them.
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("Skins"));
    const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/Skins"));
    for (const QString& theme : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(theme), folder.path() + QStringLiteral("/Skins/") + theme);
    OverrideProgramFolder(folder.path() + u'/');

    TMessageBoxWatcher boxes;
    UrlCatcher links; // a web link clicked in the help goes here, not to a browser
    int status = 0;
    {
        TForm1 form;
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            return Fail(QStringLiteral("the window did not become active"));
        TRandomUser user(form, options.seed);

        QElapsedTimer run;
        run.start();
        // The slowest events by processor time, slowest first: processor time, wall time, number,
        // what it was.
        std::vector<std::tuple<double, double, unsigned long long, QString>> slowest;
        while (eventCount < options.events && run.elapsed() < options.seconds * 1000) {
            ++eventCount;
            std::snprintf(lastEvents[eventCount % Remembered], sizeof lastEvents[0], "(running)");
            TEventClock clock;
            clock.Restart();
            const QString event = user.Next(clock);
            QCoreApplication::processEvents();
            const double ms = clock.CpuMs(), wallMs = clock.WallMs();
            Remember(event);
            if (!event.startsWith(u"rest the pointer") &&
                (slowest.size() < 5 || ms > std::get<0>(slowest.back()))) {
                slowest.emplace_back(ms, wallMs, eventCount, event);
                std::sort(slowest.begin(), slowest.end(),
                          [](const auto& a, const auto& b) { return std::get<0>(a) > std::get<0>(b); });
                if (slowest.size() > 5)
                    slowest.pop_back();
            }
            if (!boxes.shown.isEmpty()) {
                status =
                    Fail(QStringLiteral("a message box came up: %1").arg(Shown(boxes.shown.first().text)));
                break;
            }
            if (!form.isVisible()) {
                status = Fail(QStringLiteral("the window closed"));
                break;
            }
            const QString difference = Oracle(form);
            if (!difference.isEmpty()) {
                status = Fail(difference);
                break;
            }
        }
        std::printf("random input: %llu events in %.1f s; the slowest (processor time, wall time):\n",
                    eventCount, static_cast<double>(run.elapsed()) / 1000);
        std::printf("  (%lld web links handed over)\n", static_cast<long long>(links.opened.size()));
        for (const auto& [ms, wallMs, number, event] : slowest)
            std::printf("  %.2f ms, %.2f ms, event %llu: %s\n", ms, wallMs, number,
                        event.toUtf8().constData());
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        // The close writes the settings file without a complaint.
        form.close();
        if (status == 0 && !boxes.shown.isEmpty())
            status = Fail(QStringLiteral("the close reported %1").arg(Shown(boxes.shown.first().text)));
    }
    OverrideProgramFolder(QString());
    return status;
}
