// Our own stepping of lines and plain fills straight into 32-bit pixels (why: Raster.h).
#include "platform/Raster.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace platform::raster {
namespace {

constexpr std::int64_t kCoordinateLimit = std::int64_t(1) << 27;

std::int64_t FloorDiv(std::int64_t A, std::int64_t B) // B > 0
{
    std::int64_t q = A / B;
    if (A % B != 0 && A < 0)
        --q;
    return q;
}

std::int64_t CeilDiv(std::int64_t A, std::int64_t B) { return -FloorDiv(-A, B); }

template <TPenMode Mode>
inline void Put(std::uint32_t& Dest, std::uint32_t Pixel)
{
    if constexpr (Mode == TPenMode::Copy)
        Dest = Pixel;
    else if constexpr (Mode == TPenMode::Xor)
        Dest ^= Pixel & 0x00FFFFFFu;
    else if constexpr (Mode == TPenMode::NotXor)
        Dest = 0xFF000000u | (~(Dest ^ Pixel) & 0x00FFFFFFu);
    else
        Dest = 0xFF000000u | (~Dest & 0x00FFFFFFu);
}

// A line in major/minor terms: step i (0 <= i < N) lights major M0 + SM * i and minor
// m0 + Sm * k(i), with k(i) = floor((2 * i * Am + Bias) / (2 * N)).
struct TLine {
    bool XMajor;
    std::int64_t N, Am, Bias;
    std::int64_t M0, m0;
    int SM, Sm;
    std::ptrdiff_t MajorStride, MinorStride; // pointer step per +1 on each axis
    std::int64_t ClipM0, ClipM1, Clipm0, Clipm1; // half-open ranges on each axis
};

// Keeps the minor offset k(j) of a step j as j advances one step at a time.
struct TTracker {
    std::int64_t K, R;
    void Start(const TLine& L, std::int64_t J)
    {
        const std::int64_t num = 2 * J * L.Am + L.Bias;
        K = num / (2 * L.N);
        R = num % (2 * L.N);
    }
    void Step(const TLine& L)
    {
        R += 2 * L.Am;
        if (R >= 2 * L.N) {
            R -= 2 * L.N;
            ++K;
        }
    }
};

template <TPenMode Mode, bool Dashed>
void ThinRun(const TSurface& S, const TLine& L, const TStroke& K, std::int64_t First,
             std::int64_t Last, long StylePos)
{
    TTracker t;
    t.Start(L, First);
    const std::int64_t major = L.M0 + L.SM * First;
    const std::int64_t minor = L.m0 + L.Sm * t.K;
    std::uint32_t* p = S.Bits + major * L.MajorStride + minor * L.MinorStride;
    const std::ptrdiff_t majorStep = L.SM * L.MajorStride;
    const std::ptrdiff_t minorStep = L.Sm * L.MinorStride;
    const std::int64_t twoAm = 2 * L.Am, twoN = 2 * L.N;
    std::int64_t r = t.R;
    int phase = 0;
    std::uint32_t mask = 0;
    if constexpr (Dashed) {
        mask = K.Dashes->Mask;
        phase = int((StylePos + First) % K.Dashes->Period);
    }
    for (std::int64_t i = First; i <= Last; ++i) {
        if constexpr (Dashed) {
            if (mask >> phase & 1u)
                Put<Mode>(*p, K.Pixel);
            else if (K.OpaqueGaps)
                Put<Mode>(*p, K.GapPixel);
            if (++phase == K.Dashes->Period)
                phase = 0;
        } else {
            Put<Mode>(*p, K.Pixel);
        }
        p += majorStep;
        r += twoAm;
        if (r >= twoN) {
            r -= twoN;
            p += minorStep;
        }
    }
}

// Wide pens: at each stepped major coordinate, one span across the minor axis covering the
// squares of every step that reaches this major coordinate.
template <TPenMode Mode>
void WideRun(const TSurface& S, const TLine& L, const TStroke& K, std::int64_t First,
             std::int64_t Last)
{
    const int w = K.Width;
    const int lo = w / 2;
    // Steps j whose square covers the major coordinate of step i: i - Behind .. i + Ahead.
    const std::int64_t behind = L.SM > 0 ? w - 1 - lo : lo;
    const std::int64_t ahead = L.SM > 0 ? lo : w - 1 - lo;
    TTracker low, high;
    std::int64_t jLow = std::max<std::int64_t>(0, First - behind);
    std::int64_t jHigh = std::min<std::int64_t>(L.N - 1, First + ahead);
    low.Start(L, jLow);
    high.Start(L, jHigh);
    std::int64_t major = L.M0 + L.SM * First;
    for (std::int64_t i = First; i <= Last; ++i) {
        std::int64_t s0, s1;
        if (L.Sm > 0) {
            s0 = L.m0 + low.K - lo;
            s1 = L.m0 + high.K - lo + w - 1;
        } else {
            s0 = L.m0 - high.K - lo;
            s1 = L.m0 - low.K - lo + w - 1;
        }
        s0 = std::max(s0, L.Clipm0);
        s1 = std::min(s1, L.Clipm1 - 1);
        if (s0 <= s1) {
            std::uint32_t* p = S.Bits + major * L.MajorStride + s0 * L.MinorStride;
            for (std::int64_t s = s0; s <= s1; ++s, p += L.MinorStride)
                Put<Mode>(*p, K.Pixel);
        }
        major += L.SM;
        if (i + 1 - behind > jLow) {
            ++jLow;
            low.Step(L);
        }
        if (jHigh < L.N - 1) {
            ++jHigh;
            high.Step(L);
        }
    }
}

template <TPenMode Mode>
void Run(const TSurface& S, const TLine& L, const TStroke& K, std::int64_t First,
         std::int64_t Last, long StylePos)
{
    if (K.Width > 1)
        WideRun<Mode>(S, L, K, First, Last);
    else if (K.Dashes)
        ThinRun<Mode, true>(S, L, K, First, Last, StylePos);
    else
        ThinRun<Mode, false>(S, L, K, First, Last, StylePos);
}

// Walks the runs of a line: run k holds the steps whose minor offset is k, and a w-pixel pen
// covers with it the w x w squares of those steps, kept within the major range of all steps.
// F gets the first minor coordinate of the run's squares and its major range (inclusive).
template <typename F>
void ForEachRun(const TLine& L, int Width, F&& Visit)
{
    const int lo = Width / 2;
    const std::int64_t majorLast = L.M0 + L.SM * (L.N - 1);
    const std::int64_t majorMin = std::min(L.M0, majorLast);
    const std::int64_t majorMax = std::max(L.M0, majorLast);
    std::int64_t first = 0;
    for (std::int64_t k = 0; k <= L.Am && first < L.N; ++k) {
        const std::int64_t last =
            L.Am == 0 ? L.N - 1
                      : std::min(L.N - 1, (2 * L.N * (k + 1) - L.Bias - 1) / (2 * L.Am));
        if (last < first)
            continue;
        const std::int64_t a = L.M0 + L.SM * first, b = L.M0 + L.SM * last;
        Visit(L.m0 + L.Sm * k - lo, std::max(std::min(a, b) - lo, majorMin),
              std::min(std::max(a, b) - lo + Width - 1, majorMax));
        first = last + 1;
    }
}

// A solid Copy-mode line wholly inside the clip, written run by run with no stepping per
// pixel. Neighbouring runs overlap by w - 1 pixels, which only Copy mode can afford.
void RunFill(const TSurface& S, const TLine& L, int Width, std::uint32_t Pixel)
{
    ForEachRun(L, Width, [&](std::int64_t Minor, std::int64_t MajorLo, std::int64_t MajorHi) {
        for (int c = 0; c < Width; ++c) {
            std::uint32_t* p = S.Bits + (Minor + c) * L.MinorStride + MajorLo * L.MajorStride;
            for (std::int64_t m = MajorLo; m <= MajorHi; ++m, p += L.MajorStride)
                *p = Pixel;
        }
    });
}

// Runs are worth it when they are a few pixels long on average.
bool LongRuns(const TLine& L) { return L.N >= 4 * (L.Am + 1); }

constexpr TDashPattern Pattern(std::initializer_list<int> Runs)
{
    TDashPattern p;
    int pos = 0;
    bool on = true;
    for (int run : Runs) {
        for (int u = 0; u < run; ++u, ++pos)
            if (on)
                p.Mask |= 1u << pos;
        on = !on;
    }
    p.Period = pos;
    return p;
}

constexpr TDashPattern kDash = Pattern({18, 6});
constexpr TDashPattern kDot = Pattern({3, 3});
constexpr TDashPattern kDashDot = Pattern({9, 6, 3, 6});
constexpr TDashPattern kDashDotDot = Pattern({9, 3, 3, 3, 3, 3});
constexpr TDashPattern kAlternate = Pattern({1, 1});
constexpr TDashPattern kSolid = Pattern({1});

} // namespace

