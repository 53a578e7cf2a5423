#include "framework/Graphics.h"

#include <array>

namespace {

// The classic desktop scheme, by system colour index.
constexpr std::array<TColor, 31> kClassicScheme = {
    RgbColor(212, 208, 200), // scroll bar
    RgbColor(58, 110, 165),  // desktop
    RgbColor(10, 36, 106),   // active caption
    RgbColor(128, 128, 128), // inactive caption
    RgbColor(212, 208, 200), // menu
    RgbColor(255, 255, 255), // window
    RgbColor(0, 0, 0),       // window frame
    RgbColor(0, 0, 0),       // menu text
    RgbColor(0, 0, 0),       // window text
    RgbColor(255, 255, 255), // caption text
    RgbColor(212, 208, 200), // active border
    RgbColor(212, 208, 200), // inactive border
    RgbColor(128, 128, 128), // application workspace
    RgbColor(10, 36, 106),   // highlight
    RgbColor(255, 255, 255), // highlight text
    RgbColor(212, 208, 200), // button face
    RgbColor(128, 128, 128), // button shadow
    RgbColor(128, 128, 128), // grey text
    RgbColor(0, 0, 0),       // button text
    RgbColor(212, 208, 200), // inactive caption text
    RgbColor(255, 255, 255), // button highlight
    RgbColor(64, 64, 64),    // 3-D dark shadow
    RgbColor(212, 208, 200), // 3-D light
    RgbColor(0, 0, 0),       // tooltip text
    RgbColor(255, 255, 225), // tooltip background
    RgbColor(0, 0, 0),       // (unused index)
    RgbColor(0, 0, 128),     // hot-tracked item
    RgbColor(166, 202, 240), // active caption gradient
    RgbColor(192, 192, 192), // inactive caption gradient
    RgbColor(10, 36, 106),   // menu highlight
    RgbColor(212, 208, 200), // menu bar
};

} // namespace

TColor ColorToRGB(TColor Color)
{
    if ((Color & 0xFF000000) == clSystemColor) {
        const TColor index = Color & 0xFF;
        return index < kClassicScheme.size() ? kClassicScheme[index] : clBlack;
    }
    return Color & 0x00FFFFFF;
}

namespace {

// Stores Value in Field; true when that was a change.
template <typename T>
bool Store(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

platform::TPenStyle PlatformPenStyle(TPenStyle Style)
{
    switch (Style) {
    case psDash: return platform::TPenStyle::Dash;
    case psDot: return platform::TPenStyle::Dot;
    case psDashDot: return platform::TPenStyle::DashDot;
    case psDashDotDot: return platform::TPenStyle::DashDotDot;
    case psClear: return platform::TPenStyle::Clear;
    case psInsideFrame: return platform::TPenStyle::InsideFrame;
    case psAlternate: return platform::TPenStyle::Alternate;
    case psSolid: break;
    }
    return platform::TPenStyle::Solid;
}

platform::TPenMode PlatformPenMode(TPenMode Mode)
{
    switch (Mode) {
    case pmXor: return platform::TPenMode::Xor;
    case pmNotXor: return platform::TPenMode::NotXor;
    case pmNot: return platform::TPenMode::Not;
    case pmCopy: break;
    }
    return platform::TPenMode::Copy;
}

platform::TBrushStyle PlatformBrushStyle(TBrushStyle Style)
{
    switch (Style) {
    case bsClear: return platform::TBrushStyle::Clear;
    case bsHorizontal: return platform::TBrushStyle::Horizontal;
    case bsVertical: return platform::TBrushStyle::Vertical;
    case bsFDiagonal: return platform::TBrushStyle::FDiagonal;
    case bsBDiagonal: return platform::TBrushStyle::BDiagonal;
    case bsCross: return platform::TBrushStyle::Cross;
    case bsDiagCross: return platform::TBrushStyle::DiagCross;
    case bsSolid: break;
    }
    return platform::TBrushStyle::Solid;
}

} // namespace

// TFont --------------------------------------------------------------------------------------

void TFont::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TFont::SetName(const std::string& Value)
{
    if (Store(FName, Value))
        Changed();
}

int TFont::Size() const { return -platform::MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-platform::MulDiv(Value, ScreenPixelsPerInch, 72)); }

void TFont::SetHeight(int Value)
{
    if (Store(FHeight, Value))
        Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Store(FColor, Value))
        Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Store(FStyle, Value))
        Changed();
}

