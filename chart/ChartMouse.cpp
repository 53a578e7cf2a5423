// The chart under the mouse: what lies under a point, the click events, zooming into a dragged
// rectangle with the zoom button, scrolling with the pan button, and undoing both.
#include "chart/Chart.h"

#include <cstdlib>

namespace {

constexpr TMouseButton kZoomButton = TMouseButton::mbLeft;
constexpr TMouseButton kPanButton = TMouseButton::mbRight;
// A zoom drag shorter than this in either direction is taken for a click.
constexpr int kMinZoomDrag = 16;
// How far beyond its line an axis still answers the hit test.
constexpr int kAxisHitMargin = 3;

bool Inside(const TRect& R, int X, int Y)
{
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

bool Between(int V, int A, int B)
{
    return V >= std::min(A, B) && V <= std::max(A, B);
}

} // namespace

TChartHit TCustomChart::HitTest(int X, int Y)
{
    const TChartSeriesList& list = *SeriesList();
    for (int i = list.Count() - 1; i >= 0; --i) {
        if (!list[i]->Active())
            continue;
        if (const int point = list[i]->Clicked(X, Y); point >= 0)
            return {hkSeries, list[i], nullptr, point};
    }
    for (TCustomChartAxis* axis : AxesList()) {
        if (!IsAxisVisible(axis))
            continue;
        // Across the axis: from its labels to its line, and a little beyond the line.
        const int line = axis->AxisPosition();
        const bool labelsBefore = axis->LabelsPosition() < line;
        const int beyond = labelsBefore ? line + kAxisHitMargin : line - kAxisHitMargin;
        const int along = axis->Horizontal() ? X : Y;
        const int across = axis->Horizontal() ? Y : X;
        if (Between(along, axis->StartPixel(), axis->EndPixel()) && Between(across, axis->LabelsPosition(), beyond))
            return {hkAxis, nullptr, axis, -1};
    }
    if (Title()->Visible() && Inside(Title()->TitleRect(), X, Y))
        return {hkTitle};
    if (Foot()->Visible() && Inside(Foot()->TitleRect(), X, Y))
        return {hkFoot};
    if (ActiveSeriesCount() > 0 && Inside(PlotRect(), X, Y))
        return {hkPlotArea};
    if (Legend()->Visible() && ActiveSeriesCount() > 0)
        if (const int row = Legend()->ItemAtPoint(X, Y); row >= 0)
            return {hkLegend, nullptr, nullptr, Legend()->FirstValue() + row};
    return {};
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
    if (ZoomRecord().Active || PanRecord().Active)
        return;
    if (!FCancelMouse) {
        // A click handler that leaves the flag set keeps the click from starting a drag.
        const auto handled = [this](const auto& Handler, auto&&... Args) {
            if (!Handler)
                return false;
            FCancelMouse = true;
            Handler(this, Args...);
            return FCancelMouse;
        };
        const TChartHit hit = HitTest(X, Y);
        bool stop = false;
        switch (hit.Kind) {
        case hkLegend:
            if (OnClickLegend)
                OnClickLegend(this, Button, Shift, X, Y);
            break;
        case hkAxis:
            stop = handled(OnClickAxis, hit.Axis, Button, Shift, X, Y);
            break;
        case hkSeries:
            stop = handled(OnClickSeries, hit.Series, hit.Index, Button, Shift, X, Y);
            break;
        case hkPlotArea:
            stop = handled(OnClickBackground, Button, Shift, X, Y);
            break;
        default:
            break;
        }
        if (!stop) {
            if (AllowZoom() && Button == kZoomButton) {
                SetCursor(TCursor::crDefault);
                ZoomRecord().Activate(X, Y);
                ToggleZoomRectangle();
            }
            if (AllowPanning() != pmNone && Button == kPanButton) {
                SetCursor(TCursor::crDefault);
                PanRecord().Activate(X, Y);
            }
        }
    }
    FCancelMouse = false;
}

void TCustomChart::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel::MouseMove(Shift, X, Y);
    TZoomPanningRecord& zoom = ZoomRecord();
    TZoomPanningRecord& pan = PanRecord();
    if (zoom.Active) {
        if (X == zoom.EndX && Y == zoom.EndY)
            return;
        ToggleZoomRectangle();
        zoom.EndX = X;
        zoom.EndY = Y;
        ToggleZoomRectangle();
    } else if (pan.Active) {
        if (!Inside(PlotRect(), X, Y)) {
            pan.Active = false;
            return;
        }
        if (X == pan.EndX && Y == pan.EndY)
            return;
        SaveScales();
        bool scrolled = false;
        const TPanningMode mode = AllowPanning();
        if ((mode == pmHorizontal || mode == pmBoth) && X != pan.EndX)
            for (TCustomChartAxis* axis : {TopAxis(), BottomAxis()})
                scrolled |= ScrollAxis(*axis, pan.EndX, X);
        if ((mode == pmVertical || mode == pmBoth) && Y != pan.EndY)
            for (TCustomChartAxis* axis : {LeftAxis(), RightAxis()})
                scrolled |= ScrollAxis(*axis, pan.EndY, Y);
        pan.EndX = X;
        pan.EndY = Y;
        if (scrolled) {
            if (OnScroll)
                OnScroll(this);
            Invalidate();
        }
    } else {
        SetCursor(IdleCursor());
    }
}

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
    TZoomPanningRecord& zoom = ZoomRecord();
    if (zoom.Active && Button == kZoomButton) {
        zoom.Active = false;
        ToggleZoomRectangle();
        zoom.EndX = X;
        zoom.EndY = Y;
        if (std::abs(zoom.EndX - zoom.StartX) > kMinZoomDrag && std::abs(zoom.EndY - zoom.StartY) > kMinZoomDrag) {
            if (zoom.StartX < X && zoom.StartY < Y)
                ZoomToRectangle();
            else
                ResetZoom();
            Invalidate();
        }
    }
    PanRecord().Active = false;
}