const TDashPattern& DashPattern(TPenStyle Style)
{
    switch (Style) {
    case TPenStyle::Dash: return kDash;
    case TPenStyle::Dot: return kDot;
    case TPenStyle::DashDot: return kDashDot;
    case TPenStyle::DashDotDot: return kDashDotDot;
    case TPenStyle::Alternate: return kAlternate;
    default: return kSolid;
    }
}

TRect Intersect(const TRect& A, const TRect& B)
{
    TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (r.Left >= r.Right || r.Top >= r.Bottom)
        return {};
    return r;
}

namespace {

// The line From -> To in major/minor terms on S; false for a line of no steps.
bool MakeLine(const TSurface& S, TPoint From, TPoint To, TLine& L)
{
    const std::int64_t dx = std::int64_t(To.X) - From.X;
    const std::int64_t dy = std::int64_t(To.Y) - From.Y;
    const std::int64_t adx = std::abs(dx), ady = std::abs(dy);
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady;
    if (n == 0)
        return false;
    L.N = n;
    L.XMajor = xMajor;
    if (xMajor) {
        L.Am = ady;
        L.M0 = From.X;
        L.m0 = From.Y;
        L.SM = dx > 0 ? 1 : -1;
        L.Sm = dy >= 0 ? 1 : -1;
        L.MajorStride = 1;
        L.MinorStride = S.Stride;
        L.ClipM0 = S.Clip.Left;
        L.ClipM1 = S.Clip.Right;
        L.Clipm0 = S.Clip.Top;
        L.Clipm1 = S.Clip.Bottom;
    } else {
        L.Am = adx;
        L.M0 = From.Y;
        L.m0 = From.X;
        L.SM = dy > 0 ? 1 : -1;
        L.Sm = dx >= 0 ? 1 : -1;
        L.MajorStride = S.Stride;
        L.MinorStride = 1;
        L.ClipM0 = S.Clip.Top;
        L.ClipM1 = S.Clip.Bottom;
        L.Clipm0 = S.Clip.Left;
        L.Clipm1 = S.Clip.Right;
    }
    // Halves round towards the smaller minor coordinate.
    L.Bias = L.Sm > 0 ? n - 1 : n;
    return true;
}

// Whether every pixel of the line, a w-pixel pen included, lies inside the clip.
bool Inside(const TLine& L, int Width)
{
    const std::int64_t minorLast = L.m0 + L.Sm * L.Am;
    const std::int64_t majorLast = L.M0 + L.SM * (L.N - 1);
    return std::min(L.M0, majorLast) >= L.ClipM0 && std::max(L.M0, majorLast) < L.ClipM1 &&
           std::min(L.m0, minorLast) - Width >= L.Clipm0 &&
           std::max(L.m0, minorLast) + Width < L.Clipm1;
}

} // namespace

