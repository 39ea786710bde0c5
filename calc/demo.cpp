// Prints the result labels of one worked example, to show the calculation core at work.
#include "earthing.h"
#include "soil_catalogue.h"
#include "utf8_text.h"

#include <cstdio>
#include <string>

namespace {

void Show(const char* caption, const std::optional<std::u16string>& text) {
    std::printf("  %s %s\n", caption, text ? Utf16ToUtf8(*text).c_str() : "(не изменяется)");
}

} // namespace

int main() {
    const TEarthingInput input{.ClimaticRegion = 2,
                               .TopLayer = std::u16string(SoilCatalogue[DefaultTopLayerIndex]),
                               .BottomLayer = std::u16string(SoilCatalogue[DefaultBottomLayerIndex]),
                               .Thickness = 1.5,
                               .Depth = 0.5,
                               .Form = 1,
                               .Width = 50,
                               .Length = 2.5,
                               .MutualDisposition = 1,
                               .Number = 3,
                               .IntervalMultiplicity = 1,
                               .FormHor = 1,
                               .WidthHor = 40};
    const TEarthingResult result = ComputeEarthing(input, u',', u',');
    const TEarthingLabels labels = EarthingLabels(input, result, u',');
    std::printf("Стелворн: три уголка 50 мм по 2,5 м в ряд, полоса 40 мм, район II\n");
    std::printf("  верхний пласт: %s\n  нижний пласт: %s\n", Utf16ToUtf8(input.TopLayer).c_str(),
                Utf16ToUtf8(input.BottomLayer).c_str());
    Show("Эквивалентное удельное сопротивление, Ом∙м:", labels.sLabel21);
    Show("С учётом климатической зоны, Ом∙м:", labels.sLabel25);
    Show("Сопротивление одного электрода, Ом:", labels.sLabel18);
    Show("Интервал:", labels.sLabel33);
    Show("Коэффициент использования электродов:", labels.sLabel35);
    Show("Длина соединителя, м:", labels.sLabel30);
    Show("Коэффициент использования соединителя:", labels.sLabel38);
    Show("Сопротивление соединителя, Ом:", labels.sLabel28);
    Show("Общее сопротивление:", labels.sLabel39);
    return 0;
}
