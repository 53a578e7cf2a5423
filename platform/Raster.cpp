// Our own stepping of lines and plain fills straight into 32-bit pixels (why: Raster.h).
#include "platform/Raster.h"

#include "platform/RasterWide.h"

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

// The minor offset k(j) of a step j, and the remainder that stepping on from it carries.
struct TTracker {
    std::int64_t K, R;
    void Start(const TLine& L, std::int64_t J)
    {
        const std::int64_t num = 2 * J * L.Am + L.Bias;
        K = num / (2 * L.N);
        R = num % (2 * L.N);
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

template <TPenMode Mode>
void Run(const TSurface& S, const TLine& L, const TStroke& K, std::int64_t First,
         std::int64_t Last, long StylePos)
{
    if (K.Dashes)
        ThinRun<Mode, true>(S, L, K, First, Last, StylePos);
    else
        ThinRun<Mode, false>(S, L, K, First, Last, StylePos);
}

// Walks the runs of a 1-pixel line: run k holds the steps whose minor offset is k. F gets the
// run's minor coordinate and its major range (inclusive).
template <typename F>
void ForEachRun(const TLine& L, F&& Visit)
{
    std::int64_t first = 0;
    for (std::int64_t k = 0; k <= L.Am && first < L.N; ++k) {
        const std::int64_t last =
            L.Am == 0 ? L.N - 1
                      : std::min(L.N - 1, (2 * L.N * (k + 1) - L.Bias - 1) / (2 * L.Am));
        if (last < first)
            continue;
        const std::int64_t a = L.M0 + L.SM * first, b = L.M0 + L.SM * last;
        Visit(L.m0 + L.Sm * k, std::min(a, b), std::max(a, b));
        first = last + 1;
    }
}

// A solid Copy-mode line wholly inside the clip, written run by run with no stepping per
// pixel.
void RunFill(const TSurface& S, const TLine& L, std::uint32_t Pixel)
{
    ForEachRun(L, [&](std::int64_t Minor, std::int64_t MajorLo, std::int64_t MajorHi) {
        std::uint32_t* p = S.Bits + Minor * L.MinorStride + MajorLo * L.MajorStride;
        for (std::int64_t m = MajorLo; m <= MajorHi; ++m, p += L.MajorStride)
            *p = Pixel;
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

// Whether every pixel of the 1-pixel line lies inside the clip.
bool Inside(const TLine& L)
{
    const std::int64_t minorLast = L.m0 + L.Sm * L.Am;
    const std::int64_t majorLast = L.M0 + L.SM * (L.N - 1);
    return std::min(L.M0, majorLast) >= L.ClipM0 && std::max(L.M0, majorLast) < L.ClipM1 &&
           std::min(L.m0, minorLast) >= L.Clipm0 && std::max(L.m0, minorLast) < L.Clipm1;
}

bool Drawable(const TSurface& S)
{
    return S.Bits && S.Clip.Left < S.Clip.Right && S.Clip.Top < S.Clip.Bottom;
}

bool WithinDeviceSpace(TPoint A, TPoint B)
{
    for (int c : {A.X, A.Y, B.X, B.Y})
        if (c < -kCoordinateLimit || c > kCoordinateLimit)
            return false;
    return true;
}

bool Steep(TPoint A, TPoint B) { return std::abs(B.Y - A.Y) > std::abs(B.X - A.X); }

// Walks a wide pen's polyline: Band(A, B) for each segment that draws something, and Disk(V)
// at both its ends, once where two such segments meet.
template <typename FBand, typename FDisk>
void ForEachWidePiece(const TPoint* Points, int Count, FBand&& Band, FDisk&& Disk)
{
    bool any = false;
    TPoint last;
    for (int i = 1; i < Count; ++i) {
        const TPoint a = Points[i - 1], b = Points[i];
        if (a == b || !WithinDeviceSpace(a, b))
            continue;
        if (!any || last != a)
            Disk(a);
        Band(a, b);
        Disk(b);
        any = true;
        last = b;
    }
}

// Spans written straight to the image in copy mode, as rows or as columns.
class TSpanFill final : public TSpanSink {
public:
    TSpanFill(const TSurface& S, std::uint32_t Pixel) : FS(S), FPixel(Pixel) {}
    bool Columns = false;
    void Span(int Line, int Lo, int Hi) override
    {
        if (Columns) {
            std::uint32_t* p = FS.Bits + std::ptrdiff_t(Lo) * FS.Stride + Line;
            for (int y = Lo; y < Hi; ++y, p += FS.Stride)
                *p = FPixel;
        } else {
            std::uint32_t* row = FS.Bits + std::ptrdiff_t(Line) * FS.Stride;
            std::fill(row + Lo, row + Hi, FPixel);
        }
    }

private:
    const TSurface& FS;
    std::uint32_t FPixel;
};

// Spans kept to be written later.
struct TSpanList final : TSpanSink {
    struct TItem {
        int Line, Lo, Hi;
    };
    std::vector<TItem> Items;
    void Span(int Line, int Lo, int Hi) override { Items.push_back({Line, Lo, Hi}); }
};

// Writes rows of spans once each where they overlap: the raster modes other than copy must
// not touch a pixel twice.
template <TPenMode Mode>
void WriteUnion(const TSurface& S, std::vector<TSpanList::TItem>& Rows, std::uint32_t Pixel)
{
    std::sort(Rows.begin(), Rows.end(), [](const auto& A, const auto& B) {
        return A.Line != B.Line ? A.Line < B.Line : A.Lo < B.Lo;
    });
    for (std::size_t i = 0; i < Rows.size();) {
        const int line = Rows[i].Line;
        int lo = Rows[i].Lo, hi = Rows[i].Hi;
        for (++i; i < Rows.size() && Rows[i].Line == line && Rows[i].Lo <= hi; ++i)
            hi = std::max(hi, Rows[i].Hi);
        std::uint32_t* row = S.Bits + std::ptrdiff_t(line) * S.Stride;
        for (int x = lo; x < hi; ++x)
            Put<Mode>(row[x], Pixel);
    }
}

// A wide pen's polyline, gathered whole so that each covered pixel is written once.
void WideUnion(const TSurface& S, const TStroke& K, const TPoint* Points, int Count)
{
    TSpanList rows;
    const TDisk disk(K.Width);
    ForEachWidePiece(
        Points, Count,
        [&](TPoint A, TPoint B) { BandSpans(A, B, K.Width, S.Clip, false, rows); },
        [&](TPoint V) { disk.Spans(V, S.Clip, false, rows); });
    switch (K.Mode) {
    case TPenMode::Copy: WriteUnion<TPenMode::Copy>(S, rows.Items, K.Pixel); break;
    case TPenMode::Xor: WriteUnion<TPenMode::Xor>(S, rows.Items, K.Pixel); break;
    case TPenMode::NotXor: WriteUnion<TPenMode::NotXor>(S, rows.Items, K.Pixel); break;
    case TPenMode::Not: WriteUnion<TPenMode::Not>(S, rows.Items, K.Pixel); break;
    }
}

} // namespace

long DrawLine(const TSurface& S, const TStroke& K, TPoint From, TPoint To, long StylePos)
{
    TLine L;
    if (!MakeLine(S, From, To, L))
        return StylePos;
    const std::int64_t n = L.N;
    const long endPos = StylePos + long(n);
    if (!WithinDeviceSpace(From, To) || !Drawable(S))
        return endPos;
    if (K.Width > 1) {
        if (K.Mode == TPenMode::Copy) {
            TSpanFill fill(S, K.Pixel);
            fill.Columns = Steep(From, To);
            const TDisk disk(K.Width);
            BandSpans(From, To, K.Width, S.Clip, fill.Columns, fill);
            disk.Spans(From, S.Clip, fill.Columns, fill);
            disk.Spans(To, S.Clip, fill.Columns, fill);
        } else {
            const TPoint ends[] = {From, To};
            WideUnion(S, K, ends, 2);
        }
        return endPos;
    }

    std::int64_t first = 0, last = n - 1;
    // Whole segment inside the clip: no clipping arithmetic at all.
    const bool inside = Inside(L);
    if (inside && !K.Dashes && K.Mode == TPenMode::Copy && LongRuns(L)) {
        RunFill(S, L, K.Pixel);
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
        // Steps whose minor coordinate lies in the clip.
        const std::int64_t low = L.Clipm0, high = L.Clipm1 - 1;
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

    switch (K.Mode) {
    case TPenMode::Copy: Run<TPenMode::Copy>(S, L, K, first, last, StylePos); break;
    case TPenMode::Xor: Run<TPenMode::Xor>(S, L, K, first, last, StylePos); break;
    case TPenMode::NotXor: Run<TPenMode::NotXor>(S, L, K, first, last, StylePos); break;
    case TPenMode::Not: Run<TPenMode::Not>(S, L, K, first, last, StylePos); break;
    }
    return endPos;
}

namespace {

// Pending rows per column of the clip; a run that neither overlaps nor touches the pending
// one of its column sends that one to the image first. The order of writes does not matter:
// every write is the same pixel value.
class TColumnRuns final : public TSpanSink {
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
    void Span(int Column, int Top, int End) override { Add(Column, Top, End - 1); }

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

// The bands of one polyline's segments by their shape (B - A): dense data repeats a few
// hundred shapes over and over, and a band is the same wherever it lies. Short segments and
// narrow pens only; a slot holds the last shape that fell into it.
class TBandShapes {
public:
    explicit TBandShapes(int Width) : FWidth(Width) {}

    // The band of A -> B within Clip, as columns when the segment is steep, else as rows.
    void Spans(TPoint A, TPoint B, const TRect& Clip, TSpanSink& Columns, TSpanSink& Rows)
    {
        const int dx = B.X - A.X, dy = B.Y - A.Y;
        const bool steep = Steep(A, B);
        TSpanSink& sink = steep ? Columns : Rows;
        if (std::abs(dx) > kShort || std::abs(dy) > kShort || FWidth > kNarrow) {
            BandSpans(A, B, FWidth, Clip, steep, sink);
            return;
        }
        if (FSlots.empty())
            FSlots.resize(kSlots);
        TSlot& slot = FSlots[std::size_t((dx * 31 + dy) & (kSlots - 1))];
        if (!slot.Known || slot.Dx != dx || slot.Dy != dy) {
            slot.Dx = dx, slot.Dy = dy, slot.Known = true;
            slot.Band.Items.clear();
            const int room = 4 * kShort + FWidth;
            BandSpans({0, 0}, {dx, dy}, FWidth, {-room, -room, room, room}, steep, slot.Band);
        }
        const int p = steep ? A.X : A.Y, q = steep ? A.Y : A.X;
        const int clipP0 = steep ? Clip.Left : Clip.Top, clipP1 = steep ? Clip.Right : Clip.Bottom;
        const int clipQ0 = steep ? Clip.Top : Clip.Left, clipQ1 = steep ? Clip.Bottom : Clip.Right;
        for (const TSpanList::TItem& span : slot.Band.Items) {
            const int line = p + span.Line;
            const int lo = std::max(q + span.Lo, clipQ0), hi = std::min(q + span.Hi, clipQ1);
            if (line >= clipP0 && line < clipP1 && lo < hi)
                sink.Span(line, lo, hi);
        }
    }

private:
    static constexpr int kShort = 1024;
    static constexpr int kNarrow = 64;
    static constexpr int kSlots = 256;
    struct TSlot {
        bool Known = false;
        int Dx = 0, Dy = 0;
        TSpanList Band; // relative to A
    };
    int FWidth;
    std::vector<TSlot> FSlots;
};

} // namespace

void DrawPolyline(const TSurface& S, const TStroke& K, const TPoint* Points, int Count)
{
    if (Count < 2 || !Drawable(S))
        return;
    const bool copy = K.Mode == TPenMode::Copy;
    if (K.Width > 1 && !copy) {
        WideUnion(S, K, Points, Count);
        return;
    }
    if (!copy || K.Dashes) {
        long pos = 0;
        for (int i = 1; i < Count; ++i)
            pos = DrawLine(S, K, Points[i - 1], Points[i], pos);
        return;
    }
    // Steep runs, and a wide pen's disks, are gathered per column; the rest is drawn straight.
    TColumnRuns columns(S, K.Pixel);
    if (K.Width > 1) {
        TSpanFill rows(S, K.Pixel);
        const TDisk disk(K.Width);
        TBandShapes bands(K.Width);
        ForEachWidePiece(
            Points, Count, [&](TPoint A, TPoint B) { bands.Spans(A, B, S.Clip, columns, rows); },
            [&](TPoint V) { disk.Spans(V, S.Clip, true, columns); });
        return;
    }
    for (int i = 1; i < Count; ++i) {
        TLine L;
        if (!MakeLine(S, Points[i - 1], Points[i], L))
            continue;
        if (!L.XMajor && Inside(L) && LongRuns(L))
            ForEachRun(L, [&](std::int64_t Minor, std::int64_t MajorLo, std::int64_t MajorHi) {
                columns.Add(Minor, int(MajorLo), int(MajorHi));
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
