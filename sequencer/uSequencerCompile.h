#pragma once

#include "sequencer/uSequencerFile.h"
#include "sequencer/uSequencerScript.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The refusal when two claims fall on one attenuator.
inline const char *const AttenuatorsInterferencesText = "Attenuators interferences !";

// More commands than this in one script make its file refused: the editor
// writes at most about four million, and a hand-made file must not be able
// to exhaust memory.
constexpr long long DefaultMaxScriptCommands = 8LL * 1024 * 1024;

// The outcome of compiling the selected files of a run. On success the
// caller owns the scripts, in list order, and the slots that point into them.
struct TSequenceAnalysis {
    bool Ok = false;
    std::vector<std::unique_ptr<TSequenceScript>> Scripts;
    std::unique_ptr<TBaieScripts> BaieScripts;
};

// Compiles sequence files one after the other into scripts and attenuator
// slots, as a run does.
class TSequenceCompiler
{
public:
    // maxAttValue: the rack's MaxAttValue (tenths mode above 110).
    // att2InUse: the rack's second attenuator is in use.
    TSequenceCompiler(int maxAttValue, bool att2InUse, long long maxScriptCommands = DefaultMaxScriptCommands);

    // Compiles one file's text into a new script. False on an attenuator
    // conflict, after which nothing more may be added. A script longer than
    // the limit throws EQuentaError naming the file.
    bool AddSequenceText(const QByteArray &text, const QString &fileName);
    // Reads and compiles one file; throws EQuentaError when it cannot.
    bool AddSequenceFile(const QString &fileName);

    // One selection line: claims the attenuators it names for the current
    // script. False when an attenuator is claimed already.
    bool SelectAttenuators(const QString &line);
    // One action row: appends its commands to the current script.
    void CompileActionLine(const QString &line);
    void CompileActionRow(const TSequenceRowFields &row);

    // Starts a script that the calls above fill; AddSequenceText does this.
    void BeginScript();
    TSequenceScript *CurrentScript() const { return FCurrent.get(); }
    // Appends the current script to the list.
    void EndScript();

    // Hands over what was compiled; Ok is false after a conflict.
    TSequenceAnalysis Take();

private:
    void DropCurrentScript();

    int FMaxAttValue;
    bool FTenths;
    bool FAtt2InUse;
    long long FMaxScriptCommands;
    bool FOk = true;
    std::unique_ptr<TSequenceScript> FCurrent;
    TSequenceAnalysis FResult;
};

// The number of commands a row compiles to.
long long SequenceRowCommandCount(const TSequenceRowFields &row);

// Compiles the selected files of a run, in list order.
TSequenceAnalysis AnalyzeSequenceFiles(const QStringList &fileNames, int maxAttValue, bool att2InUse);