long DrawLine(const TSurface& S, const TStroke& K, TPoint From, TPoint To, long StylePos)
{
    TLine L;
    if (!MakeLine(S, From, To, L))
        return StylePos;
    const std::int64_t n = L.N;
    const long endPos = StylePos + long(n);
    for (int c : {From.X, From.Y, To.X, To.Y})
        if (c < -kCoordinateLimit || c > kCoordinateLimit)
            return endPos;
    if (!S.Bits || S.Clip.Left >= S.Clip.Right || S.Clip.Top >= S.Clip.Bottom)
        return endPos;

    const int w = std::max(1, K.Width);
    const bool solid = w > 1 || !K.Dashes;
    std::int64_t first = 0, last = n - 1;
    // Whole segment, pen included, inside the clip: no clipping arithmetic at all.
    const bool inside = Inside(L, w);
    if (inside && solid && K.Mode == TPenMode::Copy && LongRuns(L)) {
        RunFill(S, L, w, K.Pixel);
        return endPos;
    }
    if (!inside) {
        // Steps whose major coordinate lies in the clip.
        if (L.SM > 0) {
            first = std::max(first, L.ClipM0 - L.M0);
            last = std::min(last, L.ClipM1 - 1 - L.M0);
        } else {
            first = std::max(first, L.M0 - (L.ClipM1 - 1));
            last = std::min(last, L.M0 - L.ClipM0);
        }
        // Steps whose minor coordinate lies in the clip: exact for thin pens; wide pens keep a
        // margin and trim each span instead.
        const std::int64_t margin = w == 1 ? 0 : 2 * std::int64_t(w);
        const std::int64_t low = L.Clipm0 - margin, high = L.Clipm1 - 1 + margin;
        std::int64_t kLow = L.Sm > 0 ? low - L.m0 : L.m0 - high;
        std::int64_t kHigh = L.Sm > 0 ? high - L.m0 : L.m0 - low;
        kLow = std::max<std::int64_t>(kLow, 0);
        kHigh = std::min<std::int64_t>(kHigh, L.Am);
        if (kLow > kHigh)
            return endPos;
        if (L.Am > 0) {
            first = std::max(first, CeilDiv(2 * n * kLow - L.Bias, 2 * L.Am));
            last = std::min(last, FloorDiv(2 * n * (kHigh + 1) - L.Bias - 1, 2 * L.Am));
        }
        if (first > last)
            return endPos;
    }

    TStroke stroke = K;
    stroke.Width = w;
    if (w > 1)
        stroke.Dashes = nullptr;
    switch (K.Mode) {
    case TPenMode::Copy: Run<TPenMode::Copy>(S, L, stroke, first, last, StylePos); break;
    case TPenMode::Xor: Run<TPenMode::Xor>(S, L, stroke, first, last, StylePos); break;
    case TPenMode::NotXor: Run<TPenMode::NotXor>(S, L, stroke, first, last, StylePos); break;
    case TPenMode::Not: Run<TPenMode::Not>(S, L, stroke, first, last, StylePos); break;
    }
    return endPos;
}

