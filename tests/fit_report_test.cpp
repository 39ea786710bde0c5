// The fit dialog and the calculation as a document, driven from the real window: its shortcuts and
// context menu, "Применить" through the controls, and the PDF read back with pdftotext.
#include "TFitDialog.h"
#include "TResultActions.h"
#include "Unit1.h"
#include "fit.h"
#include "fit_chart.h"
#include "message_box_watcher.h"
#include "number_format.h"
#include "qt_text.h"
#include "system_beep.h"
#include "window_fixture.h"
#include "worked_examples.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QShortcut>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

class FitAndReport : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        actions = form->ResultActions;
    }

    // Presses a key where the keyboard focus is, as a user does.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }

    void SetSoil(const QString& top, const QString& bottom) {
        TypeInto(form->sComboBox1, top);
        TypeInto(form->sComboBox2, bottom);
    }

    // Opens the fit with Ctrl+R and hands the open dialog to `use`.
    void Fit(const std::function<void(TFitDialog&)>& use) {
        bool opened = false;
        actions->RunFitDialog = [&](TFitDialog& dialog) {
            opened = true;
            use(dialog);
        };
        Press(Qt::Key_R);
        EXPECT_TRUE(opened);
    }

    // The PDF of the current calculation, saved with Ctrl+E, as text.
    QString SavedPdfText(const QString& name = QStringLiteral("расчёт.pdf")) {
        const QString path = folder.filePath(name);
        actions->ChooseSavePath = [&](const QString&) { return path; };
        Press(Qt::Key_E);
        return PdfText(path);
    }

    static QString PdfText(const QString& path) {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        EXPECT_TRUE(pdftotext.waitForFinished(20000));
        EXPECT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
        return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    }

    TResultActions* actions = nullptr;
};

// The three commands answer their keys on every page and in any control, and no other key of the
// window (F1, the help's Alt+ keys) is the same; the result panel and the total offer them as a menu.
TEST_F(FitAndReport, ShortcutsAndContextMenu) {
    QList<QKeySequence> keys;
    for (QAction* action : form->findChildren<QAction*>())
        keys.append(action->shortcuts());
    for (QShortcut* shortcut : form->findChildren<QShortcut*>())
        keys.append(shortcut->key());
    for (const QKeySequence& key : keys)
        EXPECT_EQ(keys.count(key), 1) << key.toString().toStdString();
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_R)));
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_E)));
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_P)));
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_M)));

    for (QWidget* focus : {static_cast<QWidget*>(form->sSpinEdit3), static_cast<QWidget*>(form->sComboBox1),
                           static_cast<QWidget*>(form->sRadioButton2)}) {
        focus->setFocus();
        Fit([](TFitDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Подбор");
            dialog.reject();
        });
    }
    form->sPageControl1->SetPageFromCode(2); // the help page, focus in the help view
    form->WebBrowser1->setFocus();
    Fit([](TFitDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(form->sPageControl1->currentIndex(), 2); // nothing applied: the page stays

    for (QWidget* target :
         {form->findChild<QWidget*>(QStringLiteral("sPanel1")), static_cast<QWidget*>(form->sLabel39)}) {
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->contextMenuPolicy(), Qt::ActionsContextMenu);
        QList<QAction*> offered = target->actions();
        offered.removeIf([](const QAction* action) { return action->isSeparator(); });
        EXPECT_EQ(
            offered.mid(offered.size() - 8),
            (QList<QAction*>{actions->ActionUndo, actions->ActionRedo, actions->Action2, actions->Action3,
                             actions->Action4, actions->Action5, actions->Action6, actions->ActionVariants}));
    }
    EXPECT_EQ(actions->Action2->text(), "Подобрать под нормативное сопротивление…");
    EXPECT_EQ(actions->Action3->text(), "Сохранить документ в PDF…");
    EXPECT_EQ(actions->Action4->text(), "Печать расчёта…");
}

