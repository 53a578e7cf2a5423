#pragma once
// The graphics objects of the framework: font, pen and brush descriptions that notify their
// owner on every change, the canvas that applies them to a drawing context, and the
// off-screen bitmap with a canvas of its own. Colours are in framework/Colors.h.
//
// Threading: user-interface thread only, like the components that own these objects.

#include "framework/Classes.h"
#include "framework/Colors.h"
#include "platform/DrawContext.h"
#include "platform/Types.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

enum TPenStyle {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psAlternate // every other pixel, always 1 pixel wide (the chart's small dots)
};

// The mix modes the drawing context can do.
enum TPenMode { pmCopy, pmXor, pmNotXor, pmNot };

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> Styles)
    {
        for (TFontStyle s : Styles)
            FBits |= Bit(s);
    }
    constexpr bool Contains(TFontStyle Style) const { return (FBits & Bit(Style)) != 0; }
    constexpr TFontStyles With(TFontStyle Style) const { return FromBits(FBits | Bit(Style)); }
    constexpr TFontStyles Without(TFontStyle Style) const
    {
        return FromBits(FBits & ~Bit(Style));
    }
    constexpr bool Empty() const { return FBits == 0; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr unsigned Bit(TFontStyle Style) { return 1u << unsigned(Style); }
    static constexpr TFontStyles FromBits(unsigned Bits)
    {
        TFontStyles s;
        s.FBits = Bits;
        return s;
    }
    unsigned FBits = 0;
};

// The screen's logical resolution: 8 points are an 11-pixel em.
constexpr int ScreenPixelsPerInch = 96;

// A font description. Size (points) and Height (pixels; negative for the em, as the platform
// takes it) are two views of one value: setting either sets both.
class TFont : public TPersistent {
public:
    TFont() = default;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    // Kept for the layout's sake; the drawing context picks glyphs by the text itself.
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t Value);
    int PixelsPerInch() const { return ScreenPixelsPerInch; }

    // Copies every property from Source, then notifies once if anything changed.
    void Assign(const TFont& Source);
    // What the drawing context is given (the colour goes separately, as the text colour).
    platform::TFontDesc Desc() const;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    std::uint8_t FCharset = 1; // the default character set
};

class TPen : public TPersistent {
public:
    TPen() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    void Assign(const TPen& Source);
    // The pen as the drawing context takes it, its colour resolved now.
    platform::TPenDesc Desc() const;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TBrush : public TPersistent {
public:
    TBrush() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

    void Assign(const TBrush& Source);
    platform::TBrushDesc Desc() const;
    // How many times the brush has changed, so that a canvas can tell without OnChange
    // (which belongs to the brush's owner).
    std::uint32_t ChangeCount() const { return FChangeCount; }

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    std::uint32_t FChangeCount = 0;
};

class TBitmap;

// Drawing with a pen, a brush and a font on a drawing context (the handle, not owned; set by
// whoever owns the surface). The canvas' objects reach the context lazily, as its own
// platform does it: the pen and the font before each operation that uses them; the brush too,
// and when the brush has changed since it last reached the context, the background colour
// becomes the brush colour and the background mode opaque for a solid brush and transparent
// otherwise. Settings made straight on the handle therefore hold until the canvas' own
// object of that kind changes. Without a handle every operation does nothing and measuring
// answers 0.
class TCanvas : public TPersistent {
public:
    explicit TCanvas(platform::TDrawContext* Handle = nullptr);
    ~TCanvas() override;

    platform::TDrawContext* Handle() const { return FHandle; }
    void SetHandle(platform::TDrawContext* Value);

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TFont* Font() const { return FFont.get(); }

    TPoint PenPos() const;
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const TPoint* Points, int Count);
    void Polygon(const TPoint* Points, int Count);
    void Rectangle(int X0, int Y0, int X1, int Y1);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void FillRect(const TRect& R);
    // A 1-pixel frame just inside R in the brush colour.
    void FrameRect(const TRect& R);
    void Ellipse(int X0, int Y0, int X1, int Y1);
    void RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight);
    void Arc(const TRect& Bounds, TPoint Start, TPoint End);
    void Pie(const TRect& Bounds, TPoint Start, TPoint End);
    void DrawFocusRect(const TRect& R);

    // Text in the canvas font and colour.
    void TextOut(int X, int Y, std::string_view Text);
    // The same, with drawing limited to R.
    void TextRect(const TRect& R, int X, int Y, std::string_view Text);
    TSize TextExtent(std::string_view Text);
    int TextWidth(std::string_view Text) { return TextExtent(Text).cx; }
    int TextHeight(std::string_view Text) { return TextExtent(Text).cy; }

    // The colour at (X, Y) as RGB, or platform::InvalidRgb outside the clip.
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Color);

    // A bitmap at its own size with its top-left corner at (X, Y), or scaled into R; nothing
    // for an absent or empty bitmap.
    void Draw(int X, int Y, const TBitmap* Graphic);
    void StretchDraw(const TRect& R, const TBitmap* Graphic);

    // The area drawing can reach: the clip, or the whole surface without one.
    TRect ClipRect() const;
    void IntersectClipRect(const TRect& R);
    void RemoveClip();
    bool HasClip() const;

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();

    platform::TDrawContext* FHandle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    bool FBrushValid = false; // the handle has the brush as of FAppliedBrushChanges
    std::uint32_t FAppliedBrushChanges = 0;
};

// An off-screen image with a canvas of its own; a new bitmap is white. Resizing keeps the
// part of the picture that still fits and paints the rest white.
class TBitmap : public TPersistent {
public:
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap() override;

    int Width() const;
    int Height() const;
    void SetWidth(int Value) { SetSize(Value, Height()); }
    void SetHeight(int Value) { SetSize(Width(), Value); }
    void SetSize(int Width, int Height);
    bool Empty() const { return Width() == 0 || Height() == 0; }

    TCanvas* Canvas() const { return FCanvas.get(); }
    platform::TBitmapImage& Image() const { return *FImage; }

private:
    std::unique_ptr<platform::TBitmapImage> FImage;
    std::unique_ptr<platform::TDrawContext> FContext;
    std::unique_ptr<TCanvas> FCanvas;
};
