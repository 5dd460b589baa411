#pragma once

#include "graph/QxyGraph.h"

// The sequencer graph's look: the last 100 s against gain, two traces.
inline void SetupSequencerLook(TQxyGraph &g)
{
    g.SetPlotting(false);
    g.XAxis()->SetMin(-1000);
    g.XAxis()->SetMax(0);
    g.XAxis()->SetUnitStr(QStringLiteral("Time (S)"));
    g.YAxis()->SetMin(-935);
    g.YAxis()->SetMax(0);
    g.YAxis()->SetUnitStr(QStringLiteral("Gain (dB)"));
    g.Appearance()->LabelFont().SetBold(true);
    g.GetSeriesInt(1)->SetLineColor(QColor(255, 0, 0));
    g.GetSeriesInt(2)->SetLineColor(QColor(0, 0, 255));
}

// A red staircase and a blue ramp, points points each, ending at x = 0.
inline void FillTraces(TQxyGraph &g, int points)
{
    TSeries *red = g.GetSeriesInt(1);
    TSeries *blue = g.GetSeriesInt(2);
    for (int i = 0; i < points; ++i) {
        const int x = i - points + 1;
        red->Add(x, -100 - 120 * (i * 6 / points));
        blue->Add(x, -850 + i * 800 / points);
    }
}
