#pragma once

#include <QPen>

// Dash styles of series lines and gridlines, in their published order.
enum class TPenStyle {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psUserStyle,
    psAlternate,
};

enum TXAxisPos { TopPos, BottomPos };
enum TYAxisPos { LeftPos, RightPos };

// Applies a dash style to a pen; colour and width are left alone.
void ApplyPenStyle(QPen &pen, TPenStyle style);
