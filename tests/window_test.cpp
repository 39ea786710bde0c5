// The main window driven as a user drives it: keys and clicks on the real controls, found by name.
#include "Unit1.h"
#include "application.h"
#include "message_box_watcher.h"
#include "user_locale.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Window : public WindowTest {
  protected:
    // The first worked example: from the first-start inputs, rods of 2,5 m and three of them.
    void EnterFirstExample() {
        Click("sButton1");
        TypeInto(Find("sDecimalSpinEdit6"), "2,5");
        TypeInto(Find("sSpinEdit1"), "3");
    }
};

const QStringList FirstExampleLabels = {"2,5 м.", "71",   "104", "33,1", "2,5 м.",
                                        "0,78",   "0,81", "5",   "87",   "12,5 Ом"};

TEST_F(Window, FirstExampleEnteredThroughTheControls) {
    EnterFirstExample();
    EXPECT_EQ(ResultLabels(), FirstExampleLabels);
    EXPECT_TRUE(Find("sGroupBox3")->isEnabled());
}

TEST_F(Window, TypingIntoASoilBoxRecalculatesOnEveryKeystroke) {
    EnterFirstExample();
    QWidget* box = Find("sComboBox1");
    TypeInto(box, "");
    EXPECT_EQ(LabelText("sLabel39"), "- Ом");
    QStringList shown;
    for (QChar c : QStringLiteral("150")) {
        Type(c);
        shown << LabelText("sLabel21");
    }
    EXPECT_EQ(static_cast<TsComboBox*>(box)->currentText(), "150");
    EXPECT_EQ(shown, QStringList({"2", "27", "79"})); // ρэ for ρ1 = 1, 15 and 150 over 60
}

TEST_F(Window, PickingAnItemRecalculatesOnceWithItsText) {
    EnterFirstExample();
    auto* box = Find<TsComboBox>("sComboBox2");
    QStringList textsSeen;
    QObject::connect(box, &TsComboBox::changed, [&] { textsSeen << box->currentText(); });
    box->showPopup();
    QAbstractItemView* view = box->view();
    const QModelIndex item = view->model()->index(2, 0); // "Глина влажная (20)"
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(item).center());
    EXPECT_EQ(textsSeen, QStringList({"Глина влажная (20)"}));
    EXPECT_EQ(LabelText("sLabel21"), "29"); // 100 over 20
}

TEST_F(Window, ASoilBoxCompletesFromTheCatalogue) {
    EnterFirstExample();
    auto* box = Find<TsComboBox>("sComboBox1");
    TypeInto(box, "");
    QSignalSpy changes(box, &TsComboBox::changed);
    QLineEdit* edit = box->lineEdit();
    auto type = [](const QString& c) { Type(c); };

    type("г");                                           // the first item beginning with "г", ignoring case
    EXPECT_EQ(box->currentText(), "глина влажная (20)"); // the typed letter, then the rest of the item
    EXPECT_EQ(edit->selectedText(), "лина влажная (20)");
    EXPECT_EQ(box->currentIndex(), 2);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(LabelText("sLabel21"), "33"); // 20 over 60

    type("л"); // still the same item: no event
    EXPECT_EQ(changes.count(), 1);
    type("и");
    type("н");
    type("а");
    type(" ");
    type("п"); // "Глина полутвёрдая (60)": another item
    EXPECT_EQ(box->currentIndex(), 16);
    EXPECT_EQ(changes.count(), 2);

    QTest::keyClick(Focus(), Qt::Key_Backspace); // drops the completion, no item
    EXPECT_EQ(box->currentText(), "глина п");
    EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(LabelText("sLabel39"), "- Ом");

    type("5"); // nothing begins with it: typed as usual
    EXPECT_EQ(box->currentText(), "глина п5");
    EXPECT_EQ(changes.count(), 4);
}

