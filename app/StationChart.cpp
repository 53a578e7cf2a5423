#include "app/StationChart.h"

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
    series->SetParentChart(&Chart);
    return series;
}
