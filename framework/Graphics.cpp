#include "framework/Graphics.h"

#include "framework/Property.h"

namespace {

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
    SetProperty(FName, Value, [this] { Changed(); });
}

int TFont::Size() const { return -platform::MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-platform::MulDiv(Value, ScreenPixelsPerInch, 72)); }

void TFont::SetHeight(int Value)
{
    SetProperty(FHeight, Value, [this] { Changed(); });
}

void TFont::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { Changed(); });
}

void TFont::SetStyle(TFontStyles Value)
{
    SetProperty(FStyle, Value, [this] { Changed(); });
}

void TFont::SetCharset(std::uint8_t Value)
{
    SetProperty(FCharset, Value, [this] { Changed(); });
}

void TFont::Assign(const TFont& Source)
{
    bool changed = StoreChanged(FName, Source.FName);
    changed |= StoreChanged(FHeight, Source.FHeight);
    changed |= StoreChanged(FColor, Source.FColor);
    changed |= StoreChanged(FStyle, Source.FStyle);
    changed |= StoreChanged(FCharset, Source.FCharset);
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
    SetProperty(FColor, Value, [this] { Changed(); });
}

void TPen::SetWidth(int Value)
{
    SetProperty(FWidth, Value, [this] { Changed(); });
}

void TPen::SetStyle(TPenStyle Value)
{
    SetProperty(FStyle, Value, [this] { Changed(); });
}

void TPen::SetMode(TPenMode Value)
{
    SetProperty(FMode, Value, [this] { Changed(); });
}

void TPen::Assign(const TPen& Source)
{
    bool changed = StoreChanged(FColor, Source.FColor);
    changed |= StoreChanged(FWidth, Source.FWidth);
    changed |= StoreChanged(FStyle, Source.FStyle);
    changed |= StoreChanged(FMode, Source.FMode);
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
    SetProperty(FColor, Value, [this] { Changed(); });
}

void TBrush::SetStyle(TBrushStyle Value)
{
    SetProperty(FStyle, Value, [this] { Changed(); });
}

void TBrush::Assign(const TBrush& Source)
{
    bool changed = StoreChanged(FColor, Source.FColor);
    changed |= StoreChanged(FStyle, Source.FStyle);
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
