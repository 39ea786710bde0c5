// The window's settings: OpenConfig and SaveConfig of TForm1, and the theme step of its creation.
// The keys' names, types and defaults are those of settings_keys.h; here each key meets its control.
#include "Unit1.h"

#include "application.h"
#include "earthing.h"
#include "qt_text.h"
#include "settings_file.h"
#include "settings_keys.h"
#include "user_locale.h"

#include <QFileInfo>

namespace {

QString SettingsPath() {
    return SettingsFilePath(ProgramFolder);
}

void ReportSettingsError(const QString& firstLine, const std::exception& error) {
    ShowErrorMessage(firstLine + QStringLiteral("\n\n") + ErrorTypeAndMessage(error));
}

// Reads of the keys of the table, each falling back to its key's default.
class TConfigReader {
  public:
    explicit TConfigReader(TSettingsFile& file) : file_(file), separator_(UserDecimalSeparator()) {}

    bool Flag(const TSettingKey& key) {
        return file_.ReadBool(section_, ToQString(key.Name), key.Default != 0);
    }
    int32_t Integer(const TSettingKey& key) {
        return file_.ReadInteger(section_, ToQString(key.Name), static_cast<int32_t>(key.Default));
    }
    long double Number(const TSettingKey& key) {
        return static_cast<long double>(
            file_.ReadFloat(section_, ToQString(key.Name), key.Default, separator_));
    }
    QString String(const TSettingKey& key) {
        return file_.ReadString(section_, ToQString(key.Name), ToQString(key.DefaultText));
    }

  private:
    TSettingsFile& file_;
    const QString section_ = ToQString(SettingsSection);
    const char16_t separator_;
};

// Writes of the keys of the table. A field left empty gets its key's substitute first; its change
// event runs as usual.
class TConfigWriter {
  public:
    explicit TConfigWriter(TSettingsFile& file) : file_(file), separator_(UserDecimalSeparator()) {}

    void Flag(const TSettingKey& key, bool value) { file_.WriteBool(section_, ToQString(key.Name), value); }
    void Code(const TSettingKey& key, int32_t value) {
        file_.WriteInteger(section_, ToQString(key.Name), value);
    }
    void String(const TSettingKey& key, const QString& value) {
        file_.WriteString(section_, ToQString(key.Name), value);
    }
    void Number(const TSettingKey& key, TsDecimalSpinEdit* field) {
        if (field->Text().isEmpty())
            field->SetValue(static_cast<long double>(*key.EmptySubstitute));
        file_.WriteFloat(section_, ToQString(key.Name), static_cast<double>(field->Value()), separator_);
    }
    // Counts and widths beyond 32 bits are written as the nearest 32-bit bound, never as their low
    // 32 bits, which could turn a nonsense value into a plausible one.
    void Integer(const TSettingKey& key, TsSpinEdit* field) {
        if (field->Text().isEmpty())
            field->SetValue(static_cast<int64_t>(*key.EmptySubstitute));
        file_.WriteInteger(section_, ToQString(key.Name), SaturateToInt32(field->Value()));
    }

  private:
    TSettingsFile& file_;
    const QString section_ = ToQString(SettingsSection);
    const char16_t separator_;
};

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
    // The theme folder: "Skins" in the program folder when it is a folder (or a link to one; a file
    // of that name does not count), else the program folder itself.
    const QString skins = ProgramFolder + QStringLiteral("Skins");
    sSkinManager1->SetSkinDirectory(QFileInfo(skins).isDir() ? skins : ProgramFolder);
    TSettingsFile ini(SettingsPath());
    TConfigReader read(ini);
    // Theming is on here (the design state): the theme named is applied at once.
    sSkinManager1->SetSkinName(read.String(SettingsKey::SkinName));
    sSkinManager1->SetActive(read.Flag(SettingsKey::Skins));
}

void TForm1::OpenConfig() {
    try {
        TSettingsFile ini(SettingsPath());
        TConfigReader read(ini);
        namespace Key = SettingsKey;

        sCheckBox1->setChecked(read.Flag(Key::ShowHints));
        SetShowHint(sCheckBox1->isChecked());
        CheckCode(ClimaticRegionGroup, read.Integer(Key::ClimaticRegion));
        RestoreSoil(sComboBox1, read.String(Key::TopLayer));
        RestoreSoil(sComboBox2, read.String(Key::BottomLayer));
        sDecimalSpinEdit1->SetValue(read.Number(Key::Thickness));
        sDecimalSpinEdit2->SetValue(read.Number(Key::Depth));
        CheckCode(FormGroup, read.Integer(Key::Form));
        sSpinEdit3->SetValue(read.Integer(Key::Width));
        sDecimalSpinEdit6->SetValue(read.Number(Key::Length));
        CheckCode(MutualDispositionGroup, read.Integer(Key::MutualDisposition));
        sSpinEdit1->SetValue(read.Integer(Key::Number));
        sSpinEdit2->SetValue(read.Integer(Key::IntervalMultiplicity));
        CheckCode(FormHorGroup, read.Integer(Key::FormHor));
        sSpinEdit4->SetValue(read.Integer(Key::WidthHor));
    } catch (const std::exception& error) {
        ReportSettingsError(QStringLiteral("Не могу прочитать настройки:"), error);
    }
}

void TForm1::SaveConfig() {
    try {
        TSettingsFile ini(SettingsPath());
        TConfigWriter write(ini);
        namespace Key = SettingsKey;

        write.Flag(Key::ShowHints, sCheckBox1->isChecked());
        write.Code(Key::ClimaticRegion, ClimaticRegionGroup->checkedId());
        write.String(Key::TopLayer, sComboBox1->currentText());
        write.String(Key::BottomLayer, sComboBox2->currentText());
        write.Number(Key::Thickness, sDecimalSpinEdit1);
        write.Number(Key::Depth, sDecimalSpinEdit2);
        write.Code(Key::Form, FormGroup->checkedId());
        write.Integer(Key::Width, sSpinEdit3);
        write.Number(Key::Length, sDecimalSpinEdit6);
        write.Code(Key::MutualDisposition, MutualDispositionGroup->checkedId());
        write.Integer(Key::Number, sSpinEdit1);
        write.Integer(Key::IntervalMultiplicity, sSpinEdit2);
        write.Code(Key::FormHor, FormHorGroup->checkedId());
        write.Integer(Key::WidthHor, sSpinEdit4);
        write.String(Key::SkinName, sSkinManager1->SkinName());
        write.Flag(Key::Skins, sSkinManager1->Active());
    } catch (const std::exception& error) {
        ReportSettingsError(QStringLiteral("Не могу сохранить настройки:"), error);
    }
}
