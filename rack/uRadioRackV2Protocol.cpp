#include "rack/uRadioRackV2Protocol.h"

namespace {

const QChar Comma(QLatin1Char(','));

// The character at one-based position pos, or NUL past the end.
QChar CharAt(const QString &s, qsizetype pos)
{
    return pos >= 1 && pos <= s.size() ? s.at(pos - 1) : QChar();
}

int ToIntDef(const QString &s, int def)
{
    bool ok = false;
    const int v = s.toInt(&ok, 10);
    return ok ? v : def;
}

} // namespace

bool IsIdentityReply(const QString &reply)
{
    return reply.startsWith(QLatin1String("IDN"));
}

bool IsModeReply(const QString &reply)
{
    return reply.startsWith(QLatin1String("MOD"));
}

bool IsStatusReply(const QString &reply)
{
    return reply.startsWith(QLatin1String("STA")) || reply.startsWith(QLatin1String("ATT"));
}

void ParseIdentityReply(const QString &reply, TRackIdentity &identity)
{
    QString r = reply;
    r.remove(0, 4);
    identity.RackIDN = r.left(6);
    r.remove(0, 6);
    if (r.contains(Comma)) {
        identity.MaxAttr = ToIntDef(r.mid(1, 3), 0);
        r.remove(0, 4);
    }
    if (!r.contains(Comma))
        return;
    r.remove(0, 1);
    const qsizetype p = r.indexOf(Comma);
    if (p < 0) {
        identity.VersAttr = r;
        return;
    }
    identity.VersAttr = r.left(p);
    r.remove(0, p);
    if (r.contains(Comma)) {
        identity.StartAtt = CharAt(r, 2) == QLatin1Char('1') ? StartAttMax : StartAttMin;
        r.remove(0, 2);
        if (r.contains(Comma)) {
            const QChar c = CharAt(r, 2);
            identity.NbreAtts = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.digitValue() : 2;
            r.remove(0, 2);
        }
    }
}

TMode ParseModeReply(const QString &reply)
{
    return reply.contains(QLatin1String("AUTO")) ? RackAuto : RackManu;
}

TStatusValues ParseStatusReply(const QString &reply, int nbreAtts)
{
    TStatusValues values;
    QString r = reply;
    while (!r.isEmpty()) {
        if (r.startsWith(QLatin1String("STA ")) || r.startsWith(QLatin1String("ATT "))) {
            r.remove(0, 4);
        } else if (r.startsWith(QLatin1Char(';'))) {
            r.remove(0, 1);
        } else {
            const QChar channel = CharAt(r, 1);
            bool ok = false;
            const int value = r.mid(2, 3).toInt(&ok, 10);
            if (ok && channel == QLatin1Char('0'))
                values[0] = value;
            else if (ok && channel == QLatin1Char('1') && nbreAtts >= 2)
                values[1] = value;
            r.remove(0, 5);
        }
    }
    return values;
}

TActionKind ClassifyActionStr(const QString &action)
{
    auto starts = [&action](const char *keyword) { return action.startsWith(QLatin1String(keyword)); };
    if (starts("ATT") || starts("MAX") || starts("MIN"))
        return TActionKind::Send;
    if (starts("ZERO"))
        return TActionKind::SendZero;
    if (starts("LARGE"))
        return TActionKind::SendLarge;
    if (starts("IDS"))
        return TActionKind::Send;
    if (starts("READATT"))
        return TActionKind::ReadAtt;
    if (starts("REFRESH"))
        return TActionKind::Refresh;
    if (starts("RECONFIG"))
        return TActionKind::ReConfig;
    return TActionKind::Ignore;
}

QString ModeName(TMode mode)
{
    switch (mode) {
    case NoRack: return QStringLiteral("NoRack");
    case IdnOk: return QStringLiteral("IdnOk");
    case RackAuto: return QStringLiteral("RackAuto");
    case RackManu: return QStringLiteral("RackManu");
    case SerialError: return QStringLiteral("SerialError");
    case NetworkDialogError: return QStringLiteral("NetworkDialogError");
    }
    return QStringLiteral("Mode%1").arg(static_cast<int>(mode));
}
