// The geometric pen's pixels, solved a line at a time (why and rules: RasterWide.h).
#include "platform/RasterWide.h"

#include <algorithm>
#include <cmath>
#include <compare>
#include <cstdlib>
#include <utility>

namespace platform::raster {
namespace {

using i64 = std::int64_t;

// Pens beyond this width cover any image there is.
constexpr int kWidest = 1 << 20;

// Squared distances of far segments need more than 64 bits.
struct TU128 {
    std::uint64_t Hi = 0;
    std::uint64_t Lo = 0;
    friend auto operator<=>(const TU128&, const TU128&) = default;
};

TU128 Mul(std::uint64_t A, std::uint64_t B)
{
    const std::uint64_t a0 = A & 0xFFFFFFFFu, a1 = A >> 32, b0 = B & 0xFFFFFFFFu, b1 = B >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xFFFFFFFFu)};
}

// One segment's band solved for the span axis: along each line, t = TA k + TC p and
// s = SA k + SC p, where k counts along the span axis from A and p along the lines, both
// turned so that TA, SA >= 0 (the sides of the bounds follow the turn).
struct TBand {
    i64 L2;     // |B - A|^2
    TU128 W2L2; // w^2 L^2, that is (2R)^2
    double R;   // w L / 2, for estimates only
    i64 TA, TC, SA, SC;
    bool TLoOpen, THiOpen, SLoOpen, SHiOpen;
    i64 SLo, SHi; // the bounds of s after the turn
    double InvTA, Tolerance; // for estimates of the t bounds
    double InvSA;            // for estimates of the s bounds
};

// The largest integer not above V, for V well within 64 bits (the library call costs more than
// the rest of a line's work).
i64 Floor(double V)
{
    const i64 f = i64(V);
    return double(f) > V ? f - 1 : f;
}

// Whether M >= Sign * R (M > Sign * R when Strict), exactly.
bool Reaches(const TBand& Band, i64 M, int Sign, bool Strict)
{
    const std::uint64_t twice = 2 * std::uint64_t(M < 0 ? -M : M);
    const TU128 m2 = Mul(twice, twice);
    if (Sign > 0)
        return M > 0 && (Strict ? m2 > Band.W2L2 : m2 >= Band.W2L2);
    return M >= 0 || (Strict ? m2 < Band.W2L2 : m2 <= Band.W2L2);
}

// The first k in [KLo, KHi] with TA k + B >= Sign * R (> when Strict), KHi when there is none
// before it; TA > 0. A floating estimate decides unless it lies too near an integer to trust.
i64 FirstReaching(const TBand& Band, i64 B, int Sign, bool Strict, i64 KLo, i64 KHi)
{
    const double v = (Sign * Band.R - double(B)) * Band.InvTA;
    const double tolerance = Band.Tolerance;
    if (v + tolerance < double(KLo))
        return KLo;
    if (v - tolerance > double(KHi))
        return KHi;
    const auto reaches = [&](i64 K) { return Reaches(Band, Band.TA * K + B, Sign, Strict); };
    if (tolerance < 0.25) {
        const i64 whole = Floor(v);
        if (v - double(whole) > tolerance && double(whole) + 1 - v > tolerance)
            return std::clamp(whole + 1, KLo, KHi);
        // Within a few of the estimate, and no k below the start reaches.
        i64 k = std::max(KLo, Floor(v - tolerance));
        while (k < KHi && !reaches(k))
            ++k;
        return k;
    }
    // Ends far outside the device's few thousand pixels: search with the exact rule alone.
    while (KLo < KHi) {
        const i64 mid = KLo + (KHi - KLo) / 2;
        if (reaches(mid))
            KHi = mid;
        else
            KLo = mid + 1;
    }
    return KLo;
}

