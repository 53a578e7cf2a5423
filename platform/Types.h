#pragma once
// Points and rectangles in pixels: x grows to the right, y downwards; Right and Bottom lie
// just outside the area they bound.

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int X, int Y) { return {X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }

namespace platform {

// Integer Number * Numerator / Denominator rounded half away from zero, computed in 64 bits;
// -1 when Denominator is 0 or the result does not fit (the classic platform's answer). Font
// sizes and the chart's margins scale through it.
int MulDiv(int Number, int Numerator, int Denominator);

} // namespace platform
