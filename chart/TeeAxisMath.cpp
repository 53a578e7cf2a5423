#include "chart/TeeAxisMath.h"

#include <climits>
#include <cmath>

namespace axismath {

namespace {

using ext = long double; // the extended precision of intermediate results

constexpr double kMinStep = 1e-12;
constexpr double kIntGuard = 2147483647.0;
constexpr double kMaxLabels = 10000.0;
// Where pixel offsets computed in doubles are trusted to round as the extended ones do.
constexpr double kQuickBound = 2e9;
constexpr double kHalfMargin = 1e-5;

int RoundExt(ext X)
{
    if (std::isnan(X))
        return 0;
    if (X >= ext(INT_MAX))
        return INT_MAX;
    if (X <= ext(INT_MIN))
        return INT_MIN;
    return static_cast<int>(std::nearbyint(X));
}

// Round for |X| below the integer guard: adding and taking away 1.5 * 2^52 leaves the nearest
// integer, halves to even, as the processor rounds; much cheaper than a library call on the
// path that converts every point.
long long RoundGuarded(double X)
{
    constexpr double kMagic = 6755399441055744.0;
    return static_cast<long long>((X + kMagic) - kMagic);
}

} // namespace

int Round(double X)
{
    return RoundExt(X);
}

double NextIncrementStep(double X)
{
    if (!(X > 0) || std::isinf(X))
        return X;
    if (X >= 10)
        return static_cast<double>(10 * ext(NextIncrementStep(static_cast<double>(X * ext(0.1)))));
    if (X < 1)
        return static_cast<double>(ext(0.1) * NextIncrementStep(static_cast<double>(X * ext(10))));
    if (X < 2)
        return 2;
    if (X < 5)
        return 5;
    return 10;
}

int MaxLabelCount(int AxisLength, int LabelSize, int SeparationPercent)
{
    if (LabelSize <= 0)
        return 1;
    const int gap = SeparationPercent > 0 ? RoundExt(SeparationPercent * ext(0.01) * LabelSize) : 0;
    return RoundExt(ext(AxisLength) / (ext(LabelSize) + gap));
}

double IncrementForLabels(double Range, int MaxLabels, double Wished, int SeparationPercent)
{
    if (MaxLabels < 1)
        return kMinStep;
    double c = Wished > 0 ? Wished : (std::fabs(Range) >= 1 ? 1.0 : kMinStep);
    if (SeparationPercent > 0) {
        int k = MaxLabels + 1;
        // A step that has grown beyond every finite value cannot fit better: an infinite or
        // undefined range would otherwise keep the search going for ever.
        while (k > MaxLabels && std::isfinite(c)) {
            const double q = static_cast<double>(ext(Range) / c);
            if (std::fabs(q) < kIntGuard) {
                k = RoundExt(q);
                if (k > MaxLabels)
                    c = NextIncrementStep(c);
            } else {
                c = NextIncrementStep(c);
            }
        }
    }
    return c > kMinStep ? c : kMinStep;
}

std::vector<double> LabelValues(double RangeMin, double RangeMax, double Increment, bool RoundFirstLabel)
{
    std::vector<double> values;
    if (!(Increment > 0) || !(RangeMax >= RangeMin))
        return values;
    if (std::fabs(static_cast<double>((ext(RangeMax) - RangeMin) / Increment)) >= kMaxLabels)
        return values;
    double v = RangeMax;
    if (RangeMin != RangeMax && RoundFirstLabel)
        v = static_cast<double>(std::trunc(static_cast<double>(ext(RangeMax) / Increment)) * ext(Increment));
    while (v > RangeMax)
        v -= Increment;
    if (RangeMin == RangeMax) {
        // Stepping down by the tiny fallback step would only repeat this label at the same
        // pixel (or, where the step is lost in the value's precision, never end).
        values.push_back(v);
        return values;
    }
    const double limit = static_cast<double>((ext(RangeMin) - kMinStep) / ext(1.000000000001));
    while (v >= limit) {
        values.push_back(v);
        const double next = v - Increment;
        if (next == v)
            break; // the step is below the value's precision: no further label can differ
        v = next;
    }
    return values;
}

void TAxisScale::SetValues(double Min, double Max)
{
    FRangeMin = Min;
    FRangeMax = Max;
    FRange = Max - Min;
    UpdatePixelsPerValue();
}

void TAxisScale::SetPixels(int Start, int End)
{
    FStartPixel = Start;
    FEndPixel = End;
    FAxisLength = End - Start;
    FCenterPixel = (Start + End) / 2;
    UpdatePixelsPerValue();
}

void TAxisScale::UpdatePixelsPerValue()
{
    FPixelsPerValue = FRange == 0 ? 0 : FAxisLength / FRange;
}

int TAxisScale::ValueToPixel(double Value) const
{
    if (FRange == 0)
        return FCenterPixel;
    // The offset computed in doubles differs from the extended one by less than 1e-6 below
    // the bound, so it rounds to the same pixel unless a half pixel lies that close: only then
    // (and near the guard, or for undefined values) is the slower extended division needed.
    // (Three roundings of 2^-53 each, the factor's included.)
    const double quick = (Value - FRangeMin) * FPixelsPerValue;
    long long r = std::fabs(quick) < kQuickBound ? RoundGuarded(quick) : 0;
    if (!(std::fabs(quick) < kQuickBound && std::fabs(quick - double(r)) < 0.5 - kHalfMargin)) {
        const double t = static_cast<double>((ext(Value) - FRangeMin) * FAxisLength / FRange);
        // An undefined offset has no place on the axis either.
        if (!(std::fabs(t) < kIntGuard))
            return FCenterPixel;
        r = RoundGuarded(t);
    }
    const bool fromStart = FHorizontal != FInverted;
    const long long p = fromStart ? FStartPixel + r : FEndPixel - r;
    return p > INT_MAX ? INT_MAX : (p < INT_MIN ? INT_MIN : static_cast<int>(p));
}

double TAxisScale::PixelToValue(int Pixel) const
{
    if (FAxisLength < 1)
        return 0;
    const double d = FInverted ? double(FEndPixel) - Pixel : double(Pixel) - FStartPixel;
    const double t = static_cast<double>(ext(d) * FRange / FAxisLength);
    return FHorizontal ? FRangeMin + t : FRangeMax - t;
}

TPixelSpan AxisPixelSpan(int Origin, int Size, double StartPercent, double EndPercent)
{
    return {Origin + RoundExt(Size * ext(0.01) * StartPercent), Origin + RoundExt(Size * ext(0.01) * EndPercent)};
}

std::vector<int> MinorTickPositions(const std::vector<int>& Major, int Count, int Start, int End)
{
    std::vector<int> out;
    if (Major.empty() || Count < 1)
        return out;
    const auto keep = [&](ext place) {
        const int p = RoundExt(place);
        if (Start < p && p < End)
            out.push_back(p);
    };
    const auto stepOf = [Count](int from, int to) {
        return static_cast<double>(ext(to - from) / (Count + 1));
    };
    if (Major.size() >= 2) {
        const double q = stepOf(Major[0], Major[1]);
        for (int j = 1; j <= Count; ++j) {
            keep(Major.front() - ext(RoundExt(j * ext(q))));
            keep(Major.back() + ext(RoundExt(j * ext(q))));
        }
    }
    for (std::size_t k = 1; k < Major.size(); ++k) {
        const double q = stepOf(Major[k - 1], Major[k]);
        for (int j = 1; j <= Count; ++j)
            keep(Major[k] - ext(RoundExt(j * ext(q))));
    }
    return out;
}

std::vector<int> CenteredGridPositions(const std::vector<int>& Major)
{
    std::vector<int> out;
    for (std::size_t k = 1; k < Major.size(); ++k)
        out.push_back(RoundExt((ext(Major[k]) + Major[k - 1]) * ext(0.5)));
    return out;
}

} // namespace axismath
