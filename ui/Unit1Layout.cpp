// The construction of the main window: its tabs, bands, group boxes and controls with their
// places and fixed texts, the hints and the tab order. What the controls do is in Unit1.cpp.
#include "Unit1.h"

#include "application.h"
#include "help_links.h"
#include "hint_texts.h"
#include "numeric_fields.h"
#include "qt_text.h"
#include "soil_catalogue.h"
#include "version.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

// A panel that places its children itself whenever it is resized.
class TPanel : public QFrame {
  public:
    TPanel(QWidget* parent, const QString& name) : QFrame(parent) { setObjectName(name); }
    std::function<void(QSize)> OnResize;

  protected:
    void resizeEvent(QResizeEvent*) override {
        if (OnResize)
            OnResize(size());
    }
};

namespace {

constexpr int FieldWidth = 49;
constexpr int FieldHeight = 21;
constexpr int ResultWidth = 60;

// The opened soil lists are at least as wide as the longest catalogue item with a margin.
constexpr std::u16string_view SoilListSample =
    u"Песок слегка влажный, грунтовые воды ниже 5 м. (1000) ----------)";

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A result label: right-aligned ones keep their right edge at x + width.
QLabel* MakeResult(QWidget* parent, const char* name, const QString& text, int x, int y,
                   Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, ResultWidth, 13);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->move(x, y);
    button->adjustSize();
    return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// A radio group whose ids are the buttons' codes; the last button is the one for any other code.
QButtonGroup* MakeCodeGroup(QWidget* owner, std::initializer_list<std::pair<QRadioButton*, int>> buttons) {
    auto* group = new QButtonGroup(owner);
    for (const auto& [button, code] : buttons)
        group->addButton(button, code);
    return group;
}

void Place(QWidget* field, int x, int y) {
    field->setGeometry(x, y, FieldWidth, FieldHeight);
}

TsComboBox* MakeSoilBox(QWidget* parent, const char* name, int width, int index) {
    auto* box = new TsComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (std::u16string_view item : SoilCatalogue)
        box->addItem(ToQString(item));
    box->setCurrentIndex(index);
    box->resize(width, FieldHeight);
    return box;
}

} // namespace

void TForm1::BuildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Стелворн v." STELVORN_VERSION));
    resize(584, 452); // the client area; the frame comes around it (BuildThemeComponents)
    // The theme engine in its design state: the built-in theme, theming on.
    sSkinManager1 = new TsSkinManager(this);
    sSkinManager1->setObjectName(QStringLiteral("sSkinManager1"));
    sSkinManager1->ErrorCaption = ApplicationTitle();
    // The saved theme is in effect before the first control is made: each control is styled once,
    // in its final look (a theme applied later would style every control a second time).
    ApplySavedTheme();

    sPageControl1 = new TsPageControl(this);
    sPageControl1->setObjectName(QStringLiteral("sPageControl1"));
    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(sPageControl1);

    sTabSheet1 = new QWidget;
    sTabSheet1->setObjectName(QStringLiteral("sTabSheet1"));
    sTabSheet3 = new QWidget;
    sTabSheet3->setObjectName(QStringLiteral("sTabSheet3"));
    sTabSheet2 = new QWidget;
    sTabSheet2->setObjectName(QStringLiteral("sTabSheet2"));
    sPageControl1->addTab(sTabSheet1, QStringLiteral("Расчёт"));
    sPageControl1->addTab(sTabSheet3, QStringLiteral("Настройки"));
    sPageControl1->addTab(sTabSheet2, QStringLiteral("Справка"));

    Action1 = new QAction(QStringLiteral("Help"), this);
    Action1->setObjectName(QStringLiteral("Action1"));
    Action1->setShortcut(QKeySequence(Qt::Key_F1));
    Action1->setShortcutContext(Qt::WindowShortcut);
    addAction(Action1);

    BuildCalculationPage();
    BuildSettingsPage();
    BuildHelpPage();
    ApplyHintTexts();
    SetTabOrder();
    BuildThemeComponents();

    // Window creation ends: the fields take their texts from their values, without events.
    for (TsSpinEdit* field : {sSpinEdit1, sSpinEdit2, sSpinEdit3, sSpinEdit4})
        field->Loaded();
    for (TsDecimalSpinEdit* field : {sDecimalSpinEdit1, sDecimalSpinEdit2, sDecimalSpinEdit6})
        field->Loaded();
    SetSoilListWidths();
}

