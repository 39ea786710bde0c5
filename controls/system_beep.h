#pragma once

#include <functional>

// The system's default beep, sounded when a field refuses a typed character.
void SystemBeep();

// Replaces what SystemBeep() does (tests count beeps with it); an empty function restores the
// system's beep.
void SetSystemBeepHandler(std::function<void()> handler);