void TFont::SetCharset(std::uint8_t Value)
{
    if (Store(FCharset, Value))
        Changed();
}

void TFont::Assign(const TFont& Source)
{
    bool changed = Store(FName, Source.FName);
    changed |= Store(FHeight, Source.FHeight);
    changed |= Store(FColor, Source.FColor);
    changed |= Store(FStyle, Source.FStyle);
    changed |= Store(FCharset, Source.FCharset);
    if (changed)
        Changed();
}

platform::TFontDesc TFont::Desc() const
{
    platform::TFontDesc d;
    d.Name = FName;
    d.Height = FHeight;
    d.Bold = FStyle.Contains(fsBold);
    d.Italic = FStyle.Contains(fsItalic);
    d.Underline = FStyle.Contains(fsUnderline);
    d.StrikeOut = FStyle.Contains(fsStrikeOut);
    return d;
}

// TPen ---------------------------------------------------------------------------------------

void TPen::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPen::SetColor(TColor Value)
{
    if (Store(FColor, Value))
        Changed();
}

void TPen::SetWidth(int Value)
{
    if (Store(FWidth, Value))
        Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Store(FStyle, Value))
        Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Store(FMode, Value))
        Changed();
}

void TPen::Assign(const TPen& Source)
{
    bool changed = Store(FColor, Source.FColor);
    changed |= Store(FWidth, Source.FWidth);
    changed |= Store(FStyle, Source.FStyle);
    changed |= Store(FMode, Source.FMode);
    if (changed)
        Changed();
}

platform::TPenDesc TPen::Desc() const
{
    return {ColorToRGB(FColor), FWidth, PlatformPenStyle(FStyle), PlatformPenMode(FMode)};
}

// TBrush -------------------------------------------------------------------------------------

void TBrush::Changed()
{
    ++FChangeCount;
    if (OnChange)
        OnChange(this);
}

void TBrush::SetColor(TColor Value)
{
    if (Store(FColor, Value))
        Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Store(FStyle, Value))
        Changed();
}

void TBrush::Assign(const TBrush& Source)
{
    bool changed = Store(FColor, Source.FColor);
    changed |= Store(FStyle, Source.FStyle);
    if (changed)
        Changed();
}

platform::TBrushDesc TBrush::Desc() const
{
    return {ColorToRGB(FColor), PlatformBrushStyle(FStyle)};
}

// TCanvas ------------------------------------------------------------------------------------

TCanvas::TCanvas(platform::TDrawContext* Handle)
    : FHandle(Handle), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>())
{
}

TCanvas::~TCanvas() = default;

void TCanvas::SetHandle(platform::TDrawContext* Value)
{
    FHandle = Value;
    FBrushValid = false;
}

void TCanvas::RequirePen() { FHandle->SelectPen(FPen->Desc()); }

void TCanvas::RequireBrush()
{
    const platform::TBrushDesc brush = FBrush->Desc();
    FHandle->SelectBrush(brush);
    if (!FBrushValid || FBrush->ChangeCount() != FAppliedBrushChanges) {
        FHandle->SetBkColor(brush.Color);
        FHandle->SetBkMode(FBrush->Style() == bsSolid ? platform::TBkMode::Opaque
                                                      : platform::TBkMode::Transparent);
        FAppliedBrushChanges = FBrush->ChangeCount();
        FBrushValid = true;
    }
}

void TCanvas::RequireFont()
{
    FHandle->SelectFont(FFont->Desc());
    FHandle->SetTextColor(ColorToRGB(FFont->Color()));
}

TPoint TCanvas::PenPos() const { return FHandle ? FHandle->CurrentPosition() : TPoint{}; }

void TCanvas::MoveTo(int X, int Y)
{
    if (FHandle)
        FHandle->MoveTo(X, Y);
}

void TCanvas::LineTo(int X, int Y)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush(); // the gaps of a styled pen take the background
    FHandle->LineTo(X, Y);
}

void TCanvas::Polyline(const TPoint* Points, int Count)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->Polyline(Points, Count);
}

void TCanvas::Polygon(const TPoint* Points, int Count)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->Polygon(Points, Count);
}

void TCanvas::Rectangle(int X0, int Y0, int X1, int Y1)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->Rectangle(X0, Y0, X1, Y1);
}

