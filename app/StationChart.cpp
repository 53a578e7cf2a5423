#include "app/StationChart.h"

#include <tuple>

TLineSeries* SetupStationChart(TChart& Chart, TComponent* SeriesOwner)
{
    Chart.BackWall()->Brush()->SetColor(clWhite);
    Chart.BackWall()->Brush()->SetStyle(bsClear);
    Chart.LeftWall()->Pen()->SetWidth(2);
    Chart.Title()->SetText({"TChart"});
    Chart.Title()->SetVisible(false);
    Chart.SetView3D(false);

    auto* series = new TLineSeries(SeriesOwner);
    series->SetSeriesColor(clRed);
    series->LinePen()->SetWidth(2);
    series->Pointer()->SetVisible(false);
    series->Pointer()->SetStyle(psRectangle);
    series->Pointer()->SetInflateMargins(true);
    for (auto [list, name, order] : {std::tuple{series->XValues(), "X", loAscending},
                                     std::tuple{series->YValues(), "Y", loNone}}) {
        list->SetName(name);
        list->SetOrder(order);
        list->SetMultiplier(1.0);
        list->SetDateTime(false);
    }
    series->SetParentChart(&Chart);
    return series;
}