TEST_F(Window, FirstShowFocusesTheClimateGroupAndHintsSitOnTheInputs) {
    EXPECT_EQ(QApplication::focusWidget(), Find("sRadioButton2"));
    for (const char* name :
         {"sComboBox1", "sComboBox2", "sDecimalSpinEdit1", "sDecimalSpinEdit2", "sDecimalSpinEdit6",
          "sSpinEdit1", "sSpinEdit2", "sSpinEdit3", "sSpinEdit4", "sRadioButton1", "sRadioButton2",
          "sRadioButton3", "sRadioButton4", "sRadioButton12"})
        EXPECT_FALSE(Find(name)->toolTip().isEmpty()) << name;
    for (const char* name :
         {"sRadioButton7", "sRadioButton11", "sRadioButton9", "sButton1", "sLabel21", "sLabel39"})
        EXPECT_TRUE(Find(name)->toolTip().isEmpty()) << name;
    EXPECT_TRUE(Find("sRadioButton1")->toolTip().contains(QChar(0x2212))); // a real minus sign
}

TEST_F(Window, TheCaptionCarriesTheVersionOfTheBuild) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Стелворн v.1.7"));
}

TEST_F(Window, TheHintsCheckBoxSwitchesEveryHintOfTheWindow) {
    // What the toolkit sends when the pointer rests on a control; the window's hint renderer answers.
    auto hover = [&](QWidget* control) {
        form->sHints1->HideHint();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(control, &help);
        return form->sHints1->Owner() == control && form->sHints1->HintWindow()->Hint() == control->toolTip();
    };
    auto* box = Find<QCheckBox>("sCheckBox1");
    const QList<QWidget*> controls = {Find("sSpinEdit1"), Find("sRadioButton1"), box, Find("sSkinSelector1")};
    EXPECT_TRUE(box->isChecked()); // a first start: hints on
    for (QWidget* control : controls)
        EXPECT_TRUE(hover(control)) << control->objectName().toStdString();
    box->click();
    EXPECT_FALSE(form->ShowHint());
    for (QWidget* control : controls)
        EXPECT_FALSE(hover(control)) << control->objectName().toStdString();
    EXPECT_FALSE(QToolTip::isVisible());
    box->click();
    for (QWidget* control : controls)
        EXPECT_TRUE(hover(control)) << control->objectName().toStdString();
    form->sHints1->HideHint();
}

TEST_F(Window, AStopLeavesTheLaterLabelsAsTheyWere) {
    EnterFirstExample();
    const QStringList before = ResultLabels();
    EXPECT_EQ(before, FirstExampleLabels);
    TypeInto(Find("sSpinEdit2"), "5"); // a = 5 stops after the rod resistance
    QStringList after = before;
    after.last() = "- Ом";
    EXPECT_EQ(ResultLabels(), after);
}

