#pragma once
// The station's chart (app/StationChart.h) on its own, for tests and benchmarks that paint it
// without the window: Chart1 at its place in the window, and Series1 handed over beside it,
// since outside the window nothing else owns the series.
//
// A test or benchmark that brings a series of its own keeps only the chart:
// `auto chart = MakeStationChart().Chart;` lets Series1 go, and it leaves the chart as it goes.

#include "app/StationChart.h"

#include <memory>

struct TStationChart {
    std::unique_ptr<TChart> Chart;
    std::unique_ptr<TLineSeries> Series1;
};

inline TStationChart MakeStationChart(const TRect& Bounds = {8, 112, 457, 273})
{
    TStationChart s{std::make_unique<TChart>(nullptr), nullptr};
    s.Chart->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    s.Series1.reset(SetupStationChart(*s.Chart, nullptr));
    return s;
}
