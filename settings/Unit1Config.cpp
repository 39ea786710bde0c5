// The window's settings: OpenConfig and SaveConfig of TForm1, and the theme step of its creation.
#include "Unit1.h"

#include "application.h"
#include "earthing.h"
#include "settings_file.h"
#include "user_locale.h"

#include <QFileInfo>

namespace {

const QString Section = QStringLiteral("INTERFACE");

QString SettingsPath() {
    return SettingsFilePath(ProgramFolder);
}

void ReportSettingsError(const QString& firstLine, const std::exception& error) {
    ShowErrorMessage(firstLine + QStringLiteral("\n\n") + ErrorTypeAndMessage(error));
}

// A soil text read from the file; an empty one brings back the box's item.
void RestoreSoil(TsComboBox* box, const QString& text) {
    const int remembered = box->currentIndex();
    box->setEditText(text);
    if (box->currentText().isEmpty()) {
        box->setCurrentIndex(-1);
        box->setCurrentIndex(remembered);
    }
}

} // namespace

void TForm1::ApplySavedTheme() {
    const QString skins = ProgramFolder + QStringLiteral("Skins");
    sSkinManager1.SkinDirectory = QFileInfo(skins).isDir() ? skins : ProgramFolder;
    TSettingsFile ini(SettingsPath());
    sSkinManager1.SkinName =
        ini.ReadString(Section, QStringLiteral("SkinName"), TSkinManager::BuiltInSkinName());
    sSkinManager1.Active = ini.ReadBool(Section, QStringLiteral("Skins"), true);
}

void TForm1::OpenConfig() {
    try {
        TSettingsFile ini(SettingsPath());
        const char16_t separator = UserDecimalSeparator();
        auto integer = [&](const char* key, int32_t fallback) {
            return ini.ReadInteger(Section, QLatin1String(key), fallback);
        };
        auto number = [&](const char* key, double fallback) {
            return static_cast<long double>(ini.ReadFloat(Section, QLatin1String(key), fallback, separator));
        };

        sCheckBox1->setChecked(ini.ReadBool(Section, QStringLiteral("ShowHints"), true));
        SetShowHint(sCheckBox1->isChecked());
        switch (integer("ClimaticRegion", 2)) {
        case 1:
            sRadioButton1->setChecked(true);
            break;
        case 2:
            sRadioButton2->setChecked(true);
            break;
        case 3:
            sRadioButton3->setChecked(true);
            break;
        case 4:
            sRadioButton4->setChecked(true);
            break;
        default:
            sRadioButton12->setChecked(true);
            break;
        }
        RestoreSoil(sComboBox1, ini.ReadString(Section, QStringLiteral("TopLayer"), QString()));
        RestoreSoil(sComboBox2, ini.ReadString(Section, QStringLiteral("BottomLayer"), QString()));
        sDecimalSpinEdit1->SetValue(number("Thickness", 1.5));
        sDecimalSpinEdit2->SetValue(number("Depth", 0.5));
        (integer("Form", 1) == 1 ? sRadioButton7 : sRadioButton8)->setChecked(true);
        sSpinEdit3->SetValue(integer("Width", 50));
        sDecimalSpinEdit6->SetValue(number("Length", 3.0));
        (integer("MutualDisposition", 1) == 1 ? sRadioButton11 : sRadioButton10)->setChecked(true);
        sSpinEdit1->SetValue(integer("Number", 1));
        sSpinEdit2->SetValue(integer("IntervalMultiplicity", 1));
        switch (integer("FormHor", 1)) {
        case 1:
            sRadioButton9->setChecked(true);
            break;
        case 2:
            sRadioButton5->setChecked(true);
            break;
        default:
            sRadioButton6->setChecked(true);
            break;
        }
        sSpinEdit4->SetValue(integer("WidthHor", 40));
    } catch (const std::exception& error) {
        ReportSettingsError(QStringLiteral("Не могу прочитать настройки:"), error);
    }
}

void TForm1::SaveConfig() {
    try {
        TSettingsFile ini(SettingsPath());
        const char16_t separator = UserDecimalSeparator();
        // A field left empty gets its substitute first; its change event runs as usual.
        auto number = [&](const char* key, TsDecimalSpinEdit* field, long double substitute) {
            if (field->Text().isEmpty())
                field->SetValue(substitute);
            ini.WriteFloat(Section, QLatin1String(key), static_cast<double>(field->Value()), separator);
        };
        // Counts and widths beyond 32 bits are written as the nearest 32-bit bound, never as their
        // low 32 bits, which could turn a nonsense value into a plausible one.
        auto integer = [&](const char* key, TsSpinEdit* field, int64_t substitute) {
            if (field->Text().isEmpty())
                field->SetValue(substitute);
            ini.WriteInteger(Section, QLatin1String(key), SaturateToInt32(field->Value()));
        };
        auto code = [&](const char* key, int32_t value) {
            ini.WriteInteger(Section, QLatin1String(key), value);
        };

        ini.WriteBool(Section, QStringLiteral("ShowHints"), sCheckBox1->isChecked());
        code("ClimaticRegion", ClimaticRegionCode());
        ini.WriteString(Section, QStringLiteral("TopLayer"), sComboBox1->currentText());
        ini.WriteString(Section, QStringLiteral("BottomLayer"), sComboBox2->currentText());
        number("Thickness", sDecimalSpinEdit1, 1.0L);
        number("Depth", sDecimalSpinEdit2, 0.5L);
        code("Form", sRadioButton7->isChecked() ? 1 : 2);
        integer("Width", sSpinEdit3, 50);
        number("Length", sDecimalSpinEdit6, 2.5L);
        code("MutualDisposition", sRadioButton11->isChecked() ? 1 : 2);
        integer("Number", sSpinEdit1, 3);
        integer("IntervalMultiplicity", sSpinEdit2, 1);
        code("FormHor", FormHorCode());
        integer("WidthHor", sSpinEdit4, 40);
        ini.WriteString(Section, QStringLiteral("SkinName"), sSkinManager1.SkinName);
        ini.WriteBool(Section, QStringLiteral("Skins"), sSkinManager1.Active);
    } catch (const std::exception& error) {
        ReportSettingsError(QStringLiteral("Не могу сохранить настройки:"), error);
    }
}
