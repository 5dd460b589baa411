#pragma once

// Puts a value in tenths of a dB on the 0.5-dB grid: 932 -> 930,
// 933 -> 935, 937 -> 935, 938 -> 940. Both parts truncate toward zero, so
// negative values only ever lose their last digit.
constexpr int RoundToHalfDb(int value)
{
    const int q = value / 10;
    const int r = value % 10;
    if (r < 3)
        return q * 10;
    if (r < 8)
        return q * 10 + 5;
    return (q + 1) * 10;
}

// The rack counts tenths of a dB when its maximum is above this.
constexpr int WholeDbMaxAttValue = 110;

constexpr bool IsTenthsMode(int maxAttValue)
{
    return maxAttValue > WholeDbMaxAttValue;
}
