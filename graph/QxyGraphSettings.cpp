#include "graph/QxyGraphSettings.h"

#include "graph/QxyGraph.h"

#include <algorithm>

void TDimensions::Store(uint16_t &field, uint16_t value)
{
    field = value;
    if (FGraph->Plotting())
        FGraph->RepaintNow();
}

void TDimensions::SetLeftMargin(uint16_t value)
{
    Store(FLeftMargin, value);
}
void TDimensions::SetRightMargin(uint16_t value)
{
    Store(FRightMargin, value);
}
void TDimensions::SetTopMargin(uint16_t value)
{
    Store(FTopMargin, value);
}
void TDimensions::SetBottomMargin(uint16_t value)
{
    Store(FBottomMargin, value);
}
void TDimensions::SetInterMargin(uint16_t value)
{
    Store(FInterMargin, value);
}
void TDimensions::SetTickLength(uint16_t value)
{
    Store(FTMLength, value);
}

void TDimensions::SetPrintScalePct(uint16_t value)
{
    FScalePct = std::clamp<uint16_t>(value, 20, 100);
}

void TDimensions::SetPrintXOffsetPct(uint16_t value)
{
    FXOffsetPct = std::min<uint16_t>(value, 100);
}

void TDimensions::SetPrintYOffsetPct(uint16_t value)
{
    FYOffsetPct = std::min<uint16_t>(value, 100);
}

TAppearance::TAppearance(TQxyGraph *aGraph) : FGraph(aGraph)
{
    FLabelFont.SetOnChange([this] { Changed(); });
}

TAppearance::~TAppearance()
{
    FLabelFont.SetOnChange(nullptr);
}

void TAppearance::Changed()
{
    if (FGraph->Plotting())
        FGraph->RepaintNow();
}

void TAppearance::SetAxesColor(const QColor &value)
{
    FAxesColor = value;
    Changed();
}

void TAppearance::SetBackgroundColor(const QColor &value)
{
    FBkgdColor = value;
    Changed();
}

void TAppearance::SetMarginColor(const QColor &value)
{
    FMarginColor = value;
    Changed();
}

void TAppearance::SetGridColor(const QColor &value)
{
    FGridColor = value;
    Changed();
}

void TAppearance::SetGridStyle(TPenStyle value)
{
    FGridStyle = value;
    Changed();
}

void TAppearance::SetLabelFont(const TQxyFont &value)
{
    // Copying fires the font's own change only when something differs;
    // the property itself always repaints.
    FLabelFont.SetOnChange(nullptr);
    FLabelFont.Assign(value);
    FLabelFont.SetOnChange([this] { Changed(); });
    Changed();
}
