#pragma once

#include "rack/uRadioRackV2Types.h"

#include <QString>

#include <array>
#include <optional>

// The rack's replies, parsed from the front of the text as the rack writes
// them. Every function is safe on any text: short, long, non-ASCII, fields
// missing. They keep no state.

struct TRackIdentity
{
    QString RackIDN = QStringLiteral("000000");
    int MaxAttr = 0;
    QString VersAttr;
    TStartAtt StartAtt = StartAttMax;
    int NbreAtts = 1;
};

bool IsIdentityReply(const QString &reply); // starts with "IDN"
bool IsModeReply(const QString &reply);     // starts with "MOD"
bool IsStatusReply(const QString &reply);   // starts with "STA" or "ATT"

// Updates the fields the reply carries; the others keep their value.
void ParseIdentityReply(const QString &reply, TRackIdentity &identity);
// RackAuto when "AUTO" occurs anywhere, RackManu otherwise.
TMode ParseModeReply(const QString &reply);

// Values per attenuator (index 0 is channel "0"); empty where the reply
// carries no usable value. Channel "1" counts only when nbreAtts >= 2.
using TStatusValues = std::array<std::optional<int>, 2>;
TStatusValues ParseStatusReply(const QString &reply, int nbreAtts);

// The mode's name as in code: "NoRack", "IdnOk", ...
QString ModeName(TMode mode);

// What the worker's action intake does with a handed-over string.
enum class TActionKind { Ignore, Send, SendZero, SendLarge, ReadAtt, Refresh, ReConfig };
TActionKind ClassifyActionStr(const QString &action);
