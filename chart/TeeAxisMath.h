#pragma once
// The arithmetic of an axis: label steps, label values, value/pixel conversion and minor tick
// places, as pure functions so that each rule can be checked against a table.
//
// Products and quotients are formed in extended precision and rounded to double where a result
// is kept; Round takes halves to the even neighbour (the processor's default rounding).
//
// Threading: pure; any thread.

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

// One axis' layout: the value range against the pixel range.
struct TAxisScale {
    double RangeMin = 0;
    double RangeMax = 0;
    double Range = 0;
    int StartPixel = 0;
    int EndPixel = 0;
    int AxisLength = 0;
    int CenterPixel = 0;
    bool Horizontal = true;
    bool Inverted = false;

    int ValueToPixel(double Value) const;
    double PixelToValue(int Pixel) const;

private:
    // Pixels per value for the length and range it was computed from, kept between calls.
    mutable int FScaleLength = 0;
    mutable double FScaleRange = 0;
    mutable double FPixelsPerValue = 0;
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