namespace {

// Pending rows per column of the clip; a run that neither overlaps nor touches the pending
// one of its column sends that one to the image first. The order of writes does not matter:
// every write is the same pixel value.
class TColumnRuns {
public:
    TColumnRuns(const TSurface& S, std::uint32_t Pixel)
        : FS(S), FPixel(Pixel), FTop(std::size_t(S.Clip.Width()), 1),
          FBottom(std::size_t(S.Clip.Width()), 0)
    {
    }
    TColumnRuns(const TColumnRuns&) = delete;
    TColumnRuns& operator=(const TColumnRuns&) = delete;
    ~TColumnRuns()
    {
        for (std::size_t c = 0; c < FTop.size(); ++c)
            Write(c);
    }

    // Rows Top..Bottom (inclusive) of column X, already known to lie inside the clip.
    void Add(std::int64_t X, int Top, int Bottom)
    {
        const std::size_t c = std::size_t(X - FS.Clip.Left);
        int& top = FTop[c];
        int& bottom = FBottom[c];
        if (top <= bottom) {
            if (Top <= bottom + 1 && Bottom + 1 >= top) {
                top = std::min(top, Top);
                bottom = std::max(bottom, Bottom);
                return;
            }
            Write(c);
        }
        top = Top;
        bottom = Bottom;
    }

private:
    void Write(std::size_t C)
    {
        std::uint32_t* p =
            FS.Bits + std::ptrdiff_t(FTop[C]) * FS.Stride + FS.Clip.Left + std::ptrdiff_t(C);
        for (int y = FTop[C]; y <= FBottom[C]; ++y, p += FS.Stride)
            *p = FPixel;
        FTop[C] = 1;
        FBottom[C] = 0;
    }

    const TSurface& FS;
    std::uint32_t FPixel;
    std::vector<int> FTop, FBottom;
};

} // namespace

void DrawSolidPolyline(const TSurface& S, const TStroke& K, const TPoint* Points, int Count)
{
    if (!S.Bits || Count < 2 || S.Clip.Left >= S.Clip.Right || S.Clip.Top >= S.Clip.Bottom)
        return;
    const int w = std::max(1, K.Width);
    TColumnRuns columns(S, K.Pixel);
    for (int i = 1; i < Count; ++i) {
        TLine L;
        if (!MakeLine(S, Points[i - 1], Points[i], L))
            continue;
        // Steep runs inside the clip are gathered per column; the rest, and anything the clip
        // cuts, are drawn straight away.
        if (!L.XMajor && Inside(L, w) && LongRuns(L))
            ForEachRun(L, w, [&](std::int64_t Minor, std::int64_t MajorLo, std::int64_t MajorHi) {
                for (int c = 0; c < w; ++c)
                    columns.Add(Minor + c, int(MajorLo), int(MajorHi));
            });
        else
            DrawLine(S, K, Points[i - 1], Points[i], 0);
    }
}

