#pragma once
// The chart's axes: each maps one dimension of the series to pixels of the plotting rectangle,
// finds its range from the data, reserves room for its labels and draws itself. The axis panel
// (chart/TeEngine.h) owns them and calls them in its drawing sequence.
//
// Threading: user-interface thread only.

#include "framework/Classes.h"
#include "platform/Types.h"

class TCustomAxisPanel;

class TCustomChartAxis : public TPersistent {
public:
    // Registers itself at the end of the chart's axes list.
    TCustomChartAxis(TCustomAxisPanel* Chart, bool Horizontal, bool OtherSide, int TitleAngle,
                     bool DepthAxis = false);

    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    bool Horizontal() const { return FHorizontal; }
    bool OtherSide() const { return FOtherSide; }
    bool IsDepthAxis() const { return FIsDepthAxis; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Inverted() const { return FInverted; }
    void SetInverted(bool Value);
    bool Automatic() const { return FAutomatic; }
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    bool AutomaticMaximum() const { return FAutomaticMaximum; }

    int ValueToPixel(double Value) const;
    double PixelToValue(int Pixel) const;

    // The layout steps, in the order the chart runs them on every paint.
    void ComputeAutoRange();
    void ReserveSpace(TRect& R, bool Shrink);
    void PlaceOnPlotRect();
    void WidenForMargins(int Before, int After);
    void DrawAxis(bool RecomputePosition);

private:
    TCustomAxisPanel* FParentChart;
    bool FHorizontal;
    bool FOtherSide;
    bool FIsDepthAxis;
    int FDefaultTitleAngle;
    bool FVisible = true;
    bool FInverted = false;
    bool FAutomatic = true;
    bool FAutomaticMinimum = true;
    bool FAutomaticMaximum = true;
};

class TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;
};

// The 3-D depth axis: hidden by default, and drawn only in 3-D views.
class TChartDepthAxis : public TCustomChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* Chart);
};
