// Value lists and the series' point store: ordered insertion, lazy statistics, growth and
// release of the sequences, point colours and labels, and the notifications of add and clear.
#include "chart/TeEngine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<double> Values(const TChartValueList* List)
{
    std::vector<double> v;
    for (int i = 0; i < List->Count(); ++i)
        v.push_back(List->Value(i));
    return v;
}

TEST(GrowCapacity, StepsOfFourThenSixteenThenAQuarter)
{
    struct Case {
        int Capacity, Next;
    } cases[] = {{0, 4}, {4, 8}, {8, 12}, {12, 28}, {60, 76}, {64, 80}, {76, 95}, {80, 100},
                 {1000, 1250}, {1003, 1253}};
    for (const Case& c : cases)
        EXPECT_EQ(GrowCapacity(c.Capacity), c.Next) << c.Capacity;
}

TEST(ValueList, AscendingInsertionPlacesEqualValuesLast)
{
    TChartSeries s(nullptr);
    TChartValueList* x = s.XValues();
    for (double v : {0.0, 1.0, 3.0})
        x->AddInOrder(v);
    EXPECT_EQ(x->AddInOrder(2), 2);
    EXPECT_EQ(x->AddInOrder(1), 2);
    EXPECT_EQ(x->AddInOrder(-1), 0);
    EXPECT_EQ(x->AddInOrder(7), 6);
    EXPECT_EQ(Values(x), (std::vector<double>{-1, 0, 1, 1, 2, 3, 7}));
}

TEST(ValueList, DescendingInsertion)
{
    TChartSeries s(nullptr);
    TChartValueList* y = s.YValues();
    y->SetOrder(loDescending);
    for (double v : {5.0, 3.0, 1.0})
        y->AddInOrder(v);
    {
        TChartSeries t(nullptr);
        t.YValues()->SetOrder(loDescending);
        for (double v : {5.0, 3.0, 1.0})
            t.YValues()->AddInOrder(v);
        EXPECT_EQ(t.YValues()->AddInOrder(3), 2);
    }
    EXPECT_EQ(y->AddInOrder(4), 1);
    EXPECT_EQ(y->AddInOrder(3), 3); // after the 3 already there: 5 4 3 3 1
    EXPECT_EQ(y->AddInOrder(9), 0);
    EXPECT_EQ(y->AddInOrder(0), 6);
    EXPECT_EQ(Values(y), (std::vector<double>{9, 5, 4, 3, 3, 1, 0}));
}

TEST(ValueList, UnorderedListAppends)
{
    TChartSeries s(nullptr);
    TChartValueList* y = s.YValues();
    EXPECT_EQ(y->AddInOrder(5), 0);
    EXPECT_EQ(y->AddInOrder(1), 1);
    EXPECT_EQ(y->AddInOrder(3), 2);
}

TEST(ValueList, StatisticsOfEmptySingleAndScaledLists)
{
    TChartSeries s(nullptr);
    TChartValueList* y = s.YValues();
    EXPECT_EQ(y->MinValue(), 0);
    EXPECT_EQ(y->MaxValue(), 0);
    EXPECT_EQ(y->Total(), 0);
    EXPECT_EQ(y->AbsTotal(), 0);

    y->AddInOrder(-2);
    EXPECT_EQ(y->MinValue(), -2);
    EXPECT_EQ(y->MaxValue(), -2);
    EXPECT_EQ(y->Total(), -2);
    EXPECT_EQ(y->AbsTotal(), 2);

    y->SetValue(0, 3);
    y->SetMultiplier(2);
    EXPECT_EQ(y->Value(0), 6);
    EXPECT_EQ(y->MaxValue(), 6);
    y->AddInOrder(-4); // reads as -8
    EXPECT_EQ(y->MinValue(), -8);
    EXPECT_EQ(y->MaxValue(), 6);
    EXPECT_EQ(y->Total(), -2);
    EXPECT_EQ(y->AbsTotal(), 14);
    EXPECT_EQ(y->Last(), -8);
    EXPECT_EQ(y->IndexOfValue(-8), 1);
    EXPECT_EQ(y->IndexOfValue(-4), -1); // compares scaled values

    y->DeleteAt(0);
    EXPECT_EQ(y->MaxValue(), -8);
}

