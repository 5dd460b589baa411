#pragma once

#include "sequencer/WayGroupBoxTypes.h"
#include "sequencer/uSequencerScript.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

// One action row: Num, Time, Action, From, To, Duration.
inline QByteArray Row(long long num, int action, long long from, long long to, long long duration, int time = 0)
{
    return QByteArray::number(num) + '\t' + QByteArray::number(time) + '\t' + QByteArray::number(action) + '\t' +
           QByteArray::number(from) + '\t' + QByteArray::number(to) + '\t' + QByteArray::number(duration);
}

// A file with one selection line and the given rows, CR LF throughout.
inline QByteArray SeqFile(const std::vector<QByteArray> &rows, const QByteArray &selection = "Rack 1 :  att1")
{
    QByteArray out =
        "RACKS SELECTED\r\n\r\n" + selection + "\r\n\r\nACTIONS\r\n#Num\tTime\tAction\tFrom\tTo\tDuration\r\n";
    for (const QByteArray &r : rows)
        out += r + "\r\n";
    return out;
}

// "050 -*3 100..130/10 END" -> 050 - - - 100 110 120 130 END.
// A range's values are written "%.3d".
inline std::vector<std::string> Expand(const std::string &pattern)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < pattern.size()) {
        const size_t end = std::min(pattern.find(' ', pos), pattern.size());
        const std::string tok = pattern.substr(pos, end - pos);
        pos = end + 1;
        if (tok.empty())
            continue;
        const size_t star = tok.find('*');
        const size_t dots = tok.find("..");
        if (star != std::string::npos) {
            const int n = std::stoi(tok.substr(star + 1));
            for (int i = 0; i < n; ++i)
                out.push_back(tok.substr(0, star));
        } else if (dots != std::string::npos) {
            const size_t slash = tok.find('/');
            const int a = std::stoi(tok.substr(0, dots));
            const int b = std::stoi(tok.substr(dots + 2, slash - dots - 2));
            const int step = std::stoi(tok.substr(slash + 1));
            for (int v = a; step > 0 ? v <= b : v >= b; v += step)
                out.push_back(FormatAttValue(v).toStdString());
        } else {
            out.push_back(tok);
        }
    }
    return out;
}

// Steps a script up to ticks times: its value per tick, "-" for a silent
// tick, and "END" for the tick on which it is found terminated.
inline std::vector<std::string> Play(TSequenceScript &script, int ticks)
{
    std::vector<std::string> out;
    for (int i = 0; i < ticks; ++i) {
        script.NextAttValue();
        if (script.Terminated()) {
            out.push_back("END");
            break;
        }
        out.push_back(script.AttValue().isEmpty() ? "-" : script.AttValue().toStdString());
    }
    return out;
}
