#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

enum TScriptCmde : uint8_t {
    tcNoAction = 0,
    tcValue = 1,
    tcGoto = 2,
    tcRepeat = 3,
};

// One compiled command: one tick of a run, or a jump.
struct TSeqCmde {
    uint16_t NoL = 0; // row index (Num - 1) modulo 65536
    TScriptCmde Cmde = tcNoAction;
    int32_t Value = 0; // attenuation, or target row index of a jump
    int32_t RepeatLeft = 0;
    int32_t RepeatInit = 0;
};
static_assert(sizeof(TSeqCmde) <= 16, "a script of four million commands must stay small");

// The compiled form of one sequence file, stepped once per tick.
class TSequenceScript
{
public:
    TSequenceScript() = default;
    TSequenceScript(const TSequenceScript &) = delete;
    TSequenceScript &operator=(const TSequenceScript &) = delete;

    void AddNewCmde(uint16_t NoL, TScriptCmde aCmde, int aValue, int aCount);
    void Reserve(size_t count) { FActionList.reserve(count); }

    // The first command whose row index is at least row; Count if none.
    int IndexOfLine(int row) const;

    // Advances by one tick; AttValue and Terminated then describe it.
    void NextAttValue();

    QString GetDebugValue(int index) const;

    const QString &AttValue() const { return FAttValue; }
    int Count() const { return static_cast<int>(FActionList.size()); }
    bool Terminated() const { return FTerminated; }
    const TSeqCmde &Cmde(int index) const { return FActionList[static_cast<size_t>(index)]; }

private:
    void BuildLineIndex() const;

    std::vector<TSeqCmde> FActionList;
    int FActIndex = 0;
    QString FAttValue;
    bool FTerminated = false;
    // IndexOfLine for every row index, built on first use: jumps are taken
    // on every tick and a scan of millions of commands each time would not
    // keep up.
    mutable std::vector<int32_t> FLineIndex;
};

// "%.3d": at least three digits, zero-padded.
QString FormatAttValue(int value);

// Which script drives each attenuator; owns none of them.
class TBaieScripts
{
public:
    // slot 1: attenuator 1 (wire "0"), slot 2: attenuator 2 (wire "1").
    TSequenceScript *RackScript(int slot) const;
    void SetRackScript(int slot, TSequenceScript *script);

    TSequenceScript *Att1Script() const { return FRackScripts[0]; }
    void SetAtt1Script(TSequenceScript *script) { FRackScripts[0] = script; }
    TSequenceScript *Att2Script() const { return FRackScripts[1]; }
    void SetAtt2Script(TSequenceScript *script) { FRackScripts[1] = script; }

private:
    std::array<TSequenceScript *, 2> FRackScripts{};
};