TEST_F(Window, ADashSaysWhyUnderTheTotalUntilTheNextTotal) {
    EnterFirstExample();
    auto* reason = Find<QLabel>("sLabel42");
    EXPECT_FALSE(reason->isVisible());
    struct Case {
        const char* field;
        const char* wrong;
        const char* right;
        const char* why;
    };
    const Case cases[] = {
        {"sSpinEdit1", "25", "3", "Количество электродов должно быть от 1 до 20."},
        {"sSpinEdit2", "5", "1", "Кратность расстояния между электродами должна быть от 1 до 4."},
        {"sComboBox2", "", "60", "В поле нижнего пласта нет удельного сопротивления больше нуля."},
        {"sSpinEdit4", "0", "40", "Ширина соединителя должна быть больше нуля."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        TypeInto(Find(c.field), QString::fromUtf8(c.wrong));
        EXPECT_EQ(LabelText("sLabel39"), "- Ом");
        EXPECT_TRUE(reason->isVisible());
        EXPECT_EQ(reason->text(), QString::fromUtf8(c.why));
        // Whole under the total, clear of the reset button, inside the panel.
        const QRect total = Find("sLabel39")->geometry();
        EXPECT_GT(reason->y(), total.bottom());
        EXPECT_GE(reason->height(), reason->heightForWidth(reason->width()));
        EXPECT_FALSE(reason->geometry().intersects(Find("sButton1")->geometry()));
        EXPECT_LE(reason->geometry().bottom(), reason->parentWidget()->height());

        TypeInto(Find(c.field), QString::fromUtf8(c.right));
        EXPECT_EQ(ResultLabels(), FirstExampleLabels);
        EXPECT_FALSE(reason->isVisible());
    }
}

TEST_F(Window, ATypedPointOrCommaIsTheDecimalSeparator) {
    TypeInto(Find("sDecimalSpinEdit6"), "2.5");
    EXPECT_EQ(Find<TsDecimalSpinEdit>("sDecimalSpinEdit6")->Text(), "2,5");
    EXPECT_EQ(LabelText("sLabel31"), "2,5 м.");
    TypeInto(Find("sDecimalSpinEdit1"), "1.2");
    Find("sDecimalSpinEdit2")->setFocus(Qt::TabFocusReason); // leaving it keeps 1,2, not 3,0
    EXPECT_EQ(Find<TsDecimalSpinEdit>("sDecimalSpinEdit1")->Text(), "1,2");
    EXPECT_EQ(Find<TsDecimalSpinEdit>("sDecimalSpinEdit1")->Value(), 1.2L);
}

TEST_F(Window, ASoilBoxWithoutTheFocusShowsTheBeginningOfItsText) {
    auto* box = Find<TsComboBox>("sComboBox2");
    const QString item = box->itemText(box->currentIndex()); // a long one: "Суглинок, сильно ..."
    // Left by Tab with the caret at the end.
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focus(), Qt::Key_End);
    ASSERT_EQ(box->lineEdit()->cursorPosition(), item.size());
    QTest::keyClick(Focus(), Qt::Key_Tab);
    ASSERT_FALSE(box->hasFocus());
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 0);
    // A text set from code, as the settings file's is at a start.
    box->setEditText(item + QStringLiteral(" и ещё длинный хвост"));
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 0);
}

TEST_F(Window, OneRodGreysOutTheIntervalAndTheConnectorTwoRodsEnableThem) {
    EnterFirstExample();
    const char* greyed[] = {"sLabel12",   "sLabel13",   "sLabel31",      "sLabel32",   "sLabel33",
                            "sSpinEdit2", "sGroupBox3", "sRadioButton9", "sSpinEdit4", "sLabel28"};
    TypeInto(Find("sSpinEdit1"), "1");
    for (const char* name : greyed)
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
    EXPECT_EQ(LabelText("sLabel28"), "∞");
    EXPECT_EQ(LabelText("sLabel39"), "33,1 Ом");
    TypeInto(Find("sSpinEdit1"), "2");
    for (const char* name : greyed)
        EXPECT_TRUE(Find(name)->isEnabled()) << name;
}

TEST_F(Window, ACountBeyond32BitsNeverWrapsIntoRange) {
    TypeInto(Find("sSpinEdit1"), "4294967297"); // would be 1 rod in its low 32 bits
    EXPECT_EQ(LabelText("sLabel39"), "- Ом");
    TypeInto(Find("sSpinEdit2"), "4294967298"); // would be a = 2
    EXPECT_EQ(LabelText("sLabel39"), "- Ом");
}

TEST_F(Window, ResetGivesTheFirstStartInputs) {
    Click("sRadioButton4");
    Click("sRadioButton8");
    Click("sRadioButton10");
    Click("sRadioButton6");
    TypeInto(Find("sComboBox1"), "77");
    TypeInto(Find("sDecimalSpinEdit1"), "2,2");
    TypeInto(Find("sDecimalSpinEdit2"), "0,9");
    TypeInto(Find("sSpinEdit3"), "60");
    TypeInto(Find("sSpinEdit1"), "5"); // enables the connector
    TypeInto(Find("sSpinEdit4"), "12");
    Click("sButton1");

    EXPECT_TRUE(Find<QRadioButton>("sRadioButton2")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("sRadioButton7")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("sRadioButton11")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("sRadioButton9")->isChecked());
    EXPECT_EQ(Find<TsComboBox>("sComboBox1")->currentText(), "Суглинок полутвёрдый лёссовидный (100)");
    EXPECT_EQ(Find<TsComboBox>("sComboBox2")->currentText(),
              "Суглинок, сильно увлажнённый грунтовыми водами (60)");
    EXPECT_EQ(Find<TsDecimalSpinEdit>("sDecimalSpinEdit1")->Text(), "1,5");
    EXPECT_EQ(Find<TsDecimalSpinEdit>("sDecimalSpinEdit2")->Text(), "0,5");
    EXPECT_EQ(Find<TsSpinEdit>("sSpinEdit3")->Text(), "50");
    EXPECT_EQ(Find<TsDecimalSpinEdit>("sDecimalSpinEdit6")->Text(), "3");
    EXPECT_EQ(Find<TsSpinEdit>("sSpinEdit1")->Text(), "1");
    EXPECT_EQ(Find<TsSpinEdit>("sSpinEdit2")->Text(), "1");
    EXPECT_EQ(Find<TsSpinEdit>("sSpinEdit4")->Text(), "40");
    EXPECT_FALSE(Find("sGroupBox3")->isEnabled());
    EXPECT_EQ(ResultLabels(),
              QStringList({"3 м.", "69", "100", "27,8", "3 м.", "1", "0", "0", "∞", "27,8 Ом"}));
}