TEST(ValueList, StatisticsFollowInsertionsBelowTheMinimum)
{
    // The minimum and maximum share one pass: a value below the first must still be seen.
    TChartSeries s(nullptr);
    TChartValueList* y = s.YValues();
    for (double v : {5.0, 9.0, 1.0, 7.0})
        y->AddInOrder(v);
    EXPECT_EQ(y->MinValue(), 1);
    EXPECT_EQ(y->MaxValue(), 9);
    EXPECT_EQ(y->Total(), 22);
}

TEST(ValueList, BadIndexRaisesListErrorAndChangesNothing)
{
    TChartSeries s(nullptr);
    s.Add(1);
    s.Add(2);
    try {
        s.YValues()->Value(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW(s.YValues()->SetValue(-1, 0), EListError);
    EXPECT_THROW(s.YValues()->DeleteAt(5), EListError);
    try {
        s.Delete(3);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.YValues()->Count(), 2);
    EXPECT_THROW(TChartSeries(nullptr).YValues()->Last(), EListError);
}

TEST(Series, DefaultsAndValueListsInCreationOrder)
{
    TChartSeries s(nullptr);
    EXPECT_TRUE(s.Active());
    EXPECT_EQ(s.SeriesColor(), clDefault);
    EXPECT_TRUE(s.ShowInLegend());
    EXPECT_EQ(s.HorizAxis(), aBottomAxis);
    EXPECT_EQ(s.VertAxis(), aLeftAxis);
    EXPECT_EQ(s.FirstShown(), -1);
    EXPECT_EQ(s.LastShown(), -1);
    ASSERT_EQ(s.ValuesLists().Count(), 2);
    EXPECT_EQ(s.ValuesLists()[0], s.XValues());
    EXPECT_EQ(s.ValuesLists()[1], s.YValues());
    EXPECT_EQ(s.XValues()->Name(), "X");
    EXPECT_EQ(s.XValues()->Order(), loAscending);
    EXPECT_EQ(s.YValues()->Name(), "Y");
    EXPECT_EQ(s.YValues()->Order(), loNone);
    EXPECT_EQ(s.YValues()->Multiplier(), 1.0);
    EXPECT_EQ(s.ValueFormat(), "#,##0.###");
}

TEST(Series, AddGivesIndicesAsXAfterClear)
{
    TChartSeries s(nullptr);
    s.Add(1);
    s.Clear();
    for (double v : {5.0, 7.0, 3.0})
        s.Add(v, "", clDefault);
    EXPECT_EQ(s.Count(), 3);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{5, 7, 3}));
    EXPECT_EQ(s.MinYValue(), 3);
    EXPECT_EQ(s.MaxXValue(), 2);
}

TEST(Series, PointsKeepTheirColourAndLabelWhenInsertedInOrder)
{
    TChartSeries s(nullptr);
    s.AddPoint(0, 10, "a", clRed);
    s.AddPoint(1, 11, "b", clLime);
    s.AddPoint(3, 13, "", clBlue);
    EXPECT_EQ(s.AddPoint(2, 12, "c", clYellow), 2);
    EXPECT_EQ(s.AddPoint(1, 99, "", clDefault), 2);
    EXPECT_EQ(s.AddPoint(-1, -10, "first", clAqua), 0);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{-1, 0, 1, 1, 2, 3}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{-10, 10, 11, 99, 12, 13}));
    const std::vector<std::string> labels = {"first", "a", "b", "", "c", ""};
    const std::vector<TColor> colours = {clAqua, clRed, clLime, clDefault, clYellow, clBlue};
    s.SetSeriesColor(clGreen);
    for (int i = 0; i < s.Count(); ++i) {
        EXPECT_EQ(s.PointLabel(i), labels[i]) << i;
        EXPECT_EQ(s.PointColor(i), colours[i] == clDefault ? clGreen : colours[i]) << i;
    }
    s.Delete(0);
    EXPECT_EQ(s.PointLabel(0), "a");
    EXPECT_EQ(s.PointColor(0), clRed);
    EXPECT_EQ(s.Count(), 5);
}

