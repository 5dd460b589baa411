#pragma once

#include "graph/QxyGraphFont.h"
#include "graph/QxyGraphTypes.h"

#include <QColor>

#include <cstdint>

class TQxyGraph;

// Margins around the plot, tick length and print percentages.
class TDimensions
{
public:
    explicit TDimensions(TQxyGraph *aGraph) : FGraph(aGraph) {}
    TDimensions(const TDimensions &) = delete;
    TDimensions &operator=(const TDimensions &) = delete;

    uint16_t LeftMargin() const { return FLeftMargin; }
    uint16_t RightMargin() const { return FRightMargin; }
    uint16_t TopMargin() const { return FTopMargin; }
    uint16_t BottomMargin() const { return FBottomMargin; }
    uint16_t InterMargin() const { return FInterMargin; }
    uint16_t TickLength() const { return FTMLength; }
    uint16_t PrintScalePct() const { return FScalePct; }
    uint16_t PrintXOffsetPct() const { return FXOffsetPct; }
    uint16_t PrintYOffsetPct() const { return FYOffsetPct; }

    // These repaint while plotting, even when the value is unchanged.
    void SetLeftMargin(uint16_t value);
    void SetRightMargin(uint16_t value);
    void SetTopMargin(uint16_t value);
    void SetBottomMargin(uint16_t value);
    void SetInterMargin(uint16_t value);
    void SetTickLength(uint16_t value);
    // Clamped, never repaint.
    void SetPrintScalePct(uint16_t value);
    void SetPrintXOffsetPct(uint16_t value);
    void SetPrintYOffsetPct(uint16_t value);

private:
    friend class TQxyGraph;
    friend class TXAxis;
    friend class TYAxis;

    void Store(uint16_t &field, uint16_t value);

    TQxyGraph *FGraph;
    uint16_t FLeftMargin = 0;
    uint16_t FRightMargin = 0;
    uint16_t FTopMargin = 0;
    uint16_t FBottomMargin = 0;
    uint16_t FInterMargin = 0;
    uint16_t FTMLength = 0;
    uint16_t FScalePct = 0;
    uint16_t FXOffsetPct = 0;
    uint16_t FYOffsetPct = 0;
};

// Colours, grid style, label font and print flags.
class TAppearance
{
public:
    explicit TAppearance(TQxyGraph *aGraph);
    ~TAppearance();
    TAppearance(const TAppearance &) = delete;
    TAppearance &operator=(const TAppearance &) = delete;

    QColor AxesColor() const { return FAxesColor; }
    QColor BackgroundColor() const { return FBkgdColor; }
    QColor MarginColor() const { return FMarginColor; }
    QColor GridColor() const { return FGridColor; }
    TPenStyle GridStyle() const { return FGridStyle; }
    // Editing the returned font in place repaints the graph while plotting.
    TQxyFont &LabelFont() { return FLabelFont; }
    const TQxyFont &LabelFont() const { return FLabelFont; }
    bool PrintBkgndColor() const { return FBkgdWhenPrint; }
    bool PrintLineStyle() const { return FPrintLineStyle; }

    void SetAxesColor(const QColor &value);
    void SetBackgroundColor(const QColor &value);
    void SetMarginColor(const QColor &value);
    void SetGridColor(const QColor &value);
    void SetGridStyle(TPenStyle value);
    void SetLabelFont(const TQxyFont &value);
    void SetPrintBkgndColor(bool value) { FBkgdWhenPrint = value; }
    void SetPrintLineStyle(bool value) { FPrintLineStyle = value; }

private:
    friend class TQxyGraph;

    void Changed();

    TQxyGraph *FGraph;
    QColor FAxesColor;
    QColor FBkgdColor;
    QColor FMarginColor;
    QColor FGridColor;
    TPenStyle FGridStyle = TPenStyle::psSolid;
    TQxyFont FLabelFont;
    bool FBkgdWhenPrint = false;
    bool FPrintLineStyle = false;
};
