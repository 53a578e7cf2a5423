#pragma once
// The station's chart as its window lays it out: Chart1, 449 x 161 at (8, 112), flat, the title
// "TChart" hidden, a clear white back wall, and its one series Series1, a red line two pixels
// wide without markers. The window owns both, so the series is handed over beside the chart.
//
// A test or benchmark that brings a series of its own keeps only the chart:
// `auto chart = MakeStationChart().Chart;` lets Series1 go, and it leaves the chart as it goes.

#include "chart/Chart.h"
#include "chart/Series.h"

#include <memory>
#include <tuple>

struct TStationChart {
    std::unique_ptr<TChart> Chart;
    std::unique_ptr<TLineSeries> Series1;
};

inline TStationChart MakeStationChart(const TRect& Bounds = {8, 112, 457, 273})
{
    TStationChart s{std::make_unique<TChart>(nullptr), std::make_unique<TLineSeries>(nullptr)};
    TChart& chart = *s.Chart;
    chart.SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    chart.BackWall()->Brush()->SetColor(clWhite);
    chart.BackWall()->Brush()->SetStyle(bsClear);
    chart.LeftWall()->Pen()->SetWidth(2);
    chart.Title()->SetText({"TChart"});
    chart.Title()->SetVisible(false);
    chart.SetView3D(false);

    TLineSeries& series = *s.Series1;
    series.SetSeriesColor(clRed);
    series.LinePen()->SetWidth(2);
    series.Pointer()->SetVisible(false);
    series.Pointer()->SetStyle(psRectangle);
    series.Pointer()->SetInflateMargins(true);
    for (auto [list, name, order] : {std::tuple{series.XValues(), "X", loAscending},
                                     std::tuple{series.YValues(), "Y", loNone}}) {
        list->SetName(name);
        list->SetOrder(order);
        list->SetMultiplier(1.0);
        list->SetDateTime(false);
    }
    series.SetParentChart(&chart);
    return s;
}
