#include "chart/Chart.h"

#include "framework/Property.h"

#include <algorithm>

TChartFontObject::TChartFontObject(TCustomChart* Chart)
    : FParentChart(Chart), FFont(std::make_unique<TFont>())
{
    SetChartDefaultFont(*FFont);
    FFont->OnChange = [this](TObject*) { Repaint(); };
}

void TChartFontObject::Repaint() const
{
    if (FParentChart)
        FParentChart->Invalidate();
}

// ---------------------------------------------------------------------------------------------

TChartWall::TChartWall(TCustomChart* Chart) : FParentChart(Chart)
{
    const TNotifyEvent changed = [this](TObject*) { Repaint(); };
    FBrush = std::make_unique<TChartBrush>(changed);
    FPen = std::make_unique<TChartPen>(changed);
}

void TChartWall::Repaint() const
{
    if (FParentChart)
        FParentChart->Invalidate();
}

void TChartWall::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { Repaint(); });
}

void TChartWall::SetDark3D(bool Value)
{
    SetProperty(FDark3D, Value, [this] { Repaint(); });
}

void TChartWall::SetSize(int Value)
{
    SetProperty(FSize, Value, [this] { Repaint(); });
}

// ---------------------------------------------------------------------------------------------

TChartTitle::TChartTitle(TCustomChart* Chart) : TChartFontObject(Chart)
{
    Font()->SetColor(clBlue);
    const TNotifyEvent changed = [this](TObject*) { Repaint(); };
    FBrush = std::make_unique<TChartBrush>(changed);
    FFrame = std::make_unique<TChartHiddenPen>(changed);
}

void TChartTitle::SetAdjustFrame(bool Value)
{
    SetProperty(FAdjustFrame, Value, [this] { Repaint(); });
}

void TChartTitle::SetAlignment(TAlignment Value)
{
    SetProperty(FAlignment, Value, [this] { Repaint(); });
}

void TChartTitle::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { Repaint(); });
}

void TChartTitle::SetText(const std::vector<std::string>& Value)
{
    SetProperty(FText, Value, [this] { Repaint(); });
}

void TChartTitle::SetVisible(bool Value)
{
    SetProperty(FVisible, Value, [this] { Repaint(); });
}