// Opening and closing the fit, or cancelling the save, neither recalculates nor changes an input.
TEST_F(FitAndReport, NothingChangesUnlessARowIsApplied) {
    form->sSpinEdit3->setFocus();
    form->sLabel39->setText(QStringLiteral("не пересчитано"));
    const TEarthingInput before = form->ReadInputs();
    Fit([](TFitDialog& dialog) {
        dialog.NormButton(0)->click();
        dialog.reject();
    });
    bool asked = false;
    actions->ChooseSavePath = [&](const QString&) {
        asked = true;
        return QString();
    };
    Press(Qt::Key_E);
    EXPECT_TRUE(asked);
    EXPECT_EQ(form->sLabel39->text(), "не пересчитано");
    const TEarthingInput after = form->ReadInputs();
    EXPECT_EQ(after.Number, before.Number);
    EXPECT_EQ(after.IntervalMultiplicity, before.IntervalMultiplicity);
    EXPECT_EQ(after.MutualDisposition, before.MutualDisposition);
    EXPECT_EQ(after.Length, before.Length);
    EXPECT_EQ(actions->Norm().Norm, 4); // the norm chosen is kept for the session
}

// "Применить" sets layout, multiple and count through the controls: the live total follows and shows
// the row's total; the chosen norm comes back at the next fit.
TEST_F(FitAndReport, ApplySetsTheControlsAndTheTotalFollows) {
    form->sSpinEdit3->setFocus();
    TFitRow chosen;
    Fit([&](TFitDialog& dialog) {
        dialog.NormButton(1)->click(); // 10 Ом
        ASSERT_GE(dialog.Table()->rowCount(), 3);
        EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
        dialog.Table()->selectRow(2);
        chosen = dialog.Fit().Rows[2];
        EXPECT_EQ(dialog.Table()->item(2, 4)->text(), ToQString(FormatTenths(chosen.TotalResistance, u',')));
        dialog.ApplyButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(form->MutualDispositionGroup->checkedId(), chosen.MutualDisposition);
    EXPECT_EQ(form->sSpinEdit2->Value(), chosen.IntervalMultiplicity);
    EXPECT_EQ(form->sSpinEdit1->Value(), chosen.Number);
    EXPECT_EQ(form->sLabel39->text(), ToQString(FormatTenths(chosen.TotalResistance, u',')) + " Ом");
    EXPECT_TRUE(form->sGroupBox3->isEnabled()); // more than one rod: the connector group is live
    EXPECT_LE(chosen.TotalResistance, 10);

    Fit([](TFitDialog& dialog) {
        EXPECT_TRUE(dialog.NormButton(1)->isChecked());
        dialog.reject();
    });
    // Remembered at close like any input: the next start shows the applied arrangement.
    form->close();
    form = std::make_unique<TForm1>();
    form->show();
    EXPECT_EQ(form->MutualDispositionGroup->checkedId(), chosen.MutualDisposition);
    EXPECT_EQ(form->sSpinEdit2->Value(), chosen.IntervalMultiplicity);
    EXPECT_EQ(form->sSpinEdit1->Value(), chosen.Number);
}

// Soil above 100 Ом∙м offers the raised norm and fits to it on request; below, there is none.
TEST_F(FitAndReport, RaisedNormForResistiveSoil) {
    form->sSpinEdit3->setFocus();
    Fit([](TFitDialog& dialog) {
        EXPECT_FALSE(dialog.RaisedNorm()->isVisibleTo(&dialog)); // ρэ = 71 Ом∙м
        dialog.reject();
    });
    SetSoil(QStringLiteral("250"), QStringLiteral("250"));
    Fit([](TFitDialog& dialog) {
        dialog.NormButton(1)->click();
        EXPECT_TRUE(dialog.RaisedNorm()->isVisibleTo(&dialog));
        EXPECT_TRUE(dialog.RaisedNorm()->text().contains(u"25 Ом"))
            << dialog.RaisedNorm()->text().toStdString();
        EXPECT_EQ(dialog.Required(), 10);
        dialog.RaisedNorm()->click();
        EXPECT_DOUBLE_EQ(dialog.Required(), 25);
        for (const TFitRow& row : dialog.Fit().Rows)
            EXPECT_LE(row.TotalResistance, 25);
        dialog.reject();
    });
    EXPECT_TRUE(actions->Norm().Raised);
}

// The typed norm takes "." and "," as its decimal separator whatever its locale's is; a second one and
// a letter are refused, visibly.
TEST_F(FitAndReport, TheTypedNormTakesAPointOrACommaAsItsSeparator) {
    Fit([](TFitDialog& dialog) {
        dialog.NormButton(3)->click();
        QDoubleSpinBox* norm = dialog.TypedNorm();
        for (const QLocale& locale : {QLocale(QLocale::Russian, QLocale::Russia), QLocale::c()}) {
            norm->setLocale(locale);
            for (const char* typed : {"5.5", "5,5"}) {
                SCOPED_TRACE(locale.name().toStdString() + " " + typed);
                norm->selectAll();
                QTest::keyClicks(norm, QString::fromLatin1(typed));
                EXPECT_DOUBLE_EQ(norm->value(), 5.5);
                EXPECT_DOUBLE_EQ(dialog.Norm().Norm, 5.5);
                EXPECT_DOUBLE_EQ(dialog.Required(), 5.5);
                EXPECT_EQ(RefusedKeySign(norm), nullptr);
            }
        }
        for (const char* refused : {".", ",", "x"}) {
            SCOPED_TRACE(refused);
            norm->selectAll();
            QTest::keyClicks(norm, QStringLiteral("7.5"));
            QTest::keyClicks(norm, QString::fromLatin1(refused));
            EXPECT_DOUBLE_EQ(norm->value(), 7.5);
            EXPECT_NE(RefusedKeySign(norm), nullptr);
        }
        dialog.reject();
    });
}

// The norms are one tab stop, at the checked one, whichever it is: Tab from the last control lands on it.
TEST_F(FitAndReport, TabLandsOnTheCheckedNorm) {
    form->sSpinEdit3->setFocus();
    Fit([](TFitDialog& dialog) {
        dialog.show();
        auto* close = dialog.findChild<QPushButton*>(QStringLiteral("FitClose"));
        ASSERT_NE(close, nullptr);
        for (int checked : {1, 0, 2, 3}) { // 10 Ом as the dialog opens, then each in turn
            dialog.NormButton(checked)->setChecked(true);
            close->setFocus();
            QTest::keyClick(close, Qt::Key_Tab);
            EXPECT_EQ(dialog.focusWidget(), dialog.NormButton(checked)) << "norm " << checked;
        }
        dialog.reject();
    });
}

// The dialog fits a 1920 × 1080 screen at twice the scale (960 × 540 units) and a 1366 × 768 screen at
// the plain one, with room for the window manager's frame, and opens within the screen it is on.
TEST_F(FitAndReport, DialogFitsTheScreenAtEitherScale) {
    for (const bool themed : {true, false}) {
        SCOPED_TRACE(themed ? "themed" : "standard look");
        form->sSkinManager1->SetActive(themed);
        bool opened = false;
        actions->RunFitDialog = [&](TFitDialog& dialog) {
            opened = true;
            const QSize frame = TFitDialog::FrameAllowance;
            for (const QSize screen : {QSize(1920 / 2, 1080 / 2), QSize(1366, 768)}) {
                const QSize room = screen - frame;
                const QSize least = dialog.minimumSizeHint();
                EXPECT_LE(least.width(), room.width()) << screen.width();
                EXPECT_LE(least.height(), room.height()) << screen.width();
                const QSize size = dialog.SizeFor(screen);
                EXPECT_LE(size.width(), room.width()) << screen.width();
                EXPECT_LE(size.height(), room.height()) << screen.width();
                EXPECT_GE(size.width(), least.width());
                EXPECT_GE(size.height(), least.height());
            }
            EXPECT_EQ(dialog.SizeFor(QSize(1920, 1080)), QSize(980, 460)); // as much as it likes
            // A themed dialog draws its frame inside its own rectangle; otherwise the window manager adds
            // one.
            const QRect available = dialog.screen()->availableGeometry();
            EXPECT_EQ(dialog.windowFlags().testFlag(Qt::FramelessWindowHint), themed);
            const QSize outer = themed ? dialog.size() : dialog.size() + frame;
            EXPECT_LE(outer.width(), available.width());
            EXPECT_LE(outer.height(), available.height());
            dialog.reject();
        };
        actions->Action2Execute();
        EXPECT_TRUE(opened);
    }
}

// Nothing reaches the norm: said plainly, with the best arrangement and the same one with the rod
// length that reaches it; applying that row sets the length too.
TEST_F(FitAndReport, NotReachedOffersTheRodLength) {
    form->sSpinEdit3->setFocus();
    SetSoil(QStringLiteral("1000"), QStringLiteral("1000"));
    TFitRow reaching;
    Fit([&](TFitDialog& dialog) {
        dialog.NormButton(0)->click(); // 4 Ом
        EXPECT_TRUE(dialog.Status()->text().startsWith(u"Ни одно расположение"))
            << dialog.Status()->text().toStdString();
        ASSERT_EQ(dialog.Table()->rowCount(), 2);
        ASSERT_TRUE(dialog.Fit().Reaching);
        reaching = *dialog.Fit().Reaching;
        EXPECT_GT(reaching.Length, 3);
        dialog.Table()->selectRow(1);
        dialog.ApplyButton()->click();
    });
    EXPECT_EQ(static_cast<double>(form->sDecimalSpinEdit6->Value()), reaching.Length);
    EXPECT_EQ(form->sSpinEdit1->Value(), reaching.Number);
    EXPECT_EQ(form->sLabel39->text(), ToQString(FormatTenths(reaching.TotalResistance, u',')) + " Ом");

    // Inputs that give no total at all: no rows, and the reason.
    SetSoil(QStringLiteral("неизвестный грунт"), QStringLiteral("60"));
    Fit([](TFitDialog& dialog) {
        EXPECT_EQ(dialog.Table()->rowCount(), 0);
        EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
        EXPECT_TRUE(dialog.Status()->text().contains(u"верхнего пласта"));
        dialog.reject();
    });
}

// The PDF of the first worked example: the inputs with the soil texts, the values, the total and the
// verdicts against 30, 10 and 4 Ом.
TEST_F(FitAndReport, PdfCarriesInputsTotalAndVerdicts) {
    form->sDecimalSpinEdit6->SetValue(2.5L);
    form->sSpinEdit1->SetValue(3);
    form->sSpinEdit3->setFocus();
    ASSERT_EQ(form->sLabel39->text(), "12,5 Ом");
    const QString text = SavedPdfText();
    for (const char* expected : {"Расчёт сопротивления растеканию тока заземлителя",
                                 "Суглинок полутвёрдый лёссовидный (100)",
                                 "Суглинок, сильно увлажнённый грунтовыми водами (60)",
                                 "Климатический район II",
                                 "1,5 м",
                                 "0,5 м",
                                 "уголок, ширина стороны 50 мм, длина l = 2,5 м",
                                 "в ряд, количество n = 3 шт.",
                                 "полоса, ширина 40 мм",
                                 "71 Ом∙м",
                                 "104 Ом∙м",
                                 "33,1 Ом",
                                 "0,78 и 0,81",
                                 "5 м",
                                 "87 Ом",
                                 "12,5 Ом",
                                 "соответствует: 12,5 Ом ≤ 30 Ом",
                                 "не соответствует: 12,5 Ом > 10 Ом",
                                 "не соответствует: 12,5 Ом > 4 Ом",
                                 "Количество электродов, шт."}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_FALSE(text.contains(u"повышенная")); // ρэ = 71 Ом∙м: no raised norm
    // The norm of the fit, 10 Ом until another is chosen, is marked.
    const qsizetype ten = text.indexOf(u"Норма 10 Ом —"), four = text.indexOf(u"Норма 4 Ом —");
    ASSERT_TRUE(ten >= 0 && four > ten);
    EXPECT_TRUE(text.mid(ten, four - ten).contains(u"(выбрана)"));
    EXPECT_EQ(text.count(u"(выбрана)"), 1);
}

// The document's own formulas: the rod's with 0,366, the depth of the rods' middle from the depth of
// their tops, every symbol explained; a total of 10,04 Ом judged against 10 Ом shows why it fails.
TEST_F(FitAndReport, PdfTypesetsTheFormulasWithTheRunsNumbers) {
    form->sDecimalSpinEdit6->SetValue(2.5L);
    form->sSpinEdit1->SetValue(3);
    form->sSpinEdit3->setFocus();
    ASSERT_EQ(form->sLabel39->text(), "12,5 Ом");
    const QString path = folder.filePath(QStringLiteral("формулы.pdf"));
    const QString text = SavedPdfText(QStringLiteral("формулы.pdf"));
    if (const QString keep = qEnvironmentVariable("STELVORN_KEEP_REPORT"); !keep.isEmpty())
        QFile::copy(path, keep);
    for (const char* expected : {"0,366", "t = t₀ + l/2 = 0,5 + 2,5/2 = 1,75 м", "= 33,12 ≈ 33,1 Ом",
                                 "t₀ — глубина верхнего конца электродов (заглубление), 0,5 м",
                                 "L — длина горизонтального соединителя", "= 12,51 ≈ 12,5 Ом"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_EQ(text.count(u"366"), text.count(u"0,366")); // never 366 for 0,366

    form->sDecimalSpinEdit1->SetValue(0.3L); // the upper layer thinner than the rods' depth
    ASSERT_EQ(form->sLabel39->text(), "10 Ом");
    EXPECT_TRUE(SavedPdfText(QStringLiteral("10.pdf")).contains(u"не соответствует: 10,04 Ом > 10 Ом"));
}

// Ctrl+P prints the same document; here the printer writes a PDF file.
TEST_F(FitAndReport, PrintGivesTheSameDocument) {
    form->sSpinEdit3->setFocus();
    const QString path = folder.filePath(QStringLiteral("печать.pdf"));
    actions->ChoosePrinter = [&](QPrinter& printer) {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    Press(Qt::Key_P);
    EXPECT_TRUE(PdfText(path).contains(u"Расчёт сопротивления растеканию тока заземлителя"));
    EXPECT_TRUE(PdfText(path).contains(u"Суглинок полутвёрдый лёссовидный (100)"));
}

// Printing runs in a module loaded on the first print; without it Ctrl+P says so and names its file,
// and the window goes on.
TEST_F(FitAndReport, PrintWithoutTheModuleSaysWhy) {
    actions->PrintModuleFolder = folder.path(); // no module there
    actions->ChoosePrinter = [](QPrinter&) {
        ADD_FAILURE() << "no printer is chosen without the module";
        return false;
    };
    form->sSpinEdit3->setFocus();
    const QString total = form->sLabel39->text();
    TMessageBoxWatcher watcher;
    Press(Qt::Key_P);
    ASSERT_EQ(watcher.shown.size(), 1);
    EXPECT_TRUE(watcher.shown[0].text.startsWith(u"Не могу напечатать расчёт: не загружается модуль печати "))
        << watcher.shown[0].text.toStdString();
    EXPECT_TRUE(watcher.shown[0].text.contains(folder.filePath(QStringLiteral("libstelvorn_print.so"))));
    EXPECT_EQ(form->sLabel39->text(), total);
}

// Inputs without a total still give a document, which says why and judges nothing as met.
TEST_F(FitAndReport, PdfWithoutATotal) {
    TypeInto(form->sComboBox1, QStringLiteral("неизвестный грунт"));
    ASSERT_EQ(form->sLabel39->text(), "- Ом");
    const QString text = SavedPdfText();
    EXPECT_TRUE(text.contains(u"Сопротивление не вычислено: в поле верхнего пласта")) << text.toStdString();
    EXPECT_TRUE(text.contains(u"не соответствует 30 Ом"));
    EXPECT_EQ(text.count(u"соответствует"), text.count(u"не соответствует"));
}

// The chart draws the requirement line in red over the totals; totals too large for the arithmetic or
// none at all leave an empty chart instead of a hang.
TEST(FitChart, RequirementLineAndExtremeTotals) {
    QImage image(400, 300, QImage::Format_RGB32);
    const auto paint = [&](const TFitChartData& data) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintFitChart(painter, QRectF(image.rect()), data, u',');
    };
    const auto redPixels = [&] {
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += qRed(image.pixel(x, y)) > 150 && qGreen(image.pixel(x, y)) < 80;
        return red;
    };
    TEarthingInput input = FirstExample();
    paint(MakeFitChartData(input, 10, u',', u','));
    EXPECT_GT(redPixels(), 100);

    TFitChartData extreme;
    extreme.Totals[0][0] = 1.7e308;
    extreme.Required = 10;
    paint(extreme);
    paint(TFitChartData{});
    EXPECT_EQ(redPixels(), 0);
}

// The value axis: every total without a requirement; with one, up to four times the requirement or
// twice the lowest total, whichever is higher, so that the requirement line is not squeezed to the
// bottom by totals of hundreds of ohms; never below the requirement itself.
TEST(FitChart, AxisKeepsTheRequirementReadable) {
    const auto totals = [](std::initializer_list<double> values) {
        TFitChartData data;
        int count = 0;
        for (double value : values)
            data.Totals[0][count++] = value;
        return data;
    };
    const struct {
        const char* name;
        TFitChartData data;
        double required, top;
    } cases[] = {
        {"no requirement: every total", totals({400, 200, 90, 40, 12}), 0, 500},
        {"totals near the requirement: all of them", totals({33.1, 18, 12.5, 9.6}), 10, 40},
        {"totals to 400 Ом, 10 Ом: four times the requirement", totals({400, 200, 90, 40, 12}), 10, 40},
        {"the lowest total far above 4 Ом: twice the lowest", totals({400, 200, 90, 40, 35}), 4, 80},
        {"a requirement above every total", totals({8, 6, 5}), 30, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TFitChartData data = c.data;
        data.Required = c.required;
        const TFitChartAxis axis = FitChartAxis(data);
        EXPECT_DOUBLE_EQ(axis.Top(), c.top);
        EXPECT_GE(axis.Top(), c.required);
    }

    // A resistive soil from the calculation itself: the requirement stands at a quarter of the axis or
    // higher, while the single rod's total is far above.
    TEarthingInput input = FirstExample();
    input.TopLayer = input.BottomLayer = u"1000";
    const TFitChartData resistive = MakeFitChartData(input, 10, u',', u',');
    ASSERT_GT(*resistive.Totals[0][0], 300);
    const TFitChartAxis axis = FitChartAxis(resistive);
    EXPECT_GE(10 / axis.Top(), 0.2);
    EXPECT_EQ(FitChartAxis(TFitChartData{}).Ticks, 0);
}

// Above 100 Ом∙м the document judges against the raised norms as well.
TEST_F(FitAndReport, PdfWithTheRaisedNorm) {
    SetSoil(QStringLiteral("250"), QStringLiteral("250"));
    form->sSpinEdit1->SetValue(6);
    form->sSpinEdit3->setFocus();
    const QString text = SavedPdfText();
    EXPECT_TRUE(text.contains(u"ρэ = 250 Ом∙м, выше 100 Ом∙м")) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Норма 30 Ом, повышенная до 75 Ом соответствует:")); // 30 × 2,5
    EXPECT_TRUE(text.contains(u"≤ 75 Ом"));
}

// A folder that refuses the file: a message box names the failure, the user picks another place,
// and the document is saved there.
TEST_F(FitAndReport, RefusedFolderIsReportedAndNothingIsLost) {
    QFile blocker(folder.filePath(QStringLiteral("файл")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString refused = folder.filePath(QStringLiteral("файл/расчёт.pdf")); // a file, not a folder
    const QString good = folder.filePath(QStringLiteral("другое место"));
    QStringList asked;
    actions->ChooseSavePath = [&](const QString& suggested) {
        asked.append(suggested);
        return asked.size() == 1 ? refused : asked.size() == 2 ? good : QString();
    };
    form->sSpinEdit3->setFocus();
    TMessageBoxWatcher watcher;
    Press(Qt::Key_E);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].endsWith(u".pdf"));
    EXPECT_TRUE(asked[0].contains(QDate::currentDate().toString(Qt::ISODate)));
    EXPECT_EQ(asked[1], refused); // offered again where it failed
    ASSERT_EQ(watcher.shown.size(), 1);
    EXPECT_TRUE(watcher.shown[0].text.startsWith(u"Не могу сохранить документ в PDF:"));
    EXPECT_TRUE(QFile::exists(good + ".pdf"));
}

// Ctrl+E through the real file dialog writes the document and nothing in the user's home or
// configuration folder: Qt's file dialog would keep its folder history in QtProject.conf there.
TEST_F(FitAndReport, SaveDialogLeavesNothingInTheHome) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    struct TEnvironment {
        const char* name;
        QByteArray old = qgetenv(name);
        TEnvironment(const char* name, const QString& value) : name(name) {
            qputenv(name, QFile::encodeName(value));
        }
        ~TEnvironment() {
            if (old.isNull())
                qunsetenv(name);
            else
                qputenv(name, old);
        }
    } homeVariable("HOME", home.path()),
        configVariable("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")));

    const QString path = folder.filePath(QStringLiteral("через диалог.pdf"));
    int answered = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            ++answered;
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    answer.start(5);
    form->sSpinEdit3->setFocus();
    Press(Qt::Key_E);
    ASSERT_EQ(answered, 1);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QDir(home.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .join(u' ')
                  .toStdString(),
              "");
    // Wherever Qt would put the dialog's state, there is none.
    EXPECT_FALSE(QFile::exists(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName()));
}

} // namespace