void TForm1::BuildCalculationPage() {
    auto* bands = new QVBoxLayout(sTabSheet1);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    sPanel3 = new TPanel(sTabSheet1, QStringLiteral("sPanel3"));
    sPanel3->setFixedHeight(135);
    sPanel6 = new TPanel(sTabSheet1, QStringLiteral("sPanel6"));
    sPanel6->setFixedHeight(142);
    sPanel4 = new TPanel(sTabSheet1, QStringLiteral("sPanel4"));
    bands->addWidget(sPanel3);
    bands->addWidget(sPanel6);
    bands->addWidget(sPanel4, 1);

    BuildClimateBox();
    BuildSoilBox();
    BuildDepthBox();
    auto* band1 = new QHBoxLayout(sPanel3);
    band1->setContentsMargins(5, 8, 3, 3);
    band1->setSpacing(6);
    band1->addWidget(sGroupBox1);
    band1->addWidget(sGroupBox4, 1);
    band1->addWidget(sGroupBox2);

    BuildRodBox();
    BuildLayoutBox();
    auto* band2 = new QHBoxLayout(sPanel6);
    band2->setContentsMargins(3, 3, 3, 3);
    band2->setSpacing(6);
    band2->addWidget(sGroupBox5, 1);
    band2->addWidget(sGroupBox6);

    BuildConnectorBox();
    BuildResultPanel();
    auto* band3 = new QHBoxLayout(sPanel4);
    band3->setContentsMargins(3, 3, 3, 3);
    band3->setSpacing(6);
    band3->addWidget(sGroupBox3);
    band3->addWidget(sPanel1, 1);
}

void TForm1::BuildClimateBox() {
    sGroupBox1 = MakeGroup(sPanel3, "sGroupBox1", QStringLiteral("Климатич. район"));
    sGroupBox1->setFixedSize(110, 124);
    sRadioButton1 = MakeRadio(sGroupBox1, "sRadioButton1", QStringLiteral("I"), 10, 22);
    sRadioButton2 = MakeRadio(sGroupBox1, "sRadioButton2", QStringLiteral("II"), 10, 46);
    sRadioButton3 = MakeRadio(sGroupBox1, "sRadioButton3", QStringLiteral("III"), 58, 22);
    sRadioButton4 = MakeRadio(sGroupBox1, "sRadioButton4", QStringLiteral("IV"), 58, 46);
    sRadioButton12 = MakeRadio(sGroupBox1, "sRadioButton12", QStringLiteral("Не учитывать"), 10, 78);
    sRadioButton2->setChecked(true);
    ClimaticRegionGroup = MakeCodeGroup(this, {{sRadioButton1, 1},
                                               {sRadioButton2, 2},
                                               {sRadioButton3, 3},
                                               {sRadioButton4, 4},
                                               {sRadioButton12, 0}});
}

void TForm1::BuildSoilBox() {
    sGroupBox4 = MakeGroup(sPanel3, "sGroupBox4", QStringLiteral("Почва"));
    sGroupBox4->setMinimumWidth(342);
    sGroupBox4->setFixedHeight(124);
    QWidget* box = sGroupBox4;
    sLabel1 = MakeLabel(box, "sLabel1", QStringLiteral("Верхний пласт:"), 8, 24);
    sComboBox1 = MakeSoilBox(box, "sComboBox1", 170, DefaultTopLayerIndex);
    sComboBox1->move(88, 20);
    sDecimalSpinEdit1 = CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit1"), box);
    Place(sDecimalSpinEdit1, 262, 20);
    sLabel2 = MakeLabel(box, "sLabel2", QStringLiteral("м."), 314, 24);

    sLabel3 = MakeLabel(box, "sLabel3", QStringLiteral("Нижний пласт:"), 8, 50);
    sComboBox2 = MakeSoilBox(box, "sComboBox2", 240, DefaultBottomLayerIndex);
    sComboBox2->move(88, 46);

    sLabel20 = MakeLabel(box, "sLabel20", QStringLiteral("Эквивалентное удельное сопротивление:"), 8, 80);
    sLabel21 = MakeResult(box, "sLabel21", QStringLiteral("0"), 226, 80, Qt::AlignRight);
    sLabel22 = MakeLabel(box, "sLabel22", QStringLiteral("Ом∙м"), 290, 80);
    sLabel23 = MakeLabel(box, "sLabel23", QStringLiteral("С учётом климатической зоны:"), 8, 100);
    sLabel25 = MakeResult(box, "sLabel25", QStringLiteral("0"), 226, 100, Qt::AlignRight);
    sLabel24 = MakeLabel(box, "sLabel24", QStringLiteral("Ом∙м"), 290, 100);
}