void TChartTitle::Draw(bool IsFoot)
{
    TCustomChart* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const bool frame = FFrame->Visible() && FFrame->Color() != clDefault;
    // Nothing to show: the plotting rectangle keeps its room.
    if (FText.empty() && !frame)
        return;
    canvas->Font()->Assign(*Font());
    const int h = canvas->FontHeight();
    const int fw = frame ? FFrame->Width() : 0;
    const bool defaultBrush = FBrush->Style() == bsSolid && FBrush->Color() == clDefault;
    const bool fill = FColor != clDefault || !defaultBrush;

    const TRect plot = chart->PlotRect();
    const int height = static_cast<int>(FText.size()) * h;
    TRect r{plot.Left + fw, 0, plot.Right - fw, 0};
    if (IsFoot) {
        r.Bottom = plot.Bottom - fw;
        r.Top = r.Bottom - height;
    } else {
        r.Top = plot.Top + fw;
        r.Bottom = r.Top + height;
    }
    const int wWidth = canvas->TextWidth("W");
    if ((frame || fill) && FAdjustFrame) {
        int widest = 0;
        for (const std::string& line : FText)
            widest = std::max(widest, canvas->TextWidth(line));
        widest += wWidth;
        if (FAlignment == taLeftJustify)
            r.Right = r.Left + widest;
        else if (FAlignment == taRightJustify)
            r.Left = r.Right - widest;
        else {
            r.Left = (r.Left + r.Right) / 2 - widest / 2;
            r.Right = r.Left + widest;
        }
    }
    if (frame || fill) {
        if (FColor != clDefault) {
            canvas->Brush()->SetColor(FColor);
            canvas->Brush()->SetStyle(bsSolid);
        } else if (defaultBrush) {
            canvas->Brush()->SetStyle(bsClear);
        } else {
            canvas->Brush()->Assign(*FBrush);
        }
        if (frame) {
            canvas->ApplyPen(*FFrame);
            canvas->Rectangle(r.Left - fw, r.Top - fw, r.Right + fw, r.Bottom + fw);
        } else {
            canvas->FillRect(r);
        }
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetTextAlign(platform::Align::Left | platform::Align::Top);
    const int n = static_cast<int>(FText.size());
    for (int k = 0; k < n; ++k) {
        // The foot is written from its last line upwards.
        const int i = IsFoot ? n - 1 - k : k;
        const std::string& line = FText[std::size_t(i)];
        const int tw = canvas->TextWidth(line);
        int x;
        if (FAlignment == taLeftJustify)
            x = r.Left + wWidth / 2;
        else if (FAlignment == taRightJustify)
            x = r.Right - tw - wWidth / 2;
        else
            x = (r.Left + r.Right) / 2 - tw / 2;
        canvas->TextOut(x, r.Top + i * h, line);
    }
    FTitleRect = r;
    TRect rest = chart->PlotRect();
    if (IsFoot)
        rest.Bottom = r.Top - 5;
    else
        rest.Top = r.Bottom + 5;
    chart->SetPlotRect(rest);
    chart->RecalcPlotSize();
}

// ---------------------------------------------------------------------------------------------

TCustomChart::TCustomChart(TComponent* Owner) : TCustomAxisPanel(Owner)
{
    SetAutoRepaint(false);
    FTitle = std::make_unique<TChartTitle>(this);
    FFoot = std::make_unique<TChartTitle>(this);
    FBackWall = std::make_unique<TChartWall>(this);
    FBackWall->Brush()->SetStyle(bsClear);
    FLeftWall = std::make_unique<TChartWall>(this);
    FLeftWall->SetColor(0x0080FFFF);
    FLegend = std::make_unique<TChartLegend>(this);
    FBottomWall = std::make_unique<TChartWall>(this);
    FBottomWall->SetColor(0x00FFFFFF);
    SetAutoRepaint(true);
}

TCustomChart::~TCustomChart()
{
    BeginDestroy();
}

void TCustomChart::SetBackColor(TColor Value)
{
    FBackWall->SetColor(Value);
    if (Parent())
        FBackWall->Brush()->SetStyle(bsSolid);
}

void TCustomChart::SetBackImageInside(bool Value)
{
    SetProperty(FBackImageInside, Value, [this] { Invalidate(); });
}

void TCustomChart::DrawTitlesAndLegend()
{
    // A vertical legend spans the height the margins leave, so it goes before the titles; a
    // horizontal one sits between them and the plotting rectangle.
    const bool legend = FLegend->Visible() && ActiveSeriesCount() > 0;
    if (legend && FLegend->IsVertical())
        FLegend->PaintLegend();
    if (FTitle->Visible())
        FTitle->Draw(false);
    if (FFoot->Visible())
        FFoot->Draw(true);
    if (legend && !FLegend->IsVertical())
        FLegend->PaintLegend();
}

void TCustomChart::PaintWalls()
{
    // Two dimensions: only the back wall, a frame through the plotting rectangle's right and
    // bottom edge pixels.
    TTeeCanvas3D* canvas = Canvas();
    const TRect& r = PlotRect();
    canvas->ApplyPen(*FBackWall->Pen());
    const TChartBrush& brush = *FBackWall->Brush();
    const TColor wall = FBackWall->Color();
    const TBrushStyle style = brush.Style();
    if ((wall == clDefault && style == bsSolid) || style == bsClear) {
        canvas->Brush()->SetStyle(bsClear);
    } else if (style == bsSolid) {
        canvas->Brush()->SetColor(wall);
        canvas->Brush()->SetStyle(bsSolid);
    } else {
        // A hatch in the wall colour over the brush's own colour; equal colours would hide
        // it, so the hatch then turns white on black and black on anything else.
        TColor hatch = wall;
        if (ColorToRGB(hatch) == ColorToRGB(brush.Color()))
            hatch = ColorToRGB(brush.Color()) == clBlack ? clWhite : clBlack;
        canvas->Brush()->SetColor(brush.Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect({r.Left, r.Top, r.Right + 1, r.Bottom + 1});
        canvas->Brush()->SetColor(hatch);
        canvas->Brush()->SetStyle(style);
    }
    canvas->Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
}
