// The window's themes and hints as a user meets them: the theme start-up step, the settings page,
// the themed title bar and what a close writes.
#include "TResultActions.h"
#include "config_fixture.h"
#include "message_box_watcher.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QHelpEvent>
#include <QPointer>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString BuiltIn = QStringLiteral("Windows 10 (внутренний)");

class Themes : public Config {
  protected:
    void SetUp() override {
        Config::SetUp();
        ASSERT_TRUE(QDir(programFolder).mkdir(QStringLiteral("Skins")));
        WriteTheme("Графит", "@title-background: #1f1f1f;\nQLabel { color: #e8e8e8; }\n");
    }

    void WriteTheme(const char* name, const QByteArray& bytes) {
        QFile file(programFolder + QStringLiteral("Skins/") + QString::fromUtf8(name) +
                   QStringLiteral(".skin"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void WriteSettings(const QByteArray& lines) { WriteFile("[INTERFACE]\r\n" + lines); }
    void Choose(const QString& text) {
        TsSkinSelector* selector = form->sSkinSelector1;
        const int index = selector->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        selector->setCurrentIndex(index);
        emit selector->activated(index);
    }
    bool StandardEntryEnabled() const {
        return qobject_cast<QStandardItemModel*>(form->sSkinSelector1->model())->item(0)->isEnabled();
    }
    bool TitleBarShown() const { return form->sSkinProvider1->TitleBar()->isVisible(); }
};

} // namespace

TEST_F(Themes, AFirstStartOpensInTheBuiltInThemeWithTheAddedTitleAndHints) {
    Start();
    EXPECT_TRUE(form->sSkinManager1->Active());
    EXPECT_EQ(form->sSkinManager1->SkinName(), BuiltIn);
    EXPECT_EQ(form->sSkinManager1->SkinDirectory(), programFolder + QStringLiteral("Skins"));
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
    EXPECT_TRUE(TitleBarShown());
    EXPECT_EQ(form->sSkinProvider1->TitleBar()->AddedTitle(),
              QStringLiteral("- расчёт сопротивления заземления"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Стелворн v.1.7")); // the taskbar shows the caption alone
    EXPECT_EQ(form->sPageControl1->size(), QSize(584, 452));
    EXPECT_EQ(form->frameGeometry().size(), QSize(600, 490));
    EXPECT_TRUE(form->ShowHint());
    EXPECT_EQ(form->sSkinSelector1->currentText(), BuiltIn);
    EXPECT_TRUE(StandardEntryEnabled());
}

TEST_F(Themes, TheSettingsPagePlacesTheSelectorWithItsLabelAndHintBeforeTheCheckBox) {
    Start();
    TsSkinSelector* selector = form->sSkinSelector1;
    EXPECT_EQ(selector->parentWidget(), form->sTabSheet3);
    EXPECT_EQ(selector->geometry(), QRect(12, 28, 239, 22));
    QLabel* label = form->sSkinSelector1Label;
    EXPECT_EQ(label->text(), QStringLiteral("Выбор темы интерфейса"));
    EXPECT_EQ(label->x(), 12);
    EXPECT_EQ(label->geometry().bottom() + 1 + 4, 28);
    EXPECT_EQ(label->buddy(), selector);
    EXPECT_EQ(selector->toolTip(), QStringLiteral("Выбор визуальной темы интерфейса приложения"));
    EXPECT_EQ(selector->nextInFocusChain(), form->sCheckBox1);

    QStringList items;
    for (int i = 0; i < selector->count(); ++i)
        items << selector->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("Standard theme"), BuiltIn, QStringLiteral("Графит")}));
}

TEST_F(Themes, ThemingOffOpensInTheStandardLookAndChoosingAThemeSwitchesItOn) {
    WriteSettings("SkinName=Графит\r\nSkins=0\r\n");
    Start();
    EXPECT_FALSE(form->sSkinManager1->Active());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_FALSE(TitleBarShown());
    EXPECT_FALSE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->sSkinSelector1->currentIndex(), 0);
    EXPECT_EQ(form->sSkinSelector1->currentText(), QStringLiteral("Standard theme"));
    EXPECT_FALSE(StandardEntryEnabled());

    const QPoint place = form->frameGeometry().topLeft();
    Choose(QStringLiteral("Графит"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(form->sSkinManager1->Active());
    EXPECT_EQ(form->sSkinManager1->SkinName(), QStringLiteral("Графит"));
    EXPECT_TRUE(TitleBarShown());
    EXPECT_EQ(form->frameGeometry().topLeft(), place); // the window stays where it was
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("#e8e8e8")));
}

