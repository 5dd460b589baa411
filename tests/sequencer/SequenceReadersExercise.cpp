#include "tests/sequencer/SequenceReadersExercise.h"

#include "platform/Errors.h"
#include "sequencer/SequencerEditFile.h"
#include "sequencer/uSequencerCompile.h"
#include "sequencer/uSequencerLine.h"

#include <cstdio>
#include <cstdlib>

namespace
{

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "sequence reader invariant broken: %s\n", what);
        std::abort();
    }
}

void ExerciseEditor(const QByteArray &text, int maxAtt, bool att2InUse)
{
    TSequenceDocument doc = NewSequenceDocument();
    ParseSequenceForEditor(text, doc, maxAtt, att2InUse);
    Check(doc.Rows.size() == SequenceEditorRows, "row count");
    Check(att2InUse || !doc.Att2Selected, "att2 selected while not in use");
    const int maxLines = SequenceEditorRows - 1;
    for (const TSequenceRow &row : doc.Rows) {
        Check(row.Action < ActionCount, "action code");
        TSequenceRow limited = row;
        LimitSequenceRow(limited, maxAtt, maxAtt > 110, maxLines);
        Check(limited == row, "value outside its field range");
    }
    // What the editor writes, it reads back unchanged. Once per maximum is
    // enough: attenuator 2's use changes only the selection, checked above.
    if (!att2InUse)
        return;
    TSequenceDocument back = NewSequenceDocument();
    ParseSequenceForEditor(FormatSequenceFile(doc, att2InUse), back, maxAtt, att2InUse);
    Check(back.Rows == doc.Rows, "rows change through save and load");
    Check(back.Att1Selected == doc.Att1Selected && back.Att2Selected == doc.Att2Selected,
          "selection changes through save and load");
}

void ExerciseRun(const QByteArray &text, int maxAtt, bool att2InUse)
{
    // Two files, so that a file conflicting with itself is met too.
    TSequenceCompiler compiler(maxAtt, att2InUse, 1 << 16);
    TSequenceAnalysis run;
    try {
        if (compiler.AddSequenceText(text, "fuzz.sqc"))
            compiler.AddSequenceText(text, "fuzz.sqc");
        run = compiler.Take();
    } catch (const EQuentaError &) {
        return; // too long a script: refused, nothing to play
    }
    Check(run.BaieScripts != nullptr, "slots");
    if (!run.Ok) {
        Check(run.Scripts.empty(), "scripts kept after a conflict");
        Check(!run.BaieScripts->Att1Script() && !run.BaieScripts->Att2Script(), "slots kept after a conflict");
        return;
    }
    for (int tick = 0; tick < 64; ++tick) {
        for (auto &s : run.Scripts) {
            s->NextAttValue();
            for (int i = 0; i < 2 && i < s->Count(); ++i)
                (void)s->GetDebugValue(i);
        }
        bool done = false;
        const QString line = BuildRackLine(*run.BaieScripts, att2InUse, done);
        Check(line.isEmpty() || line.startsWith(QLatin1String("ATT ")), "rack line form");
        if (done)
            break;
    }
}

} // namespace

void ExerciseSequenceReaders(const QByteArray &text)
{
    for (const bool att2InUse : {true, false}) {
        for (const int maxAtt : {935, 63, 0}) {
            ExerciseEditor(text, maxAtt, att2InUse);
            ExerciseRun(text, maxAtt, att2InUse);
        }
    }
}