namespace {

template <TPenMode Mode, typename Choose>
void ForEachPixel(const TSurface& S, TRect R, Choose&& Pick)
{
    R = Intersect(R, S.Clip);
    for (int y = R.Top; y < R.Bottom; ++y) {
        std::uint32_t* p = S.Bits + std::ptrdiff_t(y) * S.Stride + R.Left;
        for (int x = R.Left; x < R.Right; ++x, ++p) {
            std::uint32_t pixel;
            if (Pick(x, y, pixel))
                Put<Mode>(*p, pixel);
        }
    }
}

template <typename Choose>
void ForEachPixelInMode(const TSurface& S, TRect R, TPenMode Mode, Choose&& Pick)
{
    switch (Mode) {
    case TPenMode::Copy: ForEachPixel<TPenMode::Copy>(S, R, Pick); break;
    case TPenMode::Xor: ForEachPixel<TPenMode::Xor>(S, R, Pick); break;
    case TPenMode::NotXor: ForEachPixel<TPenMode::NotXor>(S, R, Pick); break;
    case TPenMode::Not: ForEachPixel<TPenMode::Not>(S, R, Pick); break;
    }
}

bool OnHatch(TBrushStyle Style, int X, int Y)
{
    const int x = X & 7, y = Y & 7;
    switch (Style) {
    case TBrushStyle::Horizontal: return y == 0;
    case TBrushStyle::Vertical: return x == 0;
    case TBrushStyle::FDiagonal: return ((x - y) & 7) == 0;
    case TBrushStyle::BDiagonal: return ((x + y) & 7) == 7;
    case TBrushStyle::Cross: return x == 0 || y == 0;
    case TBrushStyle::DiagCross: return ((x - y) & 7) == 0 || ((x + y) & 7) == 7;
    default: return true;
    }
}

} // namespace

void FillRect(const TSurface& S, TRect R, std::uint32_t Pixel, TPenMode Mode)
{
    if (!S.Bits)
        return;
    if (Mode == TPenMode::Copy) {
        R = Intersect(R, S.Clip);
        for (int y = R.Top; y < R.Bottom; ++y) {
            std::uint32_t* p = S.Bits + std::ptrdiff_t(y) * S.Stride;
            std::fill(p + R.Left, p + R.Right, Pixel);
        }
        return;
    }
    ForEachPixelInMode(S, R, Mode, [Pixel](int, int, std::uint32_t& Out) {
        Out = Pixel;
        return true;
    });
}

void HatchRect(const TSurface& S, TRect R, TBrushStyle Style, std::uint32_t Pixel, bool Opaque,
               std::uint32_t BackPixel, TPenMode Mode)
{
    if (!S.Bits)
        return;
    ForEachPixelInMode(S, R, Mode, [&](int X, int Y, std::uint32_t& Out) {
        if (OnHatch(Style, X, Y)) {
            Out = Pixel;
            return true;
        }
        Out = BackPixel;
        return Opaque;
    });
}

void InvertDottedFrame(const TSurface& S, TRect R)
{
    if (!S.Bits || R.Left >= R.Right || R.Top >= R.Bottom)
        return;
    auto dots = [](int X, int Y, std::uint32_t& Out) {
        Out = 0xFFFFFFFFu;
        return ((X + Y) & 1) == 0;
    };
    // Top and bottom rows in full, then the sides between them, so no pixel flips twice.
    ForEachPixelInMode(S, {R.Left, R.Top, R.Right, R.Top + 1}, TPenMode::Xor, dots);
    if (R.Bottom - 1 > R.Top)
        ForEachPixelInMode(S, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, TPenMode::Xor, dots);
    ForEachPixelInMode(S, {R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, TPenMode::Xor, dots);
    if (R.Right - 1 > R.Left)
        ForEachPixelInMode(S, {R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1}, TPenMode::Xor,
                           dots);
}

} // namespace platform::raster
