#include "Unit1.h"

#include "application.h"
#include "earthing.h"
#include "numeric_fields.h"
#include "soil_catalogue.h"
#include "system_locale.h"
#include "user_locale.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>
#include <functional>

QString ProgramFolder;
int32_t PreviousPageIndex = 0;

namespace {
QString programFolderOverride;
}

void OverrideProgramFolder(const QString& folder) {
    programFolderOverride = folder;
}

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
const char16_t* const SoilListSample = u"Песок слегка влажный, грунтовые воды ниже 5 м. (1000) ----------)";

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

void Place(QWidget* field, int x, int y) {
    field->setGeometry(x, y, FieldWidth, FieldHeight);
}

TsComboBox* MakeSoilBox(QWidget* parent, const char* name, int width, int index, const QString& hint) {
    auto* box = new TsComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (std::u16string_view item : SoilCatalogue)
        box->addItem(QString::fromUtf16(item.data(), static_cast<qsizetype>(item.size())));
    box->setCurrentIndex(index);
    box->resize(width, FieldHeight);
    box->setToolTip(hint);
    return box;
}

QString Text(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// A radio group is one tab stop, at its checked button.
void KeepCheckedAsTabStop(QGroupBox* group) {
    for (QRadioButton* button : group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Стелворн v.1.7"));
    setMinimumSize(584, 452);
    resize(584, 452);

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
    SetTabOrder();

    // Window creation ends: the fields take their texts from their values, without events.
    for (TsSpinEdit* field : {sSpinEdit1, sSpinEdit2, sSpinEdit3, sSpinEdit4})
        field->Loaded();
    for (TsDecimalSpinEdit* field : {sDecimalSpinEdit1, sDecimalSpinEdit2, sDecimalSpinEdit6})
        field->Loaded();
    SetSoilListWidths();
    Wire();
    FormCreate();
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

    sRadioButton1->setToolTip(QStringLiteral(
        "<b>I климатический район</b><br><br>\r\n\r\nСредний минимум: −20...−15°C<br>\r\nСредний максимум: "
        "+16...+18°C<br>\r\nСреднегодовое кол-во осадков: 40 см<br>\r\nПродолжительность замерзания воды: "
        "180 "
        "дней<br><br>\r\n\r\n<i>Архангельская, Кировская области, Карелия</i>"));
    sRadioButton2->setToolTip(QStringLiteral(
        "<b>II климатический район</b><br><br>\r\n\r\nСредний минимум: −14...−10°C<br>\r\nСредний максимум: "
        "+18...+22°C<br>\r\nСреднегодовое кол-во осадков: 50 см<br>\r\nПродолжительность замерзания воды: "
        "150 "
        "дней<br><br>\r\n\r\n<i>Ленинградская, Вологодская, Московская области</i>"));
    sRadioButton3->setToolTip(QStringLiteral(
        "<b>III климатический район</b><br><br>\r\n\r\nСредний минимум: −10...0°C<br>\r\nСредний максимум: "
        "+22...+24°C<br>\r\nСреднегодовое кол-во осадков: 50 см<br>\r\nПродолжительность замерзания воды: "
        "100 "
        "дней<br><br>\r\n\r\n<i>Смоленская, Курская области</i>"));
    sRadioButton4->setToolTip(QStringLiteral(
        "<b>IV климатический район</b><br><br>\r\n\r\nСредний минимум: 0...+5°C<br>\r\nСредний максимум: "
        "+24...+26°C<br>\r\nСреднегодовое кол-во осадков: 30...50 см<br>\r\nПродолжительность замерзания "
        "воды: 0 "
        "дней<br><br>\r\n\r\n<i>Ставропольский, Краснодарский края</i>"));
    sRadioButton12->setToolTip(QStringLiteral("Не учитывать повышающий климатический коэффициент"));
}

void TForm1::BuildSoilBox() {
    sGroupBox4 = MakeGroup(sPanel3, "sGroupBox4", QStringLiteral("Почва"));
    sGroupBox4->setMinimumWidth(342);
    sGroupBox4->setFixedHeight(124);
    QWidget* box = sGroupBox4;
    sLabel1 = MakeLabel(box, "sLabel1", QStringLiteral("Верхний пласт:"), 8, 24);
    sComboBox1 = MakeSoilBox(box, "sComboBox1", 170, DefaultTopLayerIndex,
                             QStringLiteral("Состав грунта верхнего пласта и его удельное сопротивление "
                                            "(Ом∙м).<br>\r\n<i>Цифру удельного сопротивления можно занести "
                                            "вручную.</i>"));
    sComboBox1->move(88, 20);
    sDecimalSpinEdit1 = CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit1"), box);
    Place(sDecimalSpinEdit1, 262, 20);
    sDecimalSpinEdit1->setToolTip(QStringLiteral("Толщина верхнего пласта (от 10 см до 3 м.)"));
    sLabel2 = MakeLabel(box, "sLabel2", QStringLiteral("м."), 314, 24);

    sLabel3 = MakeLabel(box, "sLabel3", QStringLiteral("Нижний пласт:"), 8, 50);
    sComboBox2 = MakeSoilBox(box, "sComboBox2", 240, DefaultBottomLayerIndex,
                             QStringLiteral("Состав грунта нижнего пласта и его удельное сопротивление "
                                            "(Ом∙м).<br>\r\n<i>Цифру удельного сопротивления можно занести "
                                            "вручную.</i>"));
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
    sDecimalSpinEdit2->setToolTip(QStringLiteral(
        "Расстояние от поверхности земли до верхней части электродов<br>\r\n(от 10 см до 1 м.)"));
    sLabel14 = MakeLabel(sGroupBox2, "sLabel14", QStringLiteral("м."), 79, 78);
}

void TForm1::BuildRodBox() {
    sGroupBox5 = MakeGroup(sPanel6, "sGroupBox5", QStringLiteral("Размер вертикальных электродов:"));
    QWidget* box = sGroupBox5;
    sRadioButton7 = MakeRadio(box, "sRadioButton7", QStringLiteral("Уголок"), 10, 22);
    sRadioButton8 = MakeRadio(box, "sRadioButton8", QStringLiteral("Круг (труба, круглая сталь)"), 90, 22);
    sRadioButton7->setChecked(true);
    sLabel8 = MakeLabel(box, "sLabel8", QStringLiteral("Ширина стороны или диаметр:"), 10, 54);
    sSpinEdit3 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit3"), box);
    Place(sSpinEdit3, 190, 50);
    sSpinEdit3->setToolTip(QStringLiteral(
        "В зависимости от формы сечения электрода, ширина стороны уголка или диаметр трубы (от 8 мм.)"));
    sLabel10 = MakeLabel(box, "sLabel10", QStringLiteral("мм."), 243, 54);
    sLabel9 = MakeLabel(box, "sLabel9", QStringLiteral("Длина:"), 10, 80);
    sDecimalSpinEdit6 = CreateProgramDecimalSpinEdit(QStringLiteral("sDecimalSpinEdit6"), box);
    Place(sDecimalSpinEdit6, 190, 76);
    sDecimalSpinEdit6->setToolTip(QStringLiteral("Длина вертикального электрода (от 1 м.)"));
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
    sLabel16 = MakeLabel(box, "sLabel16", QStringLiteral("Количество:"), 10, 54);
    sSpinEdit1 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit1"), box);
    Place(sSpinEdit1, 126, 50);
    sSpinEdit1->setToolTip(QStringLiteral("Количество вертикальных электродов (от 1 до 20 шт.)"));
    sLabel36 = MakeLabel(box, "sLabel36", QStringLiteral("шт."), 179, 54);
    sLabel12 = MakeLabel(box, "sLabel12", QStringLiteral("Интервал:"), 10, 80);
    sLabel31 = MakeResult(box, "sLabel31", QStringLiteral("2,5"), 48, 80, Qt::AlignRight);
    sLabel13 = MakeLabel(box, "sLabel13", QStringLiteral("X"), 113, 80);
    sSpinEdit2 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit2"), box);
    Place(sSpinEdit2, 126, 76);
    sSpinEdit2->setToolTip(QStringLiteral("Кратность расстояния между электродами к их длине (от 1 до 4)"));
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
    sLabel4 = MakeLabel(box, "sLabel4", QStringLiteral("Ширина, ширина стороны или диаметр:"), 10, 52);
    sSpinEdit4 = CreateProgramSpinEdit(QStringLiteral("sSpinEdit4"), box);
    Place(sSpinEdit4, 236, 48);
    sSpinEdit4->setToolTip(QStringLiteral("В зависимости от формы сечения соединителя, ширина полосы, ширина "
                                          "стороны уголка или диаметр трубы (от 8 мм.)"));
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
    sButton1 = new QPushButton(QStringLiteral("Сброс"), sPanel1);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setAutoDefault(false);

    sPanel1->OnResize = [this](QSize size) {
        const int width = size.width() - 16;
        sLabel15->setGeometry(8, 40, width, sLabel15->heightForWidth(width));
        const int totalTop = sLabel15->geometry().bottom() + 1 + 20;
        sLabel39->setGeometry(8, totalTop, width, sLabel39->sizeHint().height());
        sButton1->setGeometry(size.width() - 3 - 60, size.height() - 3 - 24, 60, 24);
    };
}

void TForm1::BuildSettingsPage() {
    sCheckBox1 = new QCheckBox(QStringLiteral("Показывать всплывающие подсказки"), sTabSheet3);
    sCheckBox1->setObjectName(QStringLiteral("sCheckBox1"));
    sCheckBox1->setGeometry(12, 60, 217, 17);
    sCheckBox1->setToolTip(QStringLiteral("Показывать всплывающие подсказки<br>\r\nу элементов интерфейса"));
}

void TForm1::SetTabOrder() {
    const QList<QWidget*> order = {
        sRadioButton7, sRadioButton8, sSpinEdit3,        sDecimalSpinEdit6, sRadioButton11,    sRadioButton10,
        sSpinEdit1,    sSpinEdit2,    sDecimalSpinEdit2, sComboBox1,        sDecimalSpinEdit1, sComboBox2,
        sRadioButton1, sRadioButton2, sRadioButton3,     sRadioButton4,     sRadioButton12,    sRadioButton9,
        sRadioButton5, sRadioButton6, sSpinEdit4,        sButton1,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    for (QGroupBox* group : {sGroupBox1, sGroupBox5, sGroupBox6, sGroupBox3})
        KeepCheckedAsTabStop(group);
}

void TForm1::Wire() {
    for (TsSpinEdit* field : {sSpinEdit1, sSpinEdit2, sSpinEdit3, sSpinEdit4})
        connect(field, &TsSpinEdit::changed, this, &TForm1::sComboBox1Change);
    for (TsDecimalSpinEdit* field : {sDecimalSpinEdit1, sDecimalSpinEdit2, sDecimalSpinEdit6})
        connect(field, &TsDecimalSpinEdit::changed, this, &TForm1::sComboBox1Change);
    for (TsComboBox* box : {sComboBox1, sComboBox2})
        connect(box, &TsComboBox::changed, this, &TForm1::sComboBox1Change);
    for (QGroupBox* group : {sGroupBox1, sGroupBox5, sGroupBox6, sGroupBox3}) {
        for (QRadioButton* button : group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
            connect(button, &QRadioButton::toggled, this, [this, group](bool checked) {
                KeepCheckedAsTabStop(group);
                if (checked)
                    sRadioButton1Click();
            });
        }
    }
    connect(sButton1, &QPushButton::clicked, this, &TForm1::sButton1Click);
    connect(sCheckBox1, &QCheckBox::clicked, this, &TForm1::sCheckBox1Click);
    qApp->installEventFilter(this);
    connect(Action1, &QAction::triggered, this, &TForm1::Action1Execute);
    connect(sPageControl1, &TsPageControl::pageChanging, this, [this](int leaving) {
        bool allowChange = true;
        sPageControl1Changing(leaving, allowChange);
    });
}

void TForm1::Сalculation() {
    TEarthingInput in;
    in.ClimaticRegion = ClimaticRegionCode();
    in.TopLayer = sComboBox1->currentText().toStdU16String();
    in.BottomLayer = sComboBox2->currentText().toStdU16String();
    in.Thickness = static_cast<double>(sDecimalSpinEdit1->Value());
    in.Depth = static_cast<double>(sDecimalSpinEdit2->Value());
    in.Form = sRadioButton7->isChecked() ? 1 : 2;
    in.Width = sSpinEdit3->Value();
    in.Length = static_cast<double>(sDecimalSpinEdit6->Value());
    in.MutualDisposition = sRadioButton11->isChecked() ? 1 : 2;
    in.Number = SaturateToInt32(sSpinEdit1->Value());
    in.IntervalMultiplicity = SaturateToInt32(sSpinEdit2->Value());
    in.FormHor = FormHorCode();
    in.WidthHor = sSpinEdit4->Value();

    const char16_t userSeparator = UserDecimalSeparator();
    const char16_t systemSeparator = SystemDecimalSeparator().front();
    const TEarthingResult result = ComputeEarthing(in, userSeparator, systemSeparator);
    const TEarthingLabels labels = EarthingLabels(in, result, userSeparator);

    // In stage order; a label the run did not reach keeps its text.
    auto write = [](QLabel* label, const std::optional<std::u16string>& text) {
        if (text)
            label->setText(Text(*text));
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
}

int32_t TForm1::ClimaticRegionCode() const {
    const QRadioButton* regions[] = {sRadioButton1, sRadioButton2, sRadioButton3, sRadioButton4};
    for (int32_t i = 0; i < 4; ++i) {
        if (regions[i]->isChecked())
            return i + 1;
    }
    return 0; // "Не учитывать"
}

int32_t TForm1::FormHorCode() const {
    return sRadioButton9->isChecked() ? 1 : sRadioButton5->isChecked() ? 2 : 3;
}

void TForm1::sComboBox1Change() {
    Сalculation();
}

void TForm1::sRadioButton1Click() {
    Сalculation();
}

void TForm1::sButton1Click() {
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
    constexpr int HelpPage = 2;
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
    ProgramFolder = programFolderOverride.isEmpty() ? QCoreApplication::applicationDirPath() + u'/'
                                                    : programFolderOverride;
    ApplySavedTheme();
}

void TForm1::FormShow() {
    OpenConfig();
    Сalculation();
    if (sPageControl1->currentIndex() == 0) {
        for (QRadioButton* button : sGroupBox1->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
            if (button->isChecked())
                button->setFocus(Qt::OtherFocusReason);
        }
    }
}

void TForm1::FormClose() {
    SaveConfig();
}

void TForm1::sCheckBox1Click() {
    SetShowHint(sCheckBox1->isChecked());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // With hints off, no control of this window shows its hint.
    if (event->type() == QEvent::ToolTip && !showHint_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this)
        return true;
    return QWidget::eventFilter(watched, event);
}

void TForm1::SetSoilListWidths() {
    const int width = fontMetrics().horizontalAdvance(QString::fromUtf16(SoilListSample));
    for (TsComboBox* box : {sComboBox1, sComboBox2})
        box->view()->setMinimumWidth(width);
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
    FormClose();
    event->accept();
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        SetSoilListWidths();
}