TEST_F(Themes, StandardThemeChosenIsWrittenAsSkinsZeroWithTheNameKept) {
    Start();
    Choose(QStringLiteral("Графит"));
    Choose(QStringLiteral("Standard theme"));
    EXPECT_FALSE(TitleBarShown());
    Close();
    EXPECT_TRUE(FileBytes().contains("\r\nSkinName=Графит\r\nSkins=0\r\n"));

    Start();
    EXPECT_FALSE(form->sSkinManager1->Active());
    EXPECT_FALSE(TitleBarShown());
    Choose(QStringLiteral("Графит"));
    EXPECT_TRUE(form->sSkinManager1->Active());
    EXPECT_EQ(form->sSkinManager1->SkinName(), QStringLiteral("Графит"));
}

TEST_F(Themes, AnUnknownThemeFallsBackSilentlyAndTheNextCloseWritesTheBuiltInName) {
    WriteSettings("SkinName=Удалённая тема\r\nSkins=1\r\n");
    TMessageBoxWatcher boxes;
    Start();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(form->sSkinManager1->SkinName(), BuiltIn);
    Close();
    EXPECT_TRUE(FileBytes().contains("\r\nSkinName=Windows 10 (внутренний)\r\nSkins=1\r\n"));
}

TEST_F(Themes, AnUnusableSavedThemeIsReportedAndTheBuiltInOneStays) {
    WriteTheme("Сломанная", QByteArray(64, '\0'));
    WriteSettings("SkinName=Сломанная\r\n");
    TMessageBoxWatcher boxes;
    Start();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Не могу загрузить тему «Сломанная»:")));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Оставлена тема «Windows 10 (внутренний)».")));
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(form->sSkinManager1->SkinName(), BuiltIn);
    EXPECT_TRUE(form->sSkinManager1->Active());
}

TEST_F(Themes, TheThemeFolderIsSkinsWhenItIsAFolderOrALinkToOneElseTheProgramFolder) {
    const QString skins = programFolder + QStringLiteral("Skins");
    ASSERT_TRUE(QDir(skins).removeRecursively());
    ASSERT_TRUE(QDir(programFolder).mkdir(QStringLiteral("elsewhere")));
    QFile(programFolder + QStringLiteral("file")).open(QIODevice::WriteOnly);

    const struct {
        const char* what;
        std::function<void()> make;
        bool isSkins;
    } cases[] = {
        {"none", [] {}, false},
        {"folder", [&] { QDir(programFolder).mkdir(QStringLiteral("Skins")); }, true},
        {"link to a folder", [&] { QFile::link(programFolder + QStringLiteral("elsewhere"), skins); }, true},
        {"file", [&] { QFile(skins).open(QIODevice::WriteOnly); }, false},
        {"link to a file", [&] { QFile::link(programFolder + QStringLiteral("file"), skins); }, false},
    };
    for (const auto& c : cases) {
        QFile::remove(skins);
        QDir(skins).removeRecursively();
        c.make();
        Start();
        EXPECT_EQ(form->sSkinManager1->SkinDirectory(), c.isSkins ? skins : programFolder) << c.what;
        form.reset();
    }
}

