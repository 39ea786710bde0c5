// Prints the result labels of the first worked example (the one the tests check), to show the
// calculation core at work.
#include "earthing.h"
#include "utf8_text.h"
#include "worked_examples.h"

#include <cstdio>
#include <string>

namespace {

void Show(const char* caption, const std::optional<std::u16string>& text) {
    std::printf("  %s %s\n", caption, text ? Utf16ToUtf8(*text).c_str() : "(не изменяется)");
}

} // namespace

int main() {
    const TEarthingInput input = FirstExample();
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
