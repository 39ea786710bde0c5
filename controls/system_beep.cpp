#include "system_beep.h"

#include <QApplication>
#include <utility>

namespace {
std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}
} // namespace

void SystemBeep() {
    if (Handler())
        Handler()();
    else
        QApplication::beep();
}

void SetSystemBeepHandler(std::function<void()> handler) {
    Handler() = std::move(handler);
}
