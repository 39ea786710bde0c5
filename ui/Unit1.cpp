// The main window TForm1: the wiring of its controls, the event handlers, Сalculation and the
// steps of the window's life. The window is built in Unit1Layout.cpp; its settings file is read and
// written in Unit1Config.cpp.
#include "Unit1.h"

#include "TCalculationFiles.h"
#include "TResultActions.h"
#include "application.h"
#include "earthing.h"
#include "fit.h"
#include "help_links.h"
#include "qt_text.h"
#include "soil_catalogue.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <stdexcept>
#include <utility>

QString ProgramFolder;
int32_t PreviousPageIndex = 0;

namespace {
QString programFolderOverride;
// The page index of the help tab "Справка".
constexpr int HelpPage = 2;
} // namespace

void OverrideProgramFolder(const QString& folder) {
    programFolderOverride = folder;
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    ProgramFolder = programFolderOverride.isEmpty() ? QCoreApplication::applicationDirPath() + u'/'
                                                    : programFolderOverride;
    BuildWindow();
    Wire();
    ResultActions = new TResultActions(
        {.Window = this,
         .ResultWidgets = {findChild<QWidget*>(QStringLiteral("sPanel1")), sLabel39},
         .SkinManager = sSkinManager1,
         .ReadInputs = [this] { return ReadInputs(); },
         .ApplyFitRow = [this](const TFitRow& row) { ApplyFitRow(row); },
         .ApplySoilTexts = [this](const QString& top, const QString& bottom) { ApplySoilTexts(top, bottom); },
         .ApplyThickness = [this](double thickness) { ApplyThickness(thickness); },
         .ApplyInputs = [this](const TEarthingInput& in) { ApplyInputs(in); },
         // A variant opened from the comparison is opened as the user's own opening is.
         .OpenFile =
             [this](const QString& path) {
                 if (ResultActions->Files->SettleChanges())
                     ResultActions->Files->OpenFile(path);
             },
         .HintsShown = [this] { return ShowHint(); },
         .ProgramFolder = ProgramFolder});
    FormCreate();
}

TForm1::~TForm1() {
    // The controls go first: the theme engine, which goes with the window, takes the theme's style
    // sheet back out of every control still there, and would polish each one anew on its way out.
    delete std::exchange(sPageControl1, nullptr);
}

