#pragma once
// The chart as the station's window lays it out: 449 x 161, two-dimensional, no title, a clear
// back wall; plus a series that records what the chart asks it to draw.

#include "chart/Chart.h"
#include "framework/Application.h"

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

inline std::unique_ptr<TChart> MakeStationChart()
{
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(8, 112, 449, 161);
    chart->BackWall()->Brush()->SetColor(clWhite);
    chart->BackWall()->Brush()->SetStyle(bsClear);
    chart->LeftWall()->Pen()->SetWidth(2);
    chart->Title()->SetText({"TChart"});
    chart->Title()->SetVisible(false);
    chart->SetView3D(false);
    return chart;
}

// Paints now, whether shown or not, and answers the picture.
inline const platform::TBitmapImage& PaintNow(TChart& Chart)
{
    Chart.Repaint();
    return Chart.BackStore();
}
