#pragma once
// The chart control: the axis panel plus its title, foot and walls. TChart only publishes.
//
// Threading: user-interface thread only. The chart owns its titles, walls, pens and brushes;
// the series it shows belong to the form.

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"
#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "platform/Types.h"

#include <memory>
#include <string>
#include <vector>

class TCustomChart;

// A part of the chart with a font of its own (the chart default: "Arial", 8 points, black).
class TChartFontObject : public TPersistent {
public:
    explicit TChartFontObject(TCustomChart* Chart);

    TCustomChart* ParentChart() const { return FParentChart; }
    TFont* Font() const { return FFont.get(); }

protected:
    void Repaint() const;

private:
    TCustomChart* FParentChart;
    std::unique_ptr<TFont> FFont;
};

// The frame of the plotting rectangle (back wall) and, in 3-D only, the side walls.
class TChartWall : public TPersistent {
public:
    explicit TChartWall(TCustomChart* Chart);

    TCustomChart* ParentChart() const { return FParentChart; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value);
    int Size() const { return FSize; }
    void SetSize(int Value);
    TChartBrush* Brush() const { return FBrush.get(); }
    TChartPen* Pen() const { return FPen.get(); }

private:
    void Repaint() const;

    TCustomChart* FParentChart;
    TColor FColor = clDefault;
    bool FDark3D = true;
    int FSize = 0;
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FPen;
};

// Lines of text above (title) or below (foot) the plotting rectangle.
class TChartTitle : public TChartFontObject {
public:
    explicit TChartTitle(TCustomChart* Chart);

    bool AdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TChartBrush* Brush() const { return FBrush.get(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TChartHiddenPen* Frame() const { return FFrame.get(); }
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Where it was drawn in the last paint.
    const TRect& TitleRect() const { return FTitleRect; }

private:
    friend class TCustomChart;
    // Draws at the top of the plotting rectangle, or at its bottom for the foot, and takes
    // the room from it.
    void Draw(bool IsFoot);

    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    std::unique_ptr<TChartBrush> FBrush;
    TColor FColor = clDefault;
    std::unique_ptr<TChartHiddenPen> FFrame;
    std::vector<std::string> FText;
    bool FVisible = true;
    TRect FTitleRect;
};

class TCustomChart : public TCustomAxisPanel {
public:
    explicit TCustomChart(TComponent* Owner);
    ~TCustomChart() override;

    TChartTitle* Title() const { return FTitle.get(); }
    TChartTitle* Foot() const { return FFoot.get(); }
    TChartWall* BackWall() const { return FBackWall.get(); }
    TChartWall* LeftWall() const { return FLeftWall.get(); }
    TChartWall* BottomWall() const { return FBottomWall.get(); }
    // The back wall's pen.
    TChartPen* Frame() const { return FBackWall->Pen(); }
    // The back wall's colour; setting it on a chart that has a parent window also makes the
    // back wall's brush solid.
    TColor BackColor() const { return FBackWall->Color(); }
    void SetBackColor(TColor Value);
    bool BackImageInside() const { return FBackImageInside; }
    void SetBackImageInside(bool Value);
    // The legend's background colour of the current paint.
    TColor LegendColor() const { return FLegendColor; }

protected:
    void DrawTitlesAndLegend() override;
    void PaintWalls() override;
    TColor BackWallColor() const override { return BackColor(); }

    TColor FLegendColor = clWhite;

private:
    std::unique_ptr<TChartTitle> FTitle;
    std::unique_ptr<TChartTitle> FFoot;
    std::unique_ptr<TChartWall> FBackWall;
    std::unique_ptr<TChartWall> FLeftWall;
    std::unique_ptr<TChartWall> FBottomWall;
    bool FBackImageInside = false;
};

class TChart : public TCustomChart {
public:
    using TCustomChart::TCustomChart;
};
