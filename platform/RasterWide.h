#pragma once
// Exists because a pen wider than one pixel is a geometric pen on the classic platform: the
// chart's 2-pixel line must sit on the pixels it would light there, and a w x w square stepped
// along the line does not (it leans half a pixel towards the top left on slanted stretches).
// This file says which pixels such a pen covers; platform/Raster.cpp writes them.
//
// Rules (pixel centres lie on the integer coordinates, as the points of a line do):
// - A segment A -> B (A != B) covers its band: the pixel centres p within w/2 of the segment,
//   that is with |t| <= w L / 2 and 0 <= s <= L^2, where d = B - A, L = |d|,
//   t = (p - A) x d and s = (p - A) . d.
// - A centre on the band's boundary counts when a point moved from it a little to the right
//   (and, on a horizontal boundary, a little down) lies inside: the top-left rule. So a
//   2-pixel line on y = 50 covers rows 49 and 50, a steep one through x = 1.5 the columns 1
//   and 2.
// - Every end of a segment carries a disk: the pixels of the w x w box whose columns and rows
//   run from c - w/2 to c - w/2 + w - 1 around the vertex c, whose centres lie inside the circle
//   inscribed in the box. For w = 2 it is the 2 x 2 square, for w = 3 the 3 x 3 one; from 4 up
//   its corners are cut. No centre ever lies on that circle, so it needs no boundary rule.
// - A line or polyline covers the union of its bands and disks; the caller writes each pixel
//   of that union once.
// Exact for every segment within the device space (ends within +-2^27) and widths up to 2^20:
// distances are compared in integers, squared to 128 bits where they must be.
//
// Threading: pure functions; no shared state.

#include "platform/Types.h"

#include <array>
#include <cstdint>

namespace platform::raster {

// Receives the covered pixels a line at a time: on the row (or column) Line, the columns (or
// rows) Lo..Hi-1. Every span lies inside the clip it was asked for and is not empty.
class TSpanSink {
public:
    virtual void Span(int Line, int Lo, int Hi) = 0;

protected:
    ~TSpanSink() = default;
};

// The band of A -> B (nothing when A == B) within Clip, as rows, or as columns when Columns.
void BandSpans(TPoint A, TPoint B, int Width, const TRect& Clip, bool Columns, TSpanSink& Sink);

// A pen's disk, its shape worked out once for all the vertices of a call.
class TDisk {
public:
    explicit TDisk(int Width);
    // The disk at V within Clip, as rows, or as columns when Columns.
    void Spans(TPoint V, const TRect& Clip, bool Columns, TSpanSink& Sink) const;

private:
    static constexpr int kKnown = 16;
    int FWidth;
    // How far each line of the box reaches either way from its middle, in half pixels, for
    // widths up to kKnown.
    std::array<int, kKnown> FReach{};
};

} // namespace platform::raster
