#pragma once

#include <array>
#include <optional>
#include <string_view>

// The keys of the settings file "стелворн.ini", declared once: every reader and writer of the file
// (the window, the benchmark, the fuzz target) takes their names, types and defaults from here.

// The one section of the file.
inline constexpr std::u16string_view SettingsSection = u"INTERFACE";

// The theme that is always there; the default of SkinName.
inline constexpr std::u16string_view BuiltInSkinName = u"Windows 10 (внутренний)";

enum class TSettingType {
    Flag,    // "1" or "0"; read as an integer, non-zero is true
    Integer, // a 32-bit integer
    Number,  // a decimal number with the user's decimal separator
    Text,    // verbatim
};

struct TSettingKey {
    std::u16string_view Name;
    TSettingType Type;
    // The value a read falls back to: Default for flags (0 or 1), integers and numbers,
    // DefaultText for texts.
    double Default = 0;
    std::u16string_view DefaultText = {};
    // What a field whose text is empty is set to before its value is written.
    std::optional<double> EmptySubstitute = std::nullopt;
};

namespace SettingsKey {

inline constexpr TSettingKey ShowHints{u"ShowHints", TSettingType::Flag, 1};
inline constexpr TSettingKey ClimaticRegion{u"ClimaticRegion", TSettingType::Integer, 2};
inline constexpr TSettingKey TopLayer{u"TopLayer", TSettingType::Text};
inline constexpr TSettingKey BottomLayer{u"BottomLayer", TSettingType::Text};
inline constexpr TSettingKey Thickness{u"Thickness", TSettingType::Number, 1.5, {}, 1.0};
inline constexpr TSettingKey Depth{u"Depth", TSettingType::Number, 0.5, {}, 0.5};
inline constexpr TSettingKey Form{u"Form", TSettingType::Integer, 1};
inline constexpr TSettingKey Width{u"Width", TSettingType::Integer, 50, {}, 50};
inline constexpr TSettingKey Length{u"Length", TSettingType::Number, 3.0, {}, 2.5};
inline constexpr TSettingKey MutualDisposition{u"MutualDisposition", TSettingType::Integer, 1};
inline constexpr TSettingKey Number{u"Number", TSettingType::Integer, 1, {}, 3};
inline constexpr TSettingKey IntervalMultiplicity{u"IntervalMultiplicity", TSettingType::Integer, 1, {}, 1};
inline constexpr TSettingKey FormHor{u"FormHor", TSettingType::Integer, 1};
inline constexpr TSettingKey WidthHor{u"WidthHor", TSettingType::Integer, 40, {}, 40};
inline constexpr TSettingKey SkinName{u"SkinName", TSettingType::Text, 0, BuiltInSkinName};
inline constexpr TSettingKey Skins{u"Skins", TSettingType::Flag, 1};

// All sixteen, in the order in which a close writes them and a start reads them (the first
// fourteen when the window is shown, the two theme keys while it is created).
inline constexpr std::array<TSettingKey, 16> All = {
    ShowHints, ClimaticRegion,    TopLayer, BottomLayer,          Thickness, Depth,    Form,     Width,
    Length,    MutualDisposition, Number,   IntervalMultiplicity, FormHor,   WidthHor, SkinName, Skins,
};

} // namespace SettingsKey