// A radio group is one tab stop, at its checked button.
void TForm1::KeepCheckedAsTabStop(QButtonGroup* group) {
    for (QAbstractButton* button : group->buttons())
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TForm1::CheckCode(QButtonGroup* group, int32_t code) {
    QAbstractButton* button = group->button(code);
    (button ? button : group->buttons().constLast())->setChecked(true);
}

void TForm1::Wire() {
    for (TsSpinEdit* field : {sSpinEdit1, sSpinEdit2, sSpinEdit3, sSpinEdit4})
        connect(field, &TsSpinEdit::changed, this, &TForm1::sComboBox1Change);
    for (TsDecimalSpinEdit* field : {sDecimalSpinEdit1, sDecimalSpinEdit2, sDecimalSpinEdit6})
        connect(field, &TsDecimalSpinEdit::changed, this, &TForm1::sComboBox1Change);
    for (TsComboBox* box : {sComboBox1, sComboBox2})
        connect(box, &TsComboBox::changed, this, &TForm1::sComboBox1Change);
    for (QButtonGroup* group : {ClimaticRegionGroup, FormGroup, MutualDispositionGroup, FormHorGroup}) {
        connect(group, &QButtonGroup::idToggled, this, [this, group](int, bool checked) {
            KeepCheckedAsTabStop(group);
            if (checked)
                sRadioButton1Click();
        });
    }
    connect(sButton1, &QPushButton::clicked, this, &TForm1::sButton1Click);
    connect(sCheckBox1, &QCheckBox::clicked, this, &TForm1::sCheckBox1Click);
    connect(Action1, &QAction::triggered, this, &TForm1::Action1Execute);
    connect(sPageControl1, &TsPageControl::pageChanging, this, [this](int leaving) {
        bool allowChange = true;
        sPageControl1Changing(leaving, allowChange);
    });
    connect(sPageControl1, &TsPageControl::userPageChanged, this, &TForm1::sPageControl1Change);
    connect(sPageControl1, &TsPageControl::tabMouseLeave, this, &TForm1::sPageControl1TabMouseLeave);

    connect(WebBrowser1, &THelpBrowser::BeforeNavigate2, this, &TForm1::WebBrowser1BeforeNavigate2);
    connect(WebBrowser1, &THelpBrowser::CommandStateChange, this, &TForm1::WebBrowser1CommandStateChange);
    connect(WebBrowser1, &THelpBrowser::NavigateComplete2, this, &TForm1::WebBrowser1NavigateComplete2);
    connect(ToolButton8, &QToolButton::clicked, this, &TForm1::ToolButton8Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TForm1::ToolButton5Click);
    connect(ToolButton6, &QToolButton::clicked, this, &TForm1::ToolButton6Click);
}

TEarthingInput TForm1::ReadInputs() const {
    TEarthingInput in;
    in.ClimaticRegion = ClimaticRegionGroup->checkedId();
    in.TopLayer = std::u16string(ToU16View(sComboBox1->currentText()));
    in.BottomLayer = std::u16string(ToU16View(sComboBox2->currentText()));
    in.Thickness = static_cast<double>(sDecimalSpinEdit1->Value());
    in.Depth = static_cast<double>(sDecimalSpinEdit2->Value());
    in.Form = FormGroup->checkedId();
    in.Width = sSpinEdit3->Value();
    in.Length = static_cast<double>(sDecimalSpinEdit6->Value());
    in.MutualDisposition = MutualDispositionGroup->checkedId();
    in.Number = SaturateToInt32(sSpinEdit1->Value());
    in.IntervalMultiplicity = SaturateToInt32(sSpinEdit2->Value());
    in.FormHor = FormHorGroup->checkedId();
    in.WidthHor = sSpinEdit4->Value();
    return in;
}

void TForm1::ShowCalculationPage() {
    if (sPageControl1->currentIndex() != 0)
        sPageControl1->SetPageFromCode(0);
}

// Sets a decimal field only when the value differs from what it holds: an unchanged value is left
// exactly as the field holds it.
void TForm1::SetChangedValue(TsDecimalSpinEdit* field, double value) {
    if (value != static_cast<double>(field->Value()))
        field->SetValue(value);
}

void TForm1::ApplyFitRow(const TFitRow& row) {
    (row.MutualDisposition == 1 ? sRadioButton11 : sRadioButton10)->setChecked(true);
    sSpinEdit2->SetValue(row.IntervalMultiplicity);
    sSpinEdit1->SetValue(row.Number);
    // The fit keeps the rod length unless its row needs another one.
    SetChangedValue(sDecimalSpinEdit6, row.Length);
    ShowCalculationPage();
}

void TForm1::ApplySoilTexts(const QString& top, const QString& bottom) {
    for (const auto& [box, text] : {std::pair{sComboBox1, top}, std::pair{sComboBox2, bottom}}) {
        if (box->currentText() == text)
            continue;
        box->setEditText(text);
        emit box->changed();
    }
    ShowCalculationPage();
}

void TForm1::ApplyThickness(double thickness) {
    SetChangedValue(sDecimalSpinEdit1, thickness);
    ShowCalculationPage();
}

void TForm1::ApplyInputs(const TEarthingInput& in) {
    CheckCode(ClimaticRegionGroup, in.ClimaticRegion);
    ApplySoilTexts(ToQString(in.TopLayer), ToQString(in.BottomLayer));
    ApplyThickness(in.Thickness);
    SetChangedValue(sDecimalSpinEdit2, in.Depth);
    CheckCode(FormGroup, in.Form);
    sSpinEdit3->SetValue(in.Width);
    SetChangedValue(sDecimalSpinEdit6, in.Length);
    CheckCode(MutualDispositionGroup, in.MutualDisposition);
    sSpinEdit1->SetValue(in.Number);
    sSpinEdit2->SetValue(in.IntervalMultiplicity);
    CheckCode(FormHorGroup, in.FormHor);
    sSpinEdit4->SetValue(in.WidthHor);
}

void TForm1::Сalculation() {
    const TEarthingInput in = ReadInputs();
    const char16_t userSeparator = UserDecimalSeparator();
    const char16_t systemSeparator = SystemDecimalSeparator().front();
    const TEarthingResult result = ComputeEarthing(in, userSeparator, systemSeparator);
    const TEarthingLabels labels = EarthingLabels(in, result, userSeparator);

    // In stage order; a label the run did not reach keeps its text.
    auto write = [](QLabel* label, const std::optional<std::u16string>& text) {
        if (text)
            label->setText(ToQString(*text));
    };
    write(sLabel31, labels.sLabel31);
    write(sLabel21, labels.sLabel21);
    write(sLabel25, labels.sLabel25);
    write(sLabel18, labels.sLabel18);
    write(sLabel33, labels.sLabel33);
    if (labels.ConnectorEnabled) {
        const bool enabled = *labels.ConnectorEnabled;
        for (QWidget* w : std::initializer_list<QWidget*>{sLabel12, sLabel13, sLabel31, sLabel32, sLabel33,
                                                          sSpinEdit2, sGroupBox3})
            w->setEnabled(enabled);
        for (QObject* child : sGroupBox3->children()) {
            if (child->isWidgetType())
                static_cast<QWidget*>(child)->setEnabled(enabled);
        }
    }
    write(sLabel35, labels.sLabel35);
    write(sLabel38, labels.sLabel38);
    write(sLabel30, labels.sLabel30);
    write(sLabel28, labels.sLabel28);
    write(sLabel39, labels.sLabel39);
    const QString reason = ToQString(NoTotalReason(result));
    if (reason != sLabel42->text() || reason.isEmpty() != sLabel42->isHidden()) {
        sLabel42->setText(reason);
        sLabel42->setVisible(!reason.isEmpty());
        sLabel42->resize(sLabel42->width(), sLabel42->heightForWidth(sLabel42->width())); // its place stays
    }
    if (ResultActions)
        ResultActions->Files->InputsChanged(); // an opened calculation may now differ from its file
}

void TForm1::sComboBox1Change() {
    Сalculation();
}

void TForm1::sRadioButton1Click() {
    Сalculation();
}

void TForm1::sButton1Click() {
    const TInputUndo::TStep step = ResultActions->InputUndo->Remember(); // Ctrl+Z brings the inputs back
    sRadioButton2->setChecked(true);
    sComboBox1->setCurrentIndex(-1);
    sComboBox2->setCurrentIndex(-1);
    sComboBox1->setCurrentIndex(DefaultTopLayerIndex);
    sComboBox2->setCurrentIndex(DefaultBottomLayerIndex);
    sDecimalSpinEdit1->SetValue(1.5L);
    sDecimalSpinEdit2->SetValue(0.5L);
    sRadioButton7->setChecked(true);
    sSpinEdit3->SetValue(50);
    sDecimalSpinEdit6->SetValue(3);
    sRadioButton11->setChecked(true);
    sSpinEdit1->SetValue(1);
    sSpinEdit2->SetValue(1);
    sRadioButton9->setChecked(true);
    sSpinEdit4->SetValue(40);
    Сalculation();
}

void TForm1::Action1Execute() {
    if (sPageControl1->currentIndex() == HelpPage) {
        sPageControl1->SetPageFromCode(PreviousPageIndex);
    } else {
        PreviousPageIndex = sPageControl1->currentIndex();
        sPageControl1->SetPageFromCode(HelpPage);
    }
}

void TForm1::sPageControl1Changing(int leavingIndex, bool& allowChange) {
    PreviousPageIndex = leavingIndex;
    allowChange = true;
}

void TForm1::FormCreate() {
    // The index page is there before the window is first shown; a page that does not load within
    // the wait's bound does not hold up the start (opening the help tab tries again).
    NavigateAndWait(*WebBrowser1, HelpIndexUrl());
}

void TForm1::FormShow() {
    OpenConfig();
    Сalculation();
    if (sPageControl1->currentIndex() == 0) {
        if (QAbstractButton* button = ClimaticRegionGroup->checkedButton())
            button->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::FormClose() {
    SaveConfig();
    // Whatever comes after (a tab's mouse-leave, say) finds no view to reach.
    delete std::exchange(WebBrowser1, nullptr);
}

void TForm1::sCheckBox1Click() {
    SetShowHint(sCheckBox1->isChecked());
}

void TForm1::WebBrowser1BeforeNavigate2(const QUrl& URL, bool& Cancel) {
    ApplyLinkTest(URL, Cancel, ApplicationTitle(), this);
}

void TForm1::WebBrowser1CommandStateChange(int Command, bool Enable) {
    if (Command == THelpBrowser::CSC_NAVIGATEFORWARD)
        ToolButton6->setEnabled(Enable);
    else if (Command == THelpBrowser::CSC_NAVIGATEBACK)
        ToolButton5->setEnabled(Enable);
}

void TForm1::WebBrowser1NavigateComplete2(const QUrl&) {
    HideBodyBorder(WebBrowser1);
}

void TForm1::ToolButton8Click() {
    if (WebBrowser1)
        WebBrowser1->Navigate(HelpIndexUrl());
}

void TForm1::ToolButton5Click() {
    if (WebBrowser1 && !WebBrowser1->GoBack())
        throw std::runtime_error("Справка не может вернуться на предыдущую страницу.");
}

void TForm1::ToolButton6Click() {
    if (WebBrowser1 && !WebBrowser1->GoForward())
        throw std::runtime_error("Справка не может перейти на следующую страницу.");
}

void TForm1::sPageControl1Change() {
    if (sPageControl1->currentIndex() == HelpPage && WebBrowser1 &&
        WebBrowser1->ReadyState() < THelpBrowser::READYSTATE_LOADED)
        NavigateAndWait(*WebBrowser1, HelpIndexUrl());
}

void TForm1::sPageControl1TabMouseLeave(int) {
    if (QApplication::activeWindow() == this)
        FocusHelp();
}

void TForm1::FocusHelp() {
    if (sPageControl1->currentIndex() == HelpPage)
        FocusBrowser();
}

void TForm1::FocusBrowser() {
    if (WebBrowser1)
        WebBrowser1->TakeFocus();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Changes to an opened or saved calculation are saved or let go first; "Отмена" keeps the window.
    if (!ResultActions->Files->SettleChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A theme applied while the window is still being built finds no soil boxes yet.
    if ((event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) && sComboBox1)
        SetSoilListWidths();
}
