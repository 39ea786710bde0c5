// The settings file as the window reads and writes it: "стелворн.ini" in the program folder.
#include "config_fixture.h"
#include "message_box_watcher.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QByteArray FirstStartFile = "[INTERFACE]\r\n"
                                  "ShowHints=1\r\n"
                                  "ClimaticRegion=2\r\n"
                                  "TopLayer=Суглинок полутвёрдый лёссовидный (100)\r\n"
                                  "BottomLayer=Суглинок, сильно увлажнённый грунтовыми водами (60)\r\n"
                                  "Thickness=1,5\r\n"
                                  "Depth=0,5\r\n"
                                  "Form=1\r\n"
                                  "Width=50\r\n"
                                  "Length=3\r\n"
                                  "MutualDisposition=1\r\n"
                                  "Number=1\r\n"
                                  "IntervalMultiplicity=1\r\n"
                                  "FormHor=1\r\n"
                                  "WidthHor=40\r\n"
                                  "SkinName=Windows 10 (внутренний)\r\n"
                                  "Skins=1\r\n";

TEST_F(Config, FirstStartShowsTheResetValuesAndTheCloseWritesAllSixteenKeys) {
    Start();
    EXPECT_TRUE(Checked("sRadioButton2"));
    EXPECT_EQ(Text("sDecimalSpinEdit6"), "3");
    EXPECT_EQ(Text("sSpinEdit1"), "1");
    EXPECT_FALSE(Find("sGroupBox3")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>("sCheckBox1")->isChecked());
    EXPECT_TRUE(form->ShowHint());
    Close();
    EXPECT_EQ(FileBytes(), FirstStartFile);
}