void TCanvas::FillRect(const TRect& R)
{
    if (!FHandle)
        return;
    RequireBrush();
    FHandle->FillRect(R);
}

void TCanvas::FrameRect(const TRect& R)
{
    if (!FHandle || R.Left >= R.Right || R.Top >= R.Bottom)
        return;
    RequireBrush();
    FHandle->FillRect({R.Left, R.Top, R.Right, R.Top + 1});
    FHandle->FillRect({R.Left, R.Bottom - 1, R.Right, R.Bottom});
    FHandle->FillRect({R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1});
    FHandle->FillRect({R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1});
}

void TCanvas::Ellipse(int X0, int Y0, int X1, int Y1)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->Ellipse(X0, Y0, X1, Y1);
}

void TCanvas::RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->RoundRect(X0, Y0, X1, Y1, CornerWidth, CornerHeight);
}

void TCanvas::Arc(const TRect& Bounds, TPoint Start, TPoint End)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->Arc(Bounds, Start, End);
}

void TCanvas::Pie(const TRect& Bounds, TPoint Start, TPoint End)
{
    if (!FHandle)
        return;
    RequirePen();
    RequireBrush();
    FHandle->Pie(Bounds, Start, End);
}

void TCanvas::DrawFocusRect(const TRect& R)
{
    if (FHandle)
        FHandle->DrawFocusRect(R);
}

void TCanvas::TextOut(int X, int Y, std::string_view Text)
{
    if (!FHandle)
        return;
    RequireFont();
    RequireBrush();
    FHandle->TextOut(X, Y, Text);
}

void TCanvas::TextRect(const TRect& R, int X, int Y, std::string_view Text)
{
    if (!FHandle)
        return;
    // The clip is narrowed for this text only; the context has no way back from a narrowed
    // clip but RemoveClip, so the previous one is put back by intersection.
    const bool hadClip = FHandle->HasClip();
    const TRect previous = FHandle->ClipBox();
    FHandle->IntersectClipRect(R);
    TextOut(X, Y, Text);
    FHandle->RemoveClip();
    if (hadClip)
        FHandle->IntersectClipRect(previous);
}

TSize TCanvas::TextExtent(std::string_view Text)
{
    if (!FHandle)
        return {};
    RequireFont();
    return FHandle->TextExtent(Text);
}

TColor TCanvas::Pixels(int X, int Y) const
{
    return FHandle ? FHandle->GetPixel(X, Y) : platform::InvalidRgb;
}

void TCanvas::SetPixels(int X, int Y, TColor Color)
{
    if (FHandle)
        FHandle->SetPixel(X, Y, ColorToRGB(Color));
}

void TCanvas::Draw(int X, int Y, const TBitmap* Graphic)
{
    if (FHandle && Graphic && !Graphic->Empty())
        FHandle->BitBlt(X, Y, Graphic->Image());
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap* Graphic)
{
    if (FHandle && Graphic && !Graphic->Empty())
        FHandle->StretchBlt(R, Graphic->Image());
}

TRect TCanvas::ClipRect() const { return FHandle ? FHandle->ClipBox() : TRect{}; }

void TCanvas::IntersectClipRect(const TRect& R)
{
    if (FHandle)
        FHandle->IntersectClipRect(R);
}

void TCanvas::RemoveClip()
{
    if (FHandle)
        FHandle->RemoveClip();
}

bool TCanvas::HasClip() const { return FHandle && FHandle->HasClip(); }

// TBitmap ------------------------------------------------------------------------------------

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int Width, int Height)
    : FImage(std::make_unique<platform::TBitmapImage>(Width, Height)),
      FContext(std::make_unique<platform::TDrawContext>(*FImage)),
      FCanvas(std::make_unique<TCanvas>(FContext.get()))
{
}

TBitmap::~TBitmap() = default;

int TBitmap::Width() const { return FImage->Width(); }

int TBitmap::Height() const { return FImage->Height(); }

void TBitmap::SetSize(int Width, int Height)
{
    if (Width == this->Width() && Height == this->Height())
        return;
    auto image = std::make_unique<platform::TBitmapImage>(Width, Height);
    auto context = std::make_unique<platform::TDrawContext>(*image);
    context->BitBlt(0, 0, *FImage);
    FCanvas->SetHandle(context.get());
    FContext = std::move(context);
    FImage = std::move(image);
}