void TForm1::BuildDepthBox() {
    sGroupBox2 = MakeGroup(sPanel3, "sGroupBox2", QStringLiteral("Заглубление"));
    sGroupBox2->setFixedSize(104, 124);
    sLabel26 = new QLabel(QStringLiteral("Верхний конец электродов утоплен в почву"), sGroupBox2);
    sLabel26->setObjectName(QStringLiteral("sLabel26"));
    sLabel26->setWordWrap(true);
    sLabel26->setGeometry(8, 18, 90, 44);
    sLabel41 = MakeLabel(sGroupBox2, "sLabel41", QStringLiteral("на"), 8, 78);
    sDecimalSpinEdit2 = CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit2"), sGroupBox2);
    Place(sDecimalSpinEdit2, 26, 74);
    sLabel14 = MakeLabel(sGroupBox2, "sLabel14", QStringLiteral("м."), 79, 78);
}

void TForm1::BuildRodBox() {
    sGroupBox5 = MakeGroup(sPanel6, "sGroupBox5", QStringLiteral("Размер вертикальных электродов:"));
    QWidget* box = sGroupBox5;
    sRadioButton7 = MakeRadio(box, "sRadioButton7", QStringLiteral("Уголок"), 10, 22);
    sRadioButton8 = MakeRadio(box, "sRadioButton8", QStringLiteral("Круг (труба, круглая сталь)"), 90, 22);
    sRadioButton7->setChecked(true);
    FormGroup = MakeCodeGroup(this, {{sRadioButton7, 1}, {sRadioButton8, 2}});
    sLabel8 = MakeLabel(box, "sLabel8", QStringLiteral("Ширина стороны или диаметр:"), 10, 54);
    sSpinEdit3 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit3"), box);
    Place(sSpinEdit3, 190, 50);
    sLabel10 = MakeLabel(box, "sLabel10", QStringLiteral("мм."), 243, 54);
    sLabel9 = MakeLabel(box, "sLabel9", QStringLiteral("Длина:"), 10, 80);
    sDecimalSpinEdit6 = CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit6"), box);
    Place(sDecimalSpinEdit6, 190, 76);
    sLabel11 = MakeLabel(box, "sLabel11", QStringLiteral("м."), 243, 80);
    sLabel17 = MakeLabel(box, "sLabel17", QStringLiteral("Сопротивление одного электрода:"), 10, 110);
    sLabel18 = MakeResult(box, "sLabel18", QStringLiteral("0"), 179, 110, Qt::AlignRight);
    sLabel19 = MakeLabel(box, "sLabel19", QStringLiteral("Ом"), 243, 110);
}