TEST_F(Themes, TheTitleBarsCloseIsTheNormalCloseAndSwitchingKeepsPlaceAndSize) {
    Start();
    form->setGeometry(150, 60, 700, 520);
    const QRect outer = form->frameGeometry();
    Choose(QStringLiteral("Standard theme"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Choose(BuiltIn);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->frameGeometry(), outer);

    QTest::mouseClick(form->sSkinProvider1->TitleBar()->CloseButton, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(FileBytes().contains("\r\nSkins=1\r\n")); // FormClose wrote the settings
}

TEST_F(Themes, HintsOffSurviveARestartAndTheDepthHintShowsTwoLines) {
    Start();
    auto rest = [&](QWidget* control) {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(control, &help);
        return form->sHints1->Owner() == control;
    };
    ASSERT_TRUE(rest(form->sDecimalSpinEdit2));
    EXPECT_EQ(
        form->sHints1->HintWindow()->Document().toPlainText(),
        QStringLiteral("Расстояние от поверхности земли до верхней части электродов\n(от 10 см до 1 м.)"));
    form->sCheckBox1->click();
    Close();

    Start();
    EXPECT_FALSE(form->sCheckBox1->isChecked());
    for (QWidget* control :
         {static_cast<QWidget*>(form->sDecimalSpinEdit2), static_cast<QWidget*>(form->sCheckBox1),
          static_cast<QWidget*>(form->sSkinSelector1)})
        EXPECT_FALSE(rest(control));
}

TEST_F(Themes, TheHelpPanelKeepsItsPaleYellowUnderEveryTheme) {
    QDir shipped(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR));
    for (const QString& file : shipped.entryList({QStringLiteral("*.skin")}, QDir::Files)) {
        QFile::remove(programFolder + QStringLiteral("Skins/") + file); // the fixture's Графит
        ASSERT_TRUE(QFile::copy(shipped.filePath(file), programFolder + QStringLiteral("Skins/") + file));
    }
    Start();
    form->sPageControl1->setCurrentIndex(2);
    const QStringList themes = form->sSkinManager1->AvailableSkins();
    EXPECT_EQ(themes.size(), 4); // the built-in theme and the three shipped
    for (const QString& theme : QStringList{QStringLiteral("Standard theme")} + themes) {
        Choose(theme);
        const QImage panel = form->findChild<QWidget*>(QStringLiteral("sPanel8"))->grab().toImage();
        EXPECT_EQ(panel.pixelColor(panel.width() - 2, panel.height() / 2), QColor(0xFF, 0xFF, 0xDD))
            << theme.toStdString();
    }
}

// After a dark theme, "Standard theme" is the platform's look everywhere: no control keeps a colour
// of the theme, neither at once nor after a restart with theming off.
TEST_F(Themes, TheStandardLookAfterADarkThemeKeepsNoThemeColourAtRunTimeOrAfterARestart) {
    QDir shipped(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR));
    QFile::remove(programFolder + QStringLiteral("Skins/Графит.skin")); // the fixture's
    ASSERT_TRUE(QFile::copy(shipped.filePath(QStringLiteral("Графит.skin")),
                            programFolder + QStringLiteral("Skins/Графит.skin")));
    const auto expectPlatformColours = [this](const char* when) {
        QList<QWidget*> widgets = form->findChildren<QWidget*>();
        widgets << form.get();
        for (QWidget* widget : widgets) {
            const QPalette own = widget->palette(), platform = QApplication::palette(widget);
            for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                EXPECT_EQ(own.color(own.currentColorGroup(), role).name(),
                          platform.color(own.currentColorGroup(), role).name())
                    << when << ": " << widget->metaObject()->className() << " "
                    << widget->objectName().toStdString() << ", role " << role;
        }
    };
    Start();
    Choose(QStringLiteral("Графит"));
    form->sPageControl1->setCurrentIndex(0);
    QCoreApplication::processEvents();
    Choose(QStringLiteral("Standard theme"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    expectPlatformColours("at run time");
    Close();
    ASSERT_TRUE(FileBytes().contains("\r\nSkinName=Графит\r\nSkins=0\r\n"));

    Start();
    expectPlatformColours("after a restart");
}

// The theme's style sheet polishes each control once: neither giving the window its themed frame
// while it is built nor taking the sheet back out when the window goes polishes the controls again
// (each time would cost as much as a theme switch, at every start and every close).
TEST_F(Themes, TheControlsAreStyledOnceFromTheStartToTheClose) {
    class StyleChanges : public QObject {
      public:
        QStringList controls;

      protected:
        bool eventFilter(QObject* receiver, QEvent* event) override {
            static const QStringList watched = {QStringLiteral("sSpinEdit1"),    QStringLiteral("sComboBox1"),
                                                QStringLiteral("sLabel31"),      QStringLiteral("sGroupBox3"),
                                                QStringLiteral("sRadioButton1"), QStringLiteral("sCheckBox1"),
                                                QStringLiteral("WebBrowser1")};
            if (event->type() == QEvent::StyleChange && watched.contains(receiver->objectName()))
                controls << receiver->objectName();
            return false;
        }
    } changes;
    qApp->installEventFilter(&changes);
    const std::pair<QByteArray, bool> starts[] = {
        {"", true}, {"SkinName=Графит\r\n", true}, {"SkinName=Графит\r\nSkins=0\r\n", false}};
    for (const auto& [settings, themed] : starts) {
        WriteSettings(settings);
        Start();
        EXPECT_EQ(TitleBarShown(), themed);
        Close();
        EXPECT_TRUE(changes.controls.isEmpty())
            << settings.toStdString() << ": " << changes.controls.join(u' ').toStdString();
        changes.controls.clear();
    }
    qApp->removeEventFilter(&changes);
}

// The fit dialog has the window's look: the themed title bar with its caption while theming is on,
// the window manager's frame while it is off.
TEST_F(Themes, TheFitDialogHasTheThemedTitleBarWhileThemingIsOn) {
    Start();
    for (bool themed : {true, false}) {
        SCOPED_TRACE(themed ? "themed" : "standard look");
        if (!themed)
            Choose(QStringLiteral("Standard theme"));
        bool ran = false;
        form->ResultActions->RunFitDialog = [&](TFitDialog& dialog) {
            ran = true;
            // The title bar by its name: the class has no meta-object of its own to be found by.
            auto* bar = dialog.findChild<QWidget*>(QStringLiteral("sTitleBar"));
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(bool(dialog.windowFlags() & Qt::FramelessWindowHint), themed);
            EXPECT_EQ(bar->isVisibleTo(&dialog), themed);
        };
        form->ResultActions->Action2Execute();
        EXPECT_TRUE(ran);
    }
}

namespace {

// The colours every named control shows, each page brought to the front in turn.
QStringList ControlColours(TForm1& form) {
    QStringList colours;
    for (int page = 0; page < form.sPageControl1->count(); ++page) {
        form.sPageControl1->setCurrentIndex(page);
        QCoreApplication::processEvents();
        QWidget* shown = form.sPageControl1->currentWidget();
        for (QWidget* widget : shown->findChildren<QWidget*>()) {
            if (widget->objectName().isEmpty() || !widget->isVisible())
                continue;
            const QPalette p = widget->palette();
            QString line = widget->objectName();
            for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Base,
                                             QPalette::Text, QPalette::Button, QPalette::ButtonText})
                line += u' ' + p.color(role).name();
            colours << line;
        }
    }
    form.sPageControl1->setCurrentIndex(0);
    return colours;
}

} // namespace

