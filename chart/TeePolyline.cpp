#include "chart/TeePolyline.h"

#include <algorithm>

void TPolylineBuilder::Start(TPoint P)
{
    FPoints.clear();
    FPoints.push_back(P);
    OpenColumn(P);
}

void TPolylineBuilder::OpenColumn(TPoint P)
{
    FOpen = true;
    FColumnX = P.X;
    FMin = FMax = FCur = P.Y;
    FCurCovered = false;
    FMoved = false;
    FRowCount = 0;
}

void TPolylineBuilder::Add(TPoint P)
{
    if (FOpen && P.X == FColumnX) {
        // Lit so far: every row from FMin to FMax except the current row if it was only ever
        // arrived at. The new row is lit already exactly when it lies in that set.
        const bool covered = P.Y == FCur ? FCurCovered : (FMin <= P.Y && P.Y <= FMax);
        FMoved = FMoved || P.Y != FCur;
        FMin = std::min(FMin, P.Y);
        FMax = std::max(FMax, P.Y);
        FCur = P.Y;
        FCurCovered = covered;
        if (FRowCount < 4) {
            if (FRowCount < 3)
                FRows[FRowCount] = P.Y;
            ++FRowCount;
        }
        return;
    }
    CloseColumn();
    FPoints.push_back(P);
    OpenColumn(P);
}

void TPolylineBuilder::CloseColumn()
{
    if (!FOpen)
        return;
    FOpen = false;
    if (!FMoved)
        return;
    const int x = FColumnX;
    if (FRowCount <= 3) {
        for (int i = 0; i < FRowCount; ++i)
            FPoints.push_back({x, FRows[i]});
        return;
    }
    const int m = FMin;
    const int M = FMax;
    const int last = FCur;
    // From the column's first point (already in FPoints) through the extremes to the last row,
    // in the order that leaves the last row lit or unlit as the original run did.
    const auto add = [&](std::initializer_list<int> Rows) {
        for (int y : Rows)
            FPoints.push_back({x, y});
    };
    if (last == M)
        FCurCovered ? add({M, m, M}) : add({m, M});
    else if (last == m)
        FCurCovered ? add({m, M, m}) : add({M, m});
    else
        add({m, M, last});
}

const std::vector<TPoint>& TPolylineBuilder::Finish()
{
    CloseColumn();
    return FPoints;
}

void TPolylineBuilder::Clear()
{
    FPoints.clear();
    FOpen = false;
}