void TForm1::BuildLayoutBox() {
    sGroupBox6 = MakeGroup(sPanel6, "sGroupBox6", QStringLiteral("Расположение вертикальных электродов"));
    sGroupBox6->setFixedWidth(249);
    QWidget* box = sGroupBox6;
    sRadioButton11 = MakeRadio(box, "sRadioButton11", QStringLiteral("В ряд"), 10, 22);
    sRadioButton10 = MakeRadio(box, "sRadioButton10", QStringLiteral("Замкнутым контуром"), 90, 22);
    sRadioButton11->setChecked(true);
    MutualDispositionGroup = MakeCodeGroup(this, {{sRadioButton11, 1}, {sRadioButton10, 2}});
    sLabel16 = MakeLabel(box, "sLabel16", QStringLiteral("Количество:"), 10, 54);
    sSpinEdit1 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit1"), box);
    Place(sSpinEdit1, 126, 50);
    sLabel36 = MakeLabel(box, "sLabel36", QStringLiteral("шт."), 179, 54);
    sLabel12 = MakeLabel(box, "sLabel12", QStringLiteral("Интервал:"), 10, 80);
    sLabel31 = MakeResult(box, "sLabel31", QStringLiteral("2,5"), 48, 80, Qt::AlignRight);
    sLabel13 = MakeLabel(box, "sLabel13", QStringLiteral("X"), 113, 80);
    sSpinEdit2 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit2"), box);
    Place(sSpinEdit2, 126, 76);
    sLabel32 = MakeLabel(box, "sLabel32", QStringLiteral("="), 179, 80);
    sLabel33 = MakeResult(box, "sLabel33", QStringLiteral("2,5 м."), 190, 80, Qt::AlignLeft);
    sLabel34 = MakeLabel(box, "sLabel34", QStringLiteral("Коэффициент использования:"), 10, 110);
    sLabel35 = MakeResult(box, "sLabel35", QStringLiteral("-"), 170, 110, Qt::AlignLeft);
}

void TForm1::BuildConnectorBox() {
    sGroupBox3 = MakeGroup(sPanel4, "sGroupBox3", QStringLiteral("Размер горизонтального соединителя:"));
    sGroupBox3->setFixedWidth(315);
    QWidget* box = sGroupBox3;
    sRadioButton9 = MakeRadio(box, "sRadioButton9", QStringLiteral("Полоса"), 10, 22);
    sRadioButton5 = MakeRadio(box, "sRadioButton5", QStringLiteral("Уголок"), 78, 22);
    sRadioButton6 = MakeRadio(box, "sRadioButton6", QStringLiteral("Круг (труба, арматура)"), 146, 22);
    sRadioButton9->setChecked(true);
    FormHorGroup = MakeCodeGroup(this, {{sRadioButton9, 1}, {sRadioButton5, 2}, {sRadioButton6, 3}});
    sLabel4 = MakeLabel(box, "sLabel4", QStringLiteral("Ширина, ширина стороны или диаметр:"), 10, 52);
    sSpinEdit4 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit4"), box);
    Place(sSpinEdit4, 236, 48);
    sLabel6 = MakeLabel(box, "sLabel6", QStringLiteral("мм."), 289, 52);
    sLabel5 = MakeLabel(box, "sLabel5", QStringLiteral("Длина исходя из количества электродов:"), 10, 78);
    sLabel30 = MakeResult(box, "sLabel30", QStringLiteral("0"), 225, 78, Qt::AlignRight);
    sLabel7 = MakeLabel(box, "sLabel7", QStringLiteral("м."), 289, 78);
    sLabel37 = MakeLabel(box, "sLabel37", QStringLiteral("Коэффициент использования:"), 10, 98);
    sLabel38 = MakeResult(box, "sLabel38", QStringLiteral("-"), 225, 98, Qt::AlignRight);
    sLabel29 =
        MakeLabel(box, "sLabel29", QStringLiteral("Сопротивление горизонтального соединителя:"), 10, 118);
    sLabel28 = MakeResult(box, "sLabel28", QStringLiteral("0"), 225, 118, Qt::AlignRight);
    sLabel27 = MakeLabel(box, "sLabel27", QStringLiteral("Ом"), 289, 118);
}

