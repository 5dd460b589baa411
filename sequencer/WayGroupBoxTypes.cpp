#include "sequencer/WayGroupBoxTypes.h"

QString ActionText(int code)
{
    static const char *const texts[ActionCount] = {"No Action", "Reset", "Ramp", "Step", "Goto", "Repeat"};
    if (code < 0 || code >= ActionCount)
        return {};
    return QString::fromLatin1(texts[code]);
}

TSequenceActionFields SequenceActionFields(TAction action, int maxAttVal, bool modeDecimal, int maxLines)
{
    TSequenceActionFields f;
    f.From = {false, false, false, 0, SequenceFieldInitialMax};
    f.To = {false, false, false, 0, SequenceFieldInitialMax};
    f.Duration = {false, false, false, 0, SequenceDurationMax};
    const TSequenceFieldSpec attField{true, true, modeDecimal, 0, maxAttVal};
    switch (action) {
    case taNoAction:
        f.Duration = {true, true, true, 0, SequenceDurationMax};
        break;
    case taReset:
        break;
    case taRamp:
        f.From = attField;
        f.To = attField;
        f.Duration = {true, true, true, SequenceRampMinDuration, SequenceDurationMax};
        break;
    case taStep:
        f.To = attField;
        f.Duration = {true, true, true, 0, SequenceDurationMax};
        break;
    case taGoto:
        f.To = {true, false, false, 1, maxLines};
        f.Duration = {false, false, false, 0, SequenceDurationMax};
        break;
    case taRepeat:
        f.To = {true, false, false, 1, maxLines};
        f.Duration = {true, false, false, 0, SequenceDurationMax};
        break;
    }
    return f;
}

void LimitSequenceRow(TSequenceRow &row, int maxAttVal, bool modeDecimal, int maxLines)
{
    const TSequenceActionFields f = SequenceActionFields(row.Action, maxAttVal, modeDecimal, maxLines);
    row.FromValue = f.From.Limit(row.FromValue);
    row.ToValue = f.To.Limit(row.ToValue);
    row.Duration = f.Duration.Limit(row.Duration);
}