TEST(Series, PointColourFallsBackToSeriesOrPalette)
{
    TChartSeries s(nullptr);
    s.SetSeriesColor(clRed);
    s.Add(1, "", clDefault);
    s.Add(2, "", 0x0000FF00);
    s.Add(3, "", clDefault);
    EXPECT_EQ(s.PointColor(0), clRed);
    EXPECT_EQ(s.PointColor(1), TColor(0x0000FF00));
    EXPECT_EQ(s.PointColor(99), clRed); // beyond the points: no failure
    EXPECT_EQ(s.PointLabel(99), "");

    s.SetColorEachPoint(true);
    EXPECT_EQ(s.PointColor(0), GetDefaultColor(0));
    EXPECT_EQ(s.PointColor(2), GetDefaultColor(2));
    EXPECT_EQ(s.PointColor(1), TColor(0x0000FF00));
    // Switching it off resets every stored colour.
    s.SetColorEachPoint(false);
    EXPECT_EQ(s.PointColor(1), clRed);
}

TEST(Series, DefaultPaletteWrapsAfterSixteen)
{
    const TColor expected[] = {0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080,
                               0xFF00FF, 0x808000, 0x800000, 0x000080, 0x00FF00, 0x008080,
                               0x800080, 0xC0C0C0, 0xFFFF00, 0x000000};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(GetDefaultColor(i), expected[i]) << i;
        EXPECT_EQ(GetDefaultColor(i + 16), expected[i]) << i;
    }
}

TEST(Series, SequencesGrowInStepsAndClearReleasesThem)
{
    TChartSeries s(nullptr);
    s.Add(1, "only label");
    EXPECT_EQ(s.XValues()->Capacity(), 4);
    EXPECT_EQ(s.ColorCapacity(), 4);
    EXPECT_EQ(s.LabelCapacity(), 4);
    int expected = 4;
    for (int n = 2; n <= 200; ++n) {
        s.Add(n);
        if (n > expected)
            expected = GrowCapacity(expected);
        ASSERT_EQ(s.YValues()->Capacity(), expected) << n;
    }
    EXPECT_EQ(s.ColorCapacity(), expected);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.XValues()->Capacity(), 0);
    EXPECT_EQ(s.YValues()->Capacity(), 0);
    EXPECT_EQ(s.ColorCapacity(), 0);
    EXPECT_EQ(s.LabelCapacity(), 0);
}

TEST(Series, BeforeAddCanCancelAndAfterAddSeesTheIndex)
{
    TChartSeries s(nullptr);
    std::vector<int> added;
    bool allow = true;
    s.OnBeforeAdd = [&](TChartSeries* sender) {
        EXPECT_EQ(sender, &s);
        // The staged values are there for the handler to look at.
        EXPECT_EQ(sender->YValues()->FStagedValue, 42);
        return allow;
    };
    s.OnAfterAdd = [&](TChartSeries*, int index) { added.push_back(index); };
    EXPECT_EQ(s.Add(42), 0);
    allow = false;
    EXPECT_EQ(s.Add(42), -1);
    EXPECT_EQ(s.Count(), 1);
    EXPECT_EQ(s.ColorCapacity(), 4);
    EXPECT_EQ(added, (std::vector<int>{0}));
}

TEST(Series, VisibleRangeWithoutChartIsEverything)
{
    TChartSeries s(nullptr);
    s.CalcVisibleRange();
    EXPECT_EQ(s.FirstShown(), -1);
    EXPECT_EQ(s.LastShown(), -1);
    for (int i = 0; i < 5; ++i)
        s.Add(i);
    s.CalcVisibleRange();
    EXPECT_EQ(s.FirstShown(), 0);
    EXPECT_EQ(s.LastShown(), 4);
}

} // namespace
