#pragma once
// The chart as the station shows it (flat, no title, clear back wall), for the benchmarks that
// paint it.
#include "chart/Chart.h"

#include <memory>

inline std::unique_ptr<TChart> StationChart(const TRect& Bounds)
{
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    chart->BackWall()->Brush()->SetColor(clWhite);
    chart->BackWall()->Brush()->SetStyle(bsClear);
    chart->Title()->SetVisible(false);
    chart->SetView3D(false);
    return chart;
}