// The first k in [KLo, KHi] with SA k + B >= T (> when Strict), KHi when there is none before
// it; SA > 0. Estimated, then put right exactly: integer division is slow.
i64 FirstAtLeast(const TBand& Band, i64 B, i64 T, bool Strict, i64 KLo, i64 KHi)
{
    const i64 n = T - B;
    const double v = double(n) * Band.InvSA;
    if (v < double(KLo) - 2)
        return KLo;
    if (v > double(KHi) + 2)
        return KHi;
    const auto reaches = [&](i64 K) { return Strict ? Band.SA * K > n : Band.SA * K >= n; };
    i64 k = Floor(v);
    while (!reaches(k))
        ++k;
    while (reaches(k - 1))
        --k;
    return std::clamp(k, KLo, KHi);
}

// Narrows [KLo, KHi) to the k whose t lies within -R..R on line p.
void NarrowByT(const TBand& Band, i64 P, i64& KLo, i64& KHi)
{
    const i64 b = Band.TC * P;
    if (Band.TA == 0) {
        if (!Reaches(Band, b, -1, Band.TLoOpen) || Reaches(Band, b, +1, !Band.THiOpen))
            KHi = KLo;
        return;
    }
    const i64 lo = FirstReaching(Band, b, -1, Band.TLoOpen, KLo, KHi);
    KHi = FirstReaching(Band, b, +1, !Band.THiOpen, KLo, KHi);
    KLo = lo;
}

// Narrows [KLo, KHi) to the k whose s lies within 0..L^2 on line p.
void NarrowByS(const TBand& Band, i64 P, i64& KLo, i64& KHi)
{
    const i64 b = Band.SC * P;
    if (Band.SA == 0) {
        if ((Band.SLoOpen ? b <= Band.SLo : b < Band.SLo) ||
            (Band.SHiOpen ? b >= Band.SHi : b > Band.SHi))
            KHi = KLo;
        return;
    }
    const i64 first = FirstAtLeast(Band, b, Band.SLo, Band.SLoOpen, KLo, KHi);
    KHi = FirstAtLeast(Band, b, Band.SHi, !Band.SHiOpen, KLo, KHi);
    KLo = first;
}

i64 ISqrt(i64 N)
{
    i64 s = i64(std::sqrt(double(N)));
    while (s * s > N)
        --s;
    while ((s + 1) * (s + 1) <= N)
        ++s;
    return s;
}

// How far line Line (0..W-1) of a disk's box reaches either way from the box's middle, in
// half pixels: twice a centre's offset from the middle is u on this line and v = 2j - W + 1 at
// the j-th pixel across, inside the circle when u^2 + v^2 < W^2.
i64 DiskReach(i64 W, i64 Line)
{
    const i64 u = 2 * Line - W + 1;
    return ISqrt(W * W - u * u - 1);
}

} // namespace

