#pragma once
// The station's chart as the window shows it: flat, no title, a back wall that is not filled,
// a left wall pen of 2 pixels, and one red 2-pixel line series without points or marks. The
// window builds its chart with this, and so may anything that needs to paint the same chart.

#include "chart/Chart.h"
#include "chart/Series.h"

// Sets Chart up and gives it its one series, owned by SeriesOwner.
TLineSeries* SetupStationChart(TChart& Chart, TComponent* SeriesOwner);