TEST_F(Config, ValuesReadFromTheFile) {
    struct Case {
        const char* line;
        std::function<void(Config&)> check;
    };
    const Case cases[] = {
        {"ClimaticRegion=0", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton12")); }},
        {"ClimaticRegion=5", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton12")); }},
        {"ClimaticRegion=-1", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton12")); }},
        {"ClimaticRegion=abc", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton2")); }},
        {"ClimaticRegion=4", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton4")); }},
        {"Form=0", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton8")); }},
        {"Form=7", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton8")); }},
        {"MutualDisposition=2", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton10")); }},
        {"FormHor=2", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton5")); }},
        {"FormHor=9", [](Config& t) { EXPECT_TRUE(t.Checked("sRadioButton6")); }},
        {"ShowHints=0", [](Config& t) { EXPECT_FALSE(t.form->ShowHint()); }},
        {"ShowHints=2", [](Config& t) { EXPECT_TRUE(t.form->ShowHint()); }},
        {"ShowHints=yes", [](Config& t) { EXPECT_TRUE(t.form->ShowHint()); }},
        {"Number=0x0A", [](Config& t) { EXPECT_EQ(t.Text("sSpinEdit1"), "10"); }},
        {"Number=$A", [](Config& t) { EXPECT_EQ(t.Text("sSpinEdit1"), "10"); }},
        {"Number=10 ", [](Config& t) { EXPECT_EQ(t.Text("sSpinEdit1"), "10"); }},
        {"Number=10a", [](Config& t) { EXPECT_EQ(t.Text("sSpinEdit1"), "1"); }},
        {"Number=50", [](Config& t) { EXPECT_EQ(t.Text("sSpinEdit1"), "20"); }}, // the field's own range
        {"Length=2.5", [](Config& t) { EXPECT_EQ(t.Text("sDecimalSpinEdit6"), "3"); }}, // not our separator
        {"Length=2,5", [](Config& t) { EXPECT_EQ(t.Text("sDecimalSpinEdit6"), "2,5"); }},
        {"Depth=0.3", [](Config& t) { EXPECT_EQ(t.Text("sDecimalSpinEdit2"), "0,5"); }},
        {"Thickness= \"2,5\" ", [](Config& t) { EXPECT_EQ(t.Text("sDecimalSpinEdit1"), "2,5"); }},
        {"TopLayer=",
         [](Config& t) { EXPECT_EQ(t.Text("sComboBox1"), "Суглинок полутвёрдый лёссовидный (100)"); }},
        {"TopLayer=Мой грунт (77)", [](Config& t) { EXPECT_EQ(t.Text("sComboBox1"), "Мой грунт (77)"); }},
        {"BottomLayer='Глина влажная (20)'",
         [](Config& t) { EXPECT_EQ(t.Text("sComboBox2"), "Глина влажная (20)"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteFile(QByteArray("[INTERFACE]\r\n") + c.line + "\r\n");
        Start();
        c.check(*this);
        form.reset(); // without closing: the file stays as written
    }
}

TEST_F(Config, EmptyFieldsAreFilledBeforeTheyAreWritten) {
    // A field stays empty only while it has the focus; the window is closed right away.
    Start();
    Empty("sComboBox2");
    Empty("sDecimalSpinEdit6");
    Close();
    EXPECT_TRUE(FileBytes().contains("\r\nBottomLayer=\r\n"));
    EXPECT_TRUE(FileBytes().contains("\r\nLength=2,5\r\n"));

    Start(); // an emptied soil box shows its item again
    EXPECT_EQ(Text("sComboBox2"), "Суглинок, сильно увлажнённый грунтовыми водами (60)");
    Empty("sDecimalSpinEdit1");
    Close();
    EXPECT_TRUE(FileBytes().contains("\r\nThickness=1\r\n"));
}

TEST_F(Config, ASecondStartShowsWhatTheFirstClosedWith) {
    ASSERT_TRUE(QDir(programFolder).mkpath(QStringLiteral("Skins")));
    QFile theme(programFolder + QStringLiteral("Skins/Другая тема.skin"));
    ASSERT_TRUE(theme.open(QIODevice::WriteOnly));
    theme.write("QLabel { color: #102030; }\n");
    theme.close();
    Start();
    Find<QRadioButton>("sRadioButton3")->setChecked(true);
    Find<QRadioButton>("sRadioButton8")->setChecked(true);
    Find<QRadioButton>("sRadioButton10")->setChecked(true);
    Find<TsComboBox>("sComboBox1")->setEditText("Мой грунт (77)");
    Find<TsDecimalSpinEdit>("sDecimalSpinEdit2")->SetValue(0.8L);
    Find<TsSpinEdit>("sSpinEdit1")->SetValue(6);
    Find<TsSpinEdit>("sSpinEdit2")->SetValue(3);
    Find<QRadioButton>("sRadioButton5")->setChecked(true);
    Find<TsSpinEdit>("sSpinEdit4")->SetValue(25);
    Find<QCheckBox>("sCheckBox1")->click();
    form->sSkinManager1->SetSkinName("Другая тема");
    form->sSkinManager1->SetActive(false);
    const QString total = Find<QLabel>("sLabel39")->text();
    Close();

    Start();
    EXPECT_TRUE(Checked("sRadioButton3"));
    EXPECT_TRUE(Checked("sRadioButton8"));
    EXPECT_TRUE(Checked("sRadioButton10"));
    EXPECT_TRUE(Checked("sRadioButton5"));
    EXPECT_EQ(Text("sComboBox1"), "Мой грунт (77)");
    EXPECT_EQ(Text("sDecimalSpinEdit2"), "0,8");
    EXPECT_EQ(Text("sSpinEdit1"), "6");
    EXPECT_EQ(Text("sSpinEdit2"), "3");
    EXPECT_EQ(Text("sSpinEdit4"), "25");
    EXPECT_FALSE(Find<QCheckBox>("sCheckBox1")->isChecked());
    EXPECT_FALSE(form->ShowHint());
    EXPECT_EQ(form->sSkinManager1->SkinName(), "Другая тема");
    EXPECT_FALSE(form->sSkinManager1->Active());
    EXPECT_EQ(Find<QLabel>("sLabel39")->text(), total);
}

TEST_F(Config, OtherContentOfTheFileIsKept) {
    WriteFile("; written by hand\r\n[Other]\r\nKey=1\r\n\r\n[interface]\r\nnumber=4\r\nExtra=x\r\n");
    Start();
    EXPECT_EQ(Text("sSpinEdit1"), "4");
    Close();
    const QByteArray file = FileBytes();
    EXPECT_TRUE(file.startsWith("; written by hand\r\n[Other]\r\nKey=1\r\n\r\n[interface]\r\n"))
        << file.constData();
    EXPECT_TRUE(file.contains("\r\nExtra=x\r\n"));
    EXPECT_EQ(file.count("Number=4"), 1); // rewritten in place, under its own spelling
}

TEST_F(Config, AFolderThatRefusesTheWriteIsReportedAndTheWindowStillCloses) {
    UseFolder(QStringLiteral("/proc/")); // refuses new files, even to root
    TMessageBoxWatcher boxes;
    Start();
    EXPECT_TRUE(boxes.shown.isEmpty()); // no file: the defaults, silently
    ASSERT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text,
              "Не могу сохранить настройки:\n\nEIniFileException: Unable to write to /proc//стелворн.ini");
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::NoIcon);
}

TEST_F(Config, NumbersFollowTheSeparatorOfTheMoment) {
    OverrideUserDecimalSeparator(u'.');
    Start();
    EXPECT_EQ(Text("sDecimalSpinEdit1"), "1.5");
    Close();
    EXPECT_TRUE(FileBytes().contains("\r\nThickness=1.5\r\nDepth=0.5\r\n"));
    OverrideUserDecimalSeparator(u','); // the file of a point now reads as defaults
    WriteFile("[INTERFACE]\r\nThickness=2.5\r\n");
    Start();
    EXPECT_EQ(Text("sDecimalSpinEdit1"), "1,5");
}

TEST_F(Config, AStoredRodLengthBelowItsBoundIsShownAsUsedAndWrittenBack) {
    WriteFile("[INTERFACE]\r\nLength=0,5\r\n");
    Start();
    EXPECT_EQ(Text("sDecimalSpinEdit6"), "0,5"); // the length the results are for
    EXPECT_EQ(Find<QLabel>("sLabel31")->text(), "0,5 м.");
    Close(); // never touched: written back as read
    EXPECT_TRUE(FileBytes().contains("\r\nLength=0,5\r\n"));
}

TEST_F(Config, ALongSoilTextSurvivesARestartAsShown) {
    Start();
    auto* box = Find<QComboBox>("sComboBox1");
    box->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("Мой грунт ") + QString(5000, u'9'));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    const QString shown = box->currentText();
    EXPECT_EQ(shown.size(), 2047);
    Close();
    Start();
    EXPECT_EQ(Text("sComboBox1"), shown);
}

} // namespace
