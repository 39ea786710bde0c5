#pragma once

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <cstdint>

#include "THelpBrowser.h"
#include "TsComboBox.h"
#include "TsDecimalSpinEdit.h"
#include "TsHints.h"
#include "TsPageControl.h"
#include "TsSkinManager.h"
#include "TsSkinProvider.h"
#include "TsSkinSelector.h"
#include "TsSpinEdit.h"
#include "earthing.h"

class TPanel;
class TResultActions;
struct TFitRow;
class QToolButton;

// Folder of the running executable, ending in its separator; set first thing when the window is
// created.
extern QString ProgramFolder;
// The page that F1 returns to from the help page.
extern int32_t PreviousPageIndex;

// Makes the window's creation take this folder as ProgramFolder instead of the executable's (it must end in
// "/"); an empty text removes the override. Meant for tests, which keep their settings files apart.
void OverrideProgramFolder(const QString& folder);

// The program's one window: the calculation page, the settings page and the help page. Every input
// control's change or click runs Сalculation, which rewrites the result labels.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Reads every input, runs the calculation and writes the labels of the stages it reached.
    void Сalculation();
    // The calculation's inputs as the controls hold them now.
    TEarthingInput ReadInputs() const;
    // Brings the calculation page to the front, as the F1 toggle does, without page events.
    void ShowCalculationPage();
    // Sets the layout, spacing multiple, rod count and rod length from a row of the fit, control by
    // control as a user would, so every change event runs and the total follows.
    void ApplyFitRow(const TFitRow& row);
    // Sets the texts of the two soil boxes as a user would: each changed box raises its change event.
    void ApplySoilTexts(const QString& top, const QString& bottom);
    void ApplyThickness(double thickness);
    // Sets every input control from the inputs as a user would (each change event runs, the total
    // follows) and brings the calculation page to the front. The hints switch and the theme stay.
    void ApplyInputs(const TEarthingInput& in);

    // Event handlers.
    void sComboBox1Change();
    void sRadioButton1Click();
    void sButton1Click();
    void Action1Execute();
    void sPageControl1Changing(int leavingIndex, bool& allowChange);
    void FormCreate();
    void FormShow();
    void FormClose();

    void sCheckBox1Click();

    // The help page: thin forwards to the help view WebBrowser1.
    void WebBrowser1BeforeNavigate2(const QUrl& URL, bool& Cancel);
    void WebBrowser1CommandStateChange(int Command, bool Enable);
    void WebBrowser1NavigateComplete2(const QUrl& URL);
    void ToolButton8Click();
    void ToolButton5Click();
    void ToolButton6Click();
    void sPageControl1Change();
    void sPageControl1TabMouseLeave(int TabIndex);

    // The settings file: OpenConfig reads the inputs and the hints switch when the window is first
    // shown, SaveConfig writes them and the theme when it closes; each reports its own failure.
    void OpenConfig();
    void SaveConfig();
    // The theme step of the window's creation, before its first control is made: the theme folder,
    // and the saved theme name and switch.
    void ApplySavedTheme();

    // The window's hint switch: when off, no control of the window shows its hint.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on) { showHint_ = on; }

    // The width of the opened soil lists: at least that of the longest catalogue item and a margin.
    void SetSoilListWidths();

    TsPageControl* sPageControl1;
    QWidget *sTabSheet1, *sTabSheet3, *sTabSheet2;
    QAction* Action1;

    TPanel *sPanel3, *sPanel6, *sPanel4, *sPanel1;
    QGroupBox *sGroupBox1, *sGroupBox4, *sGroupBox2, *sGroupBox5, *sGroupBox6, *sGroupBox3;

    QRadioButton *sRadioButton1, *sRadioButton2, *sRadioButton3, *sRadioButton4, *sRadioButton12;
    QRadioButton *sRadioButton7, *sRadioButton8;
    QRadioButton *sRadioButton11, *sRadioButton10;
    QRadioButton *sRadioButton9, *sRadioButton5, *sRadioButton6;
    // The four radio groups. A button's id is its code in the calculation and the settings file:
    // region 1 to 4 and 0 for "Не учитывать", rod form 1/2, layout 1/2, connector form 1/2/3.
    QButtonGroup *ClimaticRegionGroup, *FormGroup, *MutualDispositionGroup, *FormHorGroup;

    TsComboBox *sComboBox1 = nullptr, *sComboBox2 = nullptr;
    TsDecimalSpinEdit *sDecimalSpinEdit1, *sDecimalSpinEdit2, *sDecimalSpinEdit6;
    TsSpinEdit *sSpinEdit1, *sSpinEdit2, *sSpinEdit3, *sSpinEdit4;
    QPushButton* sButton1;
    QCheckBox* sCheckBox1;
    // The theme engine, the window's themed frame, the hint renderer, and the theme selector with
    // its bound label on the settings page.
    TsSkinManager* sSkinManager1;
    TsSkinProvider* sSkinProvider1;
    TsHints* sHints1;
    TsSkinSelector* sSkinSelector1;
    QLabel* sSkinSelector1Label;

    // The help page: the toolbar panel (home, separator, back, forward) over the help view. The view
    // is destroyed at close, after the settings are written; WebBrowser1 is then null.
    TPanel* sPanel8;
    QWidget* sToolBar3;
    QToolButton *ToolButton8, *ToolButton5, *ToolButton6;
    QWidget* ToolButton7;
    THelpBrowser* WebBrowser1;

    // The fit to a required resistance, the calculation as a document and as a file: their shortcuts
    // and the result panel's context menu.
    TResultActions* ResultActions = nullptr;

    // Fixed texts.
    QLabel *sLabel1, *sLabel2, *sLabel3, *sLabel20, *sLabel22, *sLabel23, *sLabel24, *sLabel26, *sLabel41,
        *sLabel14;
    QLabel *sLabel8, *sLabel10, *sLabel9, *sLabel11, *sLabel17, *sLabel19;
    QLabel *sLabel16, *sLabel36, *sLabel12, *sLabel13, *sLabel32, *sLabel34;
    QLabel *sLabel4, *sLabel6, *sLabel5, *sLabel7, *sLabel37, *sLabel29, *sLabel27, *sLabel15;
    // Results.
    QLabel *sLabel21, *sLabel25, *sLabel18, *sLabel31, *sLabel33, *sLabel35, *sLabel30, *sLabel38, *sLabel28,
        *sLabel39;
    // Under the total while it shows "-": why the inputs give no total; hidden otherwise.
    QLabel* sLabel42;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The construction of the window (Unit1Layout.cpp): BuildWindow makes every control, one
    // function a tab, band or group box, then the hints and the tab order.
    void BuildWindow();
    void BuildCalculationPage();
    void BuildClimateBox();
    void BuildSoilBox();
    void BuildDepthBox();
    void BuildRodBox();
    void BuildLayoutBox();
    void BuildConnectorBox();
    void BuildResultPanel();
    void BuildSettingsPage();
    void BuildThemeComponents();
    void BuildHelpPage();
    void ApplyHintTexts();
    void SetTabOrder();
    static void KeepCheckedAsTabStop(QButtonGroup* group);
    // Checks the button of the code; any code without a button checks the group's last button.
    static void CheckCode(QButtonGroup* group, int32_t code);
    static void SetChangedValue(TsDecimalSpinEdit* field, double value);

    void Wire();
    void FocusHelp();
    void FocusBrowser();

    bool shown_ = false;
    bool showHint_ = true;
};
