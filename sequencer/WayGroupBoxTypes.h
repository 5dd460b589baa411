#pragma once

#include <QString>

#include <cstdint>

// The action of one sequence row; the codes are those of the file and of the
// editor's action box.
enum TAction : uint8_t {
    taNoAction = 0,
    taReset = 1,
    taRamp = 2,
    taStep = 3,
    taGoto = 4,
    taRepeat = 5,
};

constexpr int ActionCount = 6;

// "No Action", "Reset", ...; empty for a code without an action.
QString ActionText(int code);

// One row of the sequence editor, as the file holds it. The row number is
// the row's place in its list plus 1.
struct TSequenceRow {
    int Time = 0; // tenths of a second
    TAction Action = taNoAction;
    int FromValue = 0;
    int ToValue = 0;
    int Duration = 0;

    bool operator==(const TSequenceRow &) const = default;
};

// How one value field of a row looks and what it accepts for an action.
struct TSequenceFieldSpec {
    bool Visible = false;
    bool UnitVisible = false;
    bool Decimal = false; // shows tenths with one decimal
    int Min = 0;
    int Max = 0;

    // Equal limits pass any value, as in the spin edit: before a rack reports
    // its maximum, MaxAttValue is 0 and values must survive a load.
    int Limit(int value) const
    {
        if (Min == Max)
            return value;
        return value < Min ? Min : (value > Max ? Max : value);
    }
};

struct TSequenceActionFields {
    TSequenceFieldSpec From;
    TSequenceFieldSpec To;
    TSequenceFieldSpec Duration;
};

// The ranges a field has before any action configures it; an action that
// hides a field without configuring it leaves it at these.
constexpr int SequenceFieldInitialMax = 110;
constexpr int SequenceDurationMax = 9999;
constexpr int SequenceRampMinDuration = 3;

// The value fields of an editor row for an action: one table for the row
// widget and for the file reader that limits loaded values. maxLines is the
// largest goto/repeat target row.
TSequenceActionFields SequenceActionFields(TAction action, int maxAttVal, bool modeDecimal, int maxLines);

// Limits From, To and Duration of a row to the ranges of its action.
void LimitSequenceRow(TSequenceRow &row, int maxAttVal, bool modeDecimal, int maxLines);