void TCustomChart::MouseLeave()
{
    TCustomAxisPanel::MouseLeave();
    SetCursor(IdleCursor());
    PanRecord().Active = false;
}

// ---------------------------------------------------------------------------------------------
// Zoom and scroll

std::vector<TCustomChartAxis*> TCustomChart::ScaledAxes()
{
    return {TopAxis(), BottomAxis(), LeftAxis(), RightAxis()};
}

void TCustomChart::SaveScales()
{
    if (!FScalesRestored)
        return;
    const std::vector<TCustomChartAxis*> axes = ScaledAxes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TCustomChartAxis& a = *axes[i];
        FSavedScales[i] = {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(), a.Maximum()};
    }
    FScalesRestored = false;
}

void TCustomChart::ResetZoom()
{
    if (!FScalesRestored) {
        const std::vector<TCustomChartAxis*> axes = ScaledAxes();
        for (std::size_t i = 0; i < axes.size(); ++i) {
            TCustomChartAxis& a = *axes[i];
            const TAxisScaleRecord& s = FSavedScales[i];
            a.SetAutomatic(s.Automatic);
            a.SetAutomaticMinimum(s.AutomaticMinimum);
            a.SetAutomaticMaximum(s.AutomaticMaximum);
            if (!a.Automatic()) {
                // In the order that never puts the minimum above the maximum on the way.
                if (s.Minimum > a.Maximum()) {
                    a.SetMaximum(s.Maximum);
                    a.SetMinimum(s.Minimum);
                } else {
                    a.SetMinimum(s.Minimum);
                    a.SetMaximum(s.Maximum);
                }
            }
        }
        FScalesRestored = true;
    }
    if (OnUndoZoom)
        OnUndoZoom(this);
    Invalidate();
    FZoomed = false;
}

void TCustomChart::ZoomToRectangle()
{
    TZoomPanningRecord& r = ZoomRecord();
    r.Normalize();
    SaveScales();
    for (TCustomChartAxis* axis : {LeftAxis(), RightAxis()})
        axis->SetLimits(axis->PixelToValue(r.EndY), axis->PixelToValue(r.StartY));
    for (TCustomChartAxis* axis : {TopAxis(), BottomAxis()})
        axis->SetLimits(axis->PixelToValue(r.StartX), axis->PixelToValue(r.EndX));
    FZoomed = true;
    if (OnZoom)
        OnZoom(this);
}

bool TCustomChart::ScrollAxis(TCustomChartAxis& Axis, int From, int To)
{
    const double d = Axis.PixelToValue(From) - Axis.PixelToValue(To);
    double lo = Axis.Minimum() + d;
    double hi = Axis.Maximum() + d;
    bool allow = true;
    if (OnAllowScroll)
        OnAllowScroll(&Axis, lo, hi, allow);
    if (allow)
        Axis.SetLimits(lo, hi);
    return allow;
}

void TCustomChart::DrawZoomRectangle()
{
    const TZoomPanningRecord& r = ZoomRecord();
    TTeeCanvas3D* canvas = Canvas();
    const TColor panel = ColorToRGB(Color());
    TPen& pen = *canvas->Pen();
    pen.SetColor(panel == clWhite ? clBlack : panel);
    pen.SetMode(pmNotXor);
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(r.StartX, r.StartY, r.EndX, r.EndY);
    pen.SetMode(pmCopy);
}

void TCustomChart::ToggleZoomRectangle()
{
    // Between paints the window shows the stored image: the rectangle goes onto it, and the
    // window is asked to show it again as it is (the chart is not drawn anew). A paint while
    // the drag runs draws the rectangle at the same corners, so the next toggle erases it.
    TTeeCanvas3D* canvas = Canvas();
    const TBitmap* image = canvas->Bitmap();
    if (!image || !canvas->Buffered()) {
        // Nothing stored to draw on: the next paint shows the drag as it stands.
        Invalidate();
        return;
    }
    canvas->SetCanvas(image->Canvas());
    DrawZoomRectangle();
    canvas->SetCanvas(nullptr);
    TWinControl::Invalidate();
}
