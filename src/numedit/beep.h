// The system beep, replaceable so that tests can count it.
#pragma once

#include <functional>

namespace zenavo {

// Sounds the system beep (or calls the handler put in its place).
void SystemBeep();

// Replaces the beep; an empty handler restores the system beep.
void SetBeepHandler(std::function<void()> handler);

}  // namespace zenavo