void BandSpans(TPoint A, TPoint B, int Width, const TRect& Clip, bool Columns, TSpanSink& Sink)
{
    if (A == B || Clip.Left >= Clip.Right || Clip.Top >= Clip.Bottom)
        return;
    const i64 w = std::clamp(Width, 1, kWidest);
    const i64 dx = i64(B.X) - A.X, dy = i64(B.Y) - A.Y;
    TBand band;
    band.L2 = dx * dx + dy * dy;
    band.W2L2 = Mul(std::uint64_t(w * w), std::uint64_t(band.L2));
    const double length = std::sqrt(double(band.L2));
    band.R = 0.5 * double(w) * length;
    // The top-left rule: a side is closed where moving right (or down, when moving right does
    // not change it) goes into the band.
    const bool tGrows = dy > 0 || (dy == 0 && dx < 0);
    const bool sGrows = dx > 0 || (dx == 0 && dy > 0);
    band.TA = Columns ? -dx : dy, band.TC = Columns ? dy : -dx;
    band.TLoOpen = !tGrows, band.THiOpen = tGrows;
    if (band.TA < 0) {
        band.TA = -band.TA, band.TC = -band.TC;
        std::swap(band.TLoOpen, band.THiOpen);
    }
    band.SA = Columns ? dy : dx, band.SC = Columns ? dx : dy;
    band.SLoOpen = !sGrows, band.SHiOpen = sGrows;
    band.SLo = 0, band.SHi = band.L2;
    if (band.SA < 0) {
        band.SA = -band.SA, band.SC = -band.SC;
        std::swap(band.SLoOpen, band.SHiOpen);
        band.SLo = -band.L2, band.SHi = 0;
    }
    band.InvSA = band.SA != 0 ? 1.0 / double(band.SA) : 0.0;

    // Lines P across the span axis Q; the band reaches w/2 |dq| / L beyond the segment's ends
    // along the lines (a hair more, for rounding).
    const i64 ap = Columns ? A.X : A.Y, aq = Columns ? A.Y : A.X;
    const i64 bp = Columns ? B.X : B.Y, dq = Columns ? dy : dx;
    const i64 pMin = std::min(ap, bp), pMax = std::max(ap, bp);
    const double beyond = 0.5 * double(w) * double(std::abs(dq)) / length;
    const i64 reach = i64(beyond * (1 + 0x1p-30) + 0x1p-30);
    const i64 clipP0 = Columns ? Clip.Left : Clip.Top, clipP1 = Columns ? Clip.Right : Clip.Bottom;
    const i64 clipQ0 = Columns ? Clip.Top : Clip.Left, clipQ1 = Columns ? Clip.Bottom : Clip.Right;
    const i64 first = std::max(clipP0, pMin - reach), last = std::min(clipP1 - 1, pMax + reach);
    if (band.TA != 0) {
        // Rounding of the estimates grows with the values involved.
        const double most = std::max(std::abs(first - ap), std::abs(last - ap));
        band.InvTA = 1.0 / double(band.TA);
        band.Tolerance =
            (band.R + most * std::abs(double(band.TC))) * band.InvTA * 0x1p-47 + 0x1p-40;
    }
    // Lines further than w/2 from both ends, between them, see only centres with 0 < s < L^2.
    const i64 clear = w / 2 + 1;
    for (i64 P = first; P <= last; ++P) {
        i64 lo = clipQ0 - aq, hi = clipQ1 - aq;
        NarrowByT(band, P - ap, lo, hi);
        if (lo < hi && !(P - pMin > clear && pMax - P > clear))
            NarrowByS(band, P - ap, lo, hi);
        if (lo < hi)
            Sink.Span(int(P), int(aq + lo), int(aq + hi));
    }
}

TDisk::TDisk(int Width) : FWidth(std::clamp(Width, 1, kWidest))
{
    if (FWidth <= kKnown)
        for (int line = 0; line < FWidth; ++line)
            FReach[std::size_t(line)] = int(DiskReach(FWidth, line));
}

void TDisk::Spans(TPoint V, const TRect& Clip, bool Columns, TSpanSink& Sink) const
{
    const i64 w = FWidth;
    const i64 first = i64(Columns ? V.X : V.Y) - w / 2; // the box's first line
    const i64 across = i64(Columns ? V.Y : V.X) - w / 2;
    const i64 clipP0 = Columns ? Clip.Left : Clip.Top, clipP1 = Columns ? Clip.Right : Clip.Bottom;
    const i64 clipQ0 = Columns ? Clip.Top : Clip.Left, clipQ1 = Columns ? Clip.Bottom : Clip.Right;
    for (i64 P = std::max(first, clipP0); P <= std::min(first + w - 1, clipP1 - 1); ++P) {
        const i64 line = P - first;
        const i64 s = w <= kKnown ? FReach[std::size_t(line)] : DiskReach(w, line);
        const i64 lo = std::max(across + (w - s) / 2, clipQ0);
        const i64 hi = std::min(across + (w - 1 + s) / 2 + 1, clipQ1);
        if (lo < hi)
            Sink.Span(int(P), int(lo), int(hi));
    }
}

} // namespace platform::raster