void TForm1::BuildResultPanel() {
    sPanel1 = new TPanel(sPanel4, QStringLiteral("sPanel1"));
    sPanel1->setFrameShape(QFrame::StyledPanel);
    sLabel15 =
        new QLabel(QStringLiteral("Общее сопротивление растеканию электрического тока стелворна: "), sPanel1);
    sLabel15->setObjectName(QStringLiteral("sLabel15"));
    sLabel15->setWordWrap(true);
    sLabel15->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    sLabel39 = new QLabel(QStringLiteral("0"), sPanel1);
    sLabel39->setObjectName(QStringLiteral("sLabel39"));
    sLabel39->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont bold = sLabel39->font();
    bold.setBold(true);
    sLabel39->setFont(bold);
    sLabel42 = new QLabel(sPanel1);
    sLabel42->setObjectName(QStringLiteral("sLabel42"));
    sLabel42->setWordWrap(true);
    sLabel42->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    sLabel42->hide();
    sButton1 = new QPushButton(QStringLiteral("Сброс"), sPanel1);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setAutoDefault(false);

    sPanel1->OnResize = [this](QSize size) {
        const int width = size.width() - 16;
        sLabel15->setGeometry(8, 40, width, sLabel15->heightForWidth(width));
        const int totalTop = sLabel15->geometry().bottom() + 1 + 20;
        sLabel39->setGeometry(8, totalTop, width, sLabel39->sizeHint().height());
        sLabel42->setGeometry(8, sLabel39->geometry().bottom() + 1 + 4, width,
                              sLabel42->heightForWidth(width));
        sButton1->setGeometry(size.width() - 3 - 60, size.height() - 3 - 24, 60, 24);
    };
}

// The settings tab "Настройки" (sTabSheet3).
void TForm1::BuildSettingsPage() {
    sCheckBox1 = new QCheckBox(QStringLiteral("Показывать всплывающие подсказки"), sTabSheet3);
    sCheckBox1->setObjectName(QStringLiteral("sCheckBox1"));
    sCheckBox1->setGeometry(12, 60, 217, 17);

    sSkinSelector1 = new TsSkinSelector(sSkinManager1, sTabSheet3);
    sSkinSelector1->setObjectName(QStringLiteral("sSkinSelector1"));
    sSkinSelector1->setGeometry(12, 28, 239, 22);
    // The bound label: above the selector's top-left corner, 4 pixels away.
    sSkinSelector1Label = new QLabel(QStringLiteral("Выбор темы интерфейса"), sTabSheet3);
    sSkinSelector1Label->setObjectName(QStringLiteral("sSkinSelector1Label"));
    sSkinSelector1Label->adjustSize();
    sSkinSelector1Label->move(12, 28 - 4 - sSkinSelector1Label->height());
    sSkinSelector1Label->setBuddy(sSkinSelector1);
}

// The window's frame and hints: while theming is on, the themed title bar with the added title
// (Tahoma 8 pt italic) and a border of its own; the outer size never below 600 × 490, so the client
// area keeps its designed 584 × 452 under either title bar. Every hint follows the window's switch.
void TForm1::BuildThemeComponents() {
    sSkinProvider1 = new TsSkinProvider(sSkinManager1, this);
    sSkinProvider1->setObjectName(QStringLiteral("sSkinProvider1"));
    sSkinProvider1->TitleBar()->SetAddedTitle(QStringLiteral("- расчёт сопротивления заземления"));
    sSkinProvider1->SetMinimumOuterSize(QSize(600, 490));
    sHints1 = new TsHints(sSkinManager1, this, [this] { return ShowHint(); });
    sHints1->setObjectName(QStringLiteral("sHints1"));
}

