#pragma once
// Gathers the points of a line series into a polyline for the canvas. A dense series puts many
// consecutive points into one pixel column; the vertical segments between them light exactly
// the column's stepped rows, which depend only on the lowest and highest row visited and on
// whether the last row was passed before the column ends. Such a run is therefore replaced by
// at most four points that light the same pixels with any solid pen in copy mode (each
// segment lights its rows from its start up to, not including, its end; a wide pen covers the
// same rows, widened across). Other points are kept as they are.
//
// Threading: a plain value, used by one thread.

#include "platform/Types.h"

#include <vector>

class TPolylineBuilder {
public:
    bool Empty() const { return FPoints.empty(); }
    // The last point added (where the next segment starts).
    TPoint End() const { return FOpen ? TPoint{FColumnX, FCur} : FPoints.back(); }
    // Starts a new polyline at P, dropping anything gathered.
    void Start(TPoint P);
    void Add(TPoint P);
    // Ends the path and answers it; Start begins the next one.
    const std::vector<TPoint>& Finish();
    void Clear();

private:
    void OpenColumn(TPoint P);
    void CloseColumn();

    std::vector<TPoint> FPoints;
    // The run in the column of FPoints.back(): rows seen since it, and whether the current
    // last row lies on a segment already drawn.
    bool FOpen = false;
    int FColumnX = 0;
    int FMin = 0;
    int FMax = 0;
    int FCur = 0;
    bool FCurCovered = false;
    bool FMoved = false;
    // The first rows after the column's first point, kept as they are while no more than the
    // compressed form would need.
    int FRows[3] = {};
    int FRowCount = 0;
};
