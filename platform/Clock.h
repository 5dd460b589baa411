#pragma once

#include <cstdint>

// Monotonic milliseconds since an arbitrary start; wraps like the platform's
// tick counter, so compare with unsigned subtraction.
uint32_t GetTickCountMs();
void SleepMs(int ms);
