#pragma once

#include <functional>

class QWidget;

// The system's default beep, sounded when a field refuses a typed character.
void SystemBeep();

// Replaces what SystemBeep() does (tests count beeps with it); an empty function restores the
// system's beep.
void SetSystemBeepHandler(std::function<void()> handler);

// How long the visible sign of a refused key stays on a field, in milliseconds.
constexpr int kRefusedKeySignMs = 300;

// Tells the user that `field` refused a key: the system's beep, which many desktops never sound, and
// a red frame drawn over the field's edge for kRefusedKeySignMs, in the standard look and under any
// theme alike. A further refusal while the frame shows starts its time anew. Nothing waits for it.
void SignalRefusedKey(QWidget* field);

// The frame a refusal put on `field` and that still shows, else null (tests look for it).
QWidget* RefusedKeySign(const QWidget* field);