// The help tab "Справка" (sTabSheet2): a pale yellow panel with the toolbar over the help view.
void TForm1::BuildHelpPage() {
    auto* column = new QVBoxLayout(sTabSheet2);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The panel has the pages' background colour whatever the interface theme.
    sPanel8 = new TPanel(sTabSheet2, QStringLiteral("sPanel8"));
    sPanel8->setFrameShape(QFrame::NoFrame);
    sPanel8->setAutoFillBackground(true);
    QPalette pale = sPanel8->palette();
    pale.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xDD));
    sPanel8->setPalette(pale);
    auto* panelRow = new QHBoxLayout(sPanel8);
    panelRow->setContentsMargins(3, 0, 0, 0); // the toolbar's left margin

    // The toolbar: a row of buttons with no gaps, transparent over the panel. A plain row rather than
    // a QToolBar, whose overflow button (never needed for three buttons) decodes its images at every
    // start, and whose own style sheet restyled its buttons at every theme switch.
    sToolBar3 = new QWidget(sPanel8);
    sToolBar3->setObjectName(QStringLiteral("sToolBar3"));
    auto* toolRow = new QHBoxLayout(sToolBar3);
    toolRow->setContentsMargins(0, 0, 0, 0);
    toolRow->setSpacing(0);
    panelRow->addWidget(sToolBar3);

    // Images only: no captions, and no tooltips, which a tool button would take from its text; a
    // screen reader still has a name for each.
    const QList<QIcon> images = WebImageList();
    const auto button = [this, &images](const char* name, int image, const QString& spoken) {
        auto* toolButton = new QToolButton(sToolBar3);
        toolButton->setObjectName(QLatin1String(name));
        toolButton->setAccessibleName(spoken);
        toolButton->setIcon(images.value(image));
        toolButton->setIconSize(QSize(16, 16));
        toolButton->setFixedSize(23, 23);
        toolButton->setAutoRaise(true);
        toolButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
        toolButton->setToolTip(QString());
        toolButton->setFocusPolicy(Qt::NoFocus);
        return toolButton;
    };
    ToolButton8 = button("ToolButton8", 2, QStringLiteral("Оглавление справки"));
    ToolButton7 = new QWidget(sToolBar3);
    ToolButton7->setObjectName(QStringLiteral("ToolButton7"));
    ToolButton7->setFixedSize(8, 23);
    ToolButton5 = button("ToolButton5", 0, QStringLiteral("Назад"));
    ToolButton6 = button("ToolButton6", 1, QStringLiteral("Вперёд"));
    for (QWidget* item : {static_cast<QWidget*>(ToolButton8), ToolButton7, static_cast<QWidget*>(ToolButton5),
                          static_cast<QWidget*>(ToolButton6)})
        toolRow->addWidget(item);
    toolRow->addStretch(1);

    WebBrowser1 = new THelpBrowser(sTabSheet2);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->MessageCaption = ApplicationTitle();
    // The keys of a web browser for the three buttons, while the help page has the focus; they act
    // only as far as the button is enabled.
    const QList<std::pair<QKeySequence, QToolButton*>> keys = {
        {QKeySequence(Qt::ALT | Qt::Key_Left), ToolButton5},
        {QKeySequence(Qt::ALT | Qt::Key_Right), ToolButton6},
        {QKeySequence(Qt::ALT | Qt::Key_Home), ToolButton8}};
    for (const auto& [sequence, target] : keys) {
        auto* shortcut = new QShortcut(sequence, WebBrowser1, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, target, &QToolButton::click);
    }
    column->addWidget(sPanel8);
    column->addWidget(WebBrowser1, 1);
}

void TForm1::ApplyHintTexts() {
    for (const THintText& hint : HintTexts) {
        auto* control = findChild<QWidget*>(ToQString(hint.Control));
        Q_ASSERT(control);
        control->setToolTip(ToQString(hint.Text));
    }
}

void TForm1::SetTabOrder() {
    const QList<QWidget*> order = {
        sRadioButton7, sRadioButton8, sSpinEdit3,        sDecimalSpinEdit6, sRadioButton11,    sRadioButton10,
        sSpinEdit1,    sSpinEdit2,    sDecimalSpinEdit2, sComboBox1,        sDecimalSpinEdit1, sComboBox2,
        sRadioButton1, sRadioButton2, sRadioButton3,     sRadioButton4,     sRadioButton12,    sRadioButton9,
        sRadioButton5, sRadioButton6, sSpinEdit4,        sButton1,
    };
    QWidget::setTabOrder(sSkinSelector1, sCheckBox1); // the settings page
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    for (QButtonGroup* group : {ClimaticRegionGroup, FormGroup, MutualDispositionGroup, FormHorGroup})
        KeepCheckedAsTabStop(group);
}

void TForm1::SetSoilListWidths() {
    const int width = fontMetrics().horizontalAdvance(ToQString(SoilListSample));
    for (TsComboBox* box : {sComboBox1, sComboBox2})
        box->SetListMinimumWidth(width);
}
