#pragma once
// The station's chart (tests/support/StationChart.h), a series that records what the chart asks
// it to draw, and a paint on demand.

#include "chart/Chart.h"
#include "framework/Application.h"
#include "tests/support/StationChart.h"

#include <memory>
#include <vector>

class RecordingSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void SetConnectsPoints(bool Value) { FConnectsPoints = Value; }
    void SetLimitToVisible(bool Value) { FLimitToVisible = Value; }

    std::vector<int> Drawn;
    std::vector<bool> ClippedWhenDrawn;
    int BeforeChart = 0;

    void DrawPoint(int ValueIndex) override
    {
        Drawn.push_back(ValueIndex);
        ClippedWhenDrawn.push_back(ParentChart()->Canvas()->ReferenceCanvas()->HasClip());
    }
    void DoBeforeDrawChart() override { ++BeforeChart; }
};

// Paints now, whether shown or not, and answers the picture.
inline const platform::TBitmapImage& PaintNow(TChart& Chart)
{
    Chart.Repaint();
    return Chart.BackStore();
}

// Whether the chart asked for a repaint since its last paint; paints, so the next question
// starts afresh.
inline bool RepaintRequested(TChart& Chart)
{
    const bool dirty = Chart.Canvas()->Dirty();
    PaintNow(Chart);
    return dirty;
}
