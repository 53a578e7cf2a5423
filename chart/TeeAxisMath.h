#pragma once
// The arithmetic of an axis: label steps, label values, value/pixel conversion and minor tick
// places, as pure functions and one plain value type (the scale), so that each rule can be
// checked against a table.
//
// Products and quotients are formed in extended precision and rounded to double where a result
// is kept; Round takes halves to the even neighbour (the processor's default rounding).
//
// Threading: no shared state; any thread.

#include <vector>

namespace axismath {

// Nearest integer, halves to even; NaN gives 0 and values beyond the int range saturate.
int Round(double X);

// The next label step of the 1-2-5 sequence above X (X > 0). A value that cannot step (not
// positive or not finite) is returned unchanged.
double NextIncrementStep(double X);

// How many labels of LabelSize pixels (plus the separation, percent of the size) fit along
// AxisLength pixels; 1 when the labels take no room.
int MaxLabelCount(int AxisLength, int LabelSize, int SeparationPercent);

// The label step for at most MaxLabels labels across Range, starting from the wished step
// (0 = automatic) and stepping up while the labels do not fit; never below 1e-12.
double IncrementForLabels(double Range, int MaxLabels, double Wished, int SeparationPercent);

// The values that get a label, from the top (right) end downwards. Empty when there is nothing
// to label: no positive step, an inverted range, or 10000 labels or more.
std::vector<double> LabelValues(double RangeMin, double RangeMax, double Increment, bool RoundFirstLabel);

// One axis' layout: the value range against the pixel range. It is given the two ends of each
// and keeps what follows from them (range, length, centre, pixels per value) in step itself.
class TAxisScale {
public:
    void SetValues(double Min, double Max);
    void SetPixels(int Start, int End);
    void SetHorizontal(bool Value) { FHorizontal = Value; }
    void SetInverted(bool Value) { FInverted = Value; }

    double RangeMin() const { return FRangeMin; }
    double RangeMax() const { return FRangeMax; }
    double Range() const { return FRange; }
    int StartPixel() const { return FStartPixel; }
    int EndPixel() const { return FEndPixel; }
    int AxisLength() const { return FAxisLength; }
    int CenterPixel() const { return FCenterPixel; }
    bool Horizontal() const { return FHorizontal; }
    bool Inverted() const { return FInverted; }

    int ValueToPixel(double Value) const;
    double PixelToValue(int Pixel) const;

private:
    void UpdatePixelsPerValue();

    double FRangeMin = 0;
    double FRangeMax = 0;
    double FRange = 0;
    int FStartPixel = 0;
    int FEndPixel = 0;
    int FAxisLength = 0;
    int FCenterPixel = 0;
    bool FHorizontal = true;
    bool FInverted = false;
    // The quick path's factor, AxisLength / Range.
    double FPixelsPerValue = 0;
};

// First and last pixel of an axis along a plotting rectangle edge that starts at Origin and
// runs Size pixels, for the start and end given in percent.
struct TPixelSpan {
    int Start = 0;
    int End = 0;
};
TPixelSpan AxisPixelSpan(int Origin, int Size, double StartPercent, double EndPercent);

// Minor tick places for the major positions in recording order, Count between two majors,
// extended beyond both ends, keeping only those strictly between Start and End.
std::vector<int> MinorTickPositions(const std::vector<int>& Major, int Count, int Start, int End);

// Grid places halfway between consecutive major positions.
std::vector<int> CenteredGridPositions(const std::vector<int>& Major);

} // namespace axismath