// A switch from one theme to another leaves every control of every page as a start in the new
// theme shows it, and restyles each control once or twice however deep it sits in the window (Qt
// restyled a control once more under each of its ancestors for a changed sheet: a switch took a
// few frames).
TEST_F(Themes, ASwitchStylesEveryPageAsAStartInTheNewThemeAndEachControlAtMostTwice) {
    QDir shipped(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR));
    for (const char* name : {"Графит.skin", "Небо.skin"}) {
        QFile::remove(programFolder + QStringLiteral("Skins/") + QString::fromUtf8(name));
        ASSERT_TRUE(QFile::copy(shipped.filePath(QString::fromUtf8(name)),
                                programFolder + QStringLiteral("Skins/") + QString::fromUtf8(name)));
    }
    WriteSettings("SkinName=Небо\r\n");
    Start();
    const QStringList started = ControlColours(*form);
    Close();

    WriteSettings("SkinName=Графит\r\n");
    Start();
    const QStringList dark = ControlColours(*form);
    class StyleChanges : public QObject {
      public:
        QHash<QObject*, std::pair<QPointer<QObject>, int>> counts; // some go within the switch

      protected:
        bool eventFilter(QObject* receiver, QEvent* event) override {
            if (event->type() == QEvent::StyleChange) {
                auto& [alive, count] = counts[receiver];
                if (!alive) { // new here, or a new object where one went
                    alive = receiver;
                    count = 0;
                }
                ++count;
            }
            return false;
        }
    } changes;
    qApp->installEventFilter(&changes);
    Choose(QStringLiteral("Небо"));
    qApp->removeEventFilter(&changes);
    // A control under a sheet of its own (the help's tool bar) is restyled for that sheet as well.
    const auto underOwnSheet = [](const QWidget* widget) {
        for (; widget; widget = widget->parentWidget()) {
            if (!widget->styleSheet().isEmpty())
                return true;
        }
        return false;
    };
    int restyled = 0;
    QStringList oftener;
    for (auto it = changes.counts.cbegin(); it != changes.counts.cend(); ++it) {
        const auto* widget = qobject_cast<QWidget*>(it->first.data());
        if (!widget || underOwnSheet(widget))
            continue;
        ++restyled;
        if (it->second > 2)
            oftener << QStringLiteral("%1 %2 %3×")
                           .arg(widget->metaObject()->className(), widget->objectName())
                           .arg(it->second);
    }
    EXPECT_GT(restyled, 100);
    EXPECT_TRUE(oftener.isEmpty()) << oftener.join(QStringLiteral(", ")).toStdString();
    EXPECT_NE(dark, started);
    EXPECT_EQ(ControlColours(*form), started);
}