TEST_F(Window, ApplyingInputsSetsEveryControlAsTypingDid) {
    Click("sRadioButton4");
    Click("sRadioButton8");
    Click("sRadioButton6");
    TypeInto(Find("sComboBox1"), "77");
    TypeInto(Find("sComboBox2"), "Глина (40)");
    TypeInto(Find("sDecimalSpinEdit1"), "2,2");
    TypeInto(Find("sDecimalSpinEdit2"), "0,9");
    TypeInto(Find("sSpinEdit3"), "60");
    TypeInto(Find("sDecimalSpinEdit6"), "2,5");
    Click("sRadioButton10");
    TypeInto(Find("sSpinEdit1"), "5");
    TypeInto(Find("sSpinEdit2"), "2");
    TypeInto(Find("sSpinEdit4"), "12");
    const TEarthingInput typed = form->ReadInputs();
    const QStringList labels = ResultLabels();

    Click("sButton1");
    ASSERT_NE(form->ReadInputs(), typed);
    form->ApplyInputs(typed);
    EXPECT_EQ(form->ReadInputs(), typed);
    EXPECT_EQ(ResultLabels(), labels);
    EXPECT_TRUE(Find("sGroupBox3")->isEnabled());
}

TEST_F(Window, F1TogglesTheHelpPage) {
    auto* pages = Find<TsPageControl>("sPageControl1");
    QSignalSpy userSwitches(pages, &TsPageControl::userPageChanged);
    auto f1 = [&] {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key_F1);
    };
    auto clickTab = [&](int index) {
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    };

    f1(); // right after start: help, then back to page 0
    EXPECT_EQ(pages->currentIndex(), 2);
    f1();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(userSwitches.count(), 0); // switches from code raise no page events

    clickTab(1); // from the settings page and back
    f1();
    EXPECT_EQ(pages->currentIndex(), 2);
    f1();
    EXPECT_EQ(pages->currentIndex(), 1);

    clickTab(2); // from help the user goes to settings; F1 opens help, F1 returns to settings
    clickTab(1);
    f1();
    EXPECT_EQ(pages->currentIndex(), 2);
    f1();
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(userSwitches.count(), 3);
}

