#pragma once
// The station's chart (tests/support/StationChart.h), a series that records what the chart asks
// it to draw, a paint on demand, and the station's chart at the worked layout of 100 samples.

#include "FakeMetrics.h"

#include "chart/Chart.h"
#include "framework/Application.h"
#include "tests/support/StationChart.h"

#include <gtest/gtest.h>

#include <functional>
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

// Digits 6 pixels wide, a space 10 and every text 13 high: the first legend texts of the worked
// layout ("81 ") are 22 pixels wide, the widest left-axis label plus a space ("891 ") 28.
struct WorkedLayout : ::testing::Test {
    FakeMetrics Metrics{6, 13};
    TStationChart Station = MakeStationChart();
    TChart& Chart = *Station.Chart;
    TLineSeries& Series = *Station.Series1;

    WorkedLayout() { Metrics.Widths[' '] = 10; }
    void Fill(int Count, const std::function<double(int)>& Sample)
    {
        Series.Clear();
        for (int i = 0; i < Count; ++i)
            Series.Add(Sample(i), "", clDefault);
    }
    const platform::TBitmapImage& Paint() { return PaintNow(Chart); }
    // The block of the worked layout: 100 samples 0, 9, ... 891, painted. The plotting
    // rectangle comes out as (47, 6)-(382, 136), the legend box as (395, 16)-(431, 148).
    const platform::TBitmapImage& PaintHundred()
    {
        Fill(100, [](int i) { return i * 9.0; });
        return Paint();
    }
};