TEST_F(Window, TabWalksBand2ThenBand1RightToLeftThenBand3) {
    EnterFirstExample();
    const QStringList expected = {"sRadioButton7",     "sSpinEdit3", "sDecimalSpinEdit6", "sRadioButton11",
                                  "sSpinEdit1",        "sSpinEdit2", "sDecimalSpinEdit2", "sComboBox1",
                                  "sDecimalSpinEdit1", "sComboBox2", "sRadioButton2",     "sRadioButton9",
                                  "sSpinEdit4",        "sButton1"};
    Find("sRadioButton7")->setFocus();
    QStringList walked;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        // A field's focus is in its text box; name the field.
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        walked << (focus ? focus->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(walked, expected);
}

// The lists are made on their first opening (the start does not style and lay out their items).
TEST_F(Window, OpenedSoilListsAreWideEnoughForTheLongestItem) {
    const int sample = form->fontMetrics().horizontalAdvance(
        QStringLiteral("Песок слегка влажный, грунтовые воды ниже 5 м. (1000) ----------)"));
    for (const char* name : {"sComboBox1", "sComboBox2"}) {
        auto* box = Find<TsComboBox>(name);
        EXPECT_TRUE(box->findChildren<QAbstractItemView*>().isEmpty()) << name;
        const int boxWidth = box->width();
        box->showPopup();
        EXPECT_GE(box->view()->window()->width(), sample) << name;
        box->hidePopup();
        EXPECT_EQ(box->width(), boxWidth) << name;
    }
    EXPECT_EQ(Find("sComboBox1")->width(), 170);
    EXPECT_EQ(Find("sComboBox2")->width(), 240);
}

TEST_F(Window, ResizingStretchesOnlyTheSoilAndRodSizeBoxes) {
    form->resize(100, 100);
    EXPECT_EQ(form->frameGeometry().size(), QSize(600, 490));  // the minimum outer size
    EXPECT_EQ(Find("sPageControl1")->size(), QSize(584, 452)); // the client area as designed
    struct Geometry {
        QRect soil, rod, climate, depth, layout, connector, field, button, panel;
    };
    auto measure = [&] {
        QApplication::processEvents();
        auto in = [&](const char* name) {
            QWidget* w = Find(name);
            return QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size());
        };
        return Geometry{in("sGroupBox4"), in("sGroupBox5"), in("sGroupBox1"),
                        in("sGroupBox2"), in("sGroupBox6"), in("sGroupBox3"),
                        in("sSpinEdit3"), in("sButton1"),   in("sPanel1")};
    };
    const Geometry small = measure();
    form->resize(form->size() + QSize(200, 100));
    const Geometry large = measure();

    EXPECT_EQ(large.soil.width(), small.soil.width() + 200);
    EXPECT_EQ(large.rod.width(), small.rod.width() + 200);
    for (auto part : {&Geometry::climate, &Geometry::depth, &Geometry::layout, &Geometry::field})
        EXPECT_EQ((large.*part).size(), (small.*part).size());
    EXPECT_EQ(large.connector.width(), 315);
    EXPECT_EQ(large.connector.height(), small.connector.height() + 100); // grows in height
    EXPECT_EQ(large.depth.right(), small.depth.right() + 200);           // stays at the right edge
    EXPECT_EQ(Find("sGroupBox4")->mapTo(Find("sPanel3"), QPoint(0, 0)), QPoint(121, 8));
    for (const Geometry* g : {&small, &large}) {
        EXPECT_EQ(g->panel.right() - g->button.right(), 3);
        EXPECT_EQ(g->panel.bottom() - g->button.bottom(), 3);
    }
}

TEST(Application, TitleFromTheExecutableName) {
    EXPECT_EQ(ApplicationTitleFromPath("/usr/local/bin/stelvorn"), "stelvorn");
    EXPECT_EQ(ApplicationTitleFromPath("/opt/СТЕЛВОРН.x86_64.bin"), "Стелворн");
    EXPECT_EQ(ApplicationTitleFromPath("Stelvorn"), "Stelvorn");
    EXPECT_EQ(ApplicationTitleFromPath("/tmp/.hidden"), "");
}

TEST(Application, TheWindowShowsTheProgramIconAndNamesItsDesktopEntry) {
    TForm1 form;
    const QIcon icon = form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(48, 48).size(), QSize(48, 48));
    // The window class of the desktop entry's StartupWMClass, and the entry's name.
    EXPECT_EQ(QCoreApplication::applicationName(), "Stelvorn");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "ru.stelvorn.Stelvorn");
}

TEST(Application, AnExceptionFromAHandlerIsReportedAndTheProgramGoesOn) {
    auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    TMessageBoxWatcher boxes;
    // A handler run from the event loop throws. (Qt's own mouse and key delivery is not written for
    // exceptions unwinding through it, so the test runs the handler from a queued call.)
    QObject receiver;
    QMetaObject::invokeMethod(
        &receiver, [] { throw std::runtime_error("Сбой"); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, "Сбой");
    EXPECT_EQ(boxes.shown[0].caption, ApplicationTitle());
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Ok);
}

} // namespace
