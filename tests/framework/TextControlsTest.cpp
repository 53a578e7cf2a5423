// The drop-down list's selection rules (code never calls OnChange, the operator's changes call
// it once each) and the label's sizing, alignment and repaint-on-change rule.
#include "framework/Forms.h"
#include "framework/NativeWidget.h"
#include "framework/StdCtrls.h"
#include "tests/support/PropertyChecks.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

struct ComboBoxTest : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TComboBox* Box = new TComboBox(Form.get());
    int Changes = 0;

    ComboBoxTest()
    {
        Box->SetParent(Form.get());
        for (const char* item : {"COM1", "COM2", "COM3"})
            Box->Items().Add(item);
        Box->OnChange = [this](TObject* Sender) {
            EXPECT_EQ(Sender, Box);
            ++Changes;
        };
        Form->Show();
    }
    QComboBox* Native() const { return static_cast<QComboBox*>(NativeWidgetOf(*Box)); }
};

TEST_F(ComboBoxTest, CodeSelectsWithoutOnChange)
{
    EXPECT_EQ(Box->ItemIndex(), -1); // adding items selects none
    EXPECT_EQ(Box->Text(), "");
    Box->SetItemIndex(2);
    EXPECT_EQ(Box->Text(), "COM3");
    Box->SetItemIndex(-1);
    EXPECT_EQ(Box->Text(), "");
    EXPECT_THROW(Box->SetItemIndex(3), EListError);
    EXPECT_THROW(Box->SetItemIndex(-2), EListError);
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_EQ(Changes, 0);
}

TEST_F(ComboBoxTest, EachOperatorChangeCallsOnChangeOnce)
{
    Box->SetItemIndex(0);
    QTest::keyClick(Native(), Qt::Key_Down);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Box->ItemIndex(), 1);

    QLineEdit* field = Native()->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, "COM3"); // four edits; the last one is an item
    EXPECT_EQ(Changes, 5);
    EXPECT_EQ(Box->ItemIndex(), 2);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(Changes, 6);
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_EQ(Box->Text(), "COM");

    // Picking the item the field already shows changes nothing.
    Box->SetItemIndex(1);
    emit Native()->activated(1);
    EXPECT_EQ(Changes, 6);
}

struct CountingLabel : TLabel {
    using TLabel::TLabel;
    int Paints = 0;
    void Paint(platform::TDrawContext& DC) override
    {
        ++Paints;
        TLabel::Paint(DC);
    }
};

TEST(Label, RepaintsExactlyOnAChange)
{
    CountingLabel label(nullptr);
    int seen = 0;
    const auto acted = [&] {
        label.Update();
        const bool painted = label.Paints != seen;
        seen = label.Paints;
        return painted;
    };
    ExpectActsExactlyOnChange(acted, {{"Caption", [&] { label.SetCaption(label.Caption()); },
                                       [&] { label.SetCaption(label.Caption() + "x"); }},
                                      {"Alignment", [&] { label.SetAlignment(label.Alignment()); },
                                       [&] { label.SetAlignment(taCenter); }},
                                      {"AutoSize", [&] { label.SetAutoSize(label.AutoSize()); },
                                       [&] { label.SetAutoSize(!label.AutoSize()); }}});
}

// "MS Sans Serif" at 8 points is DejaVu Sans at an 11-pixel em here: "W" advances 11 pixels
// and a line is 13 high.
TEST(Label, SizesToItsCaptionOrRightAlignsInAFixedWidth)
{
    TForm form(nullptr);
    auto* sized = new TLabel(&form);
    sized->SetParent(&form);
    sized->SetBounds(10, 5, 100, 40);
    sized->SetCaption("WW");
    EXPECT_EQ(sized->BoundsRect(), (TRect{10, 5, 32, 18}));

    // Right-aligned in 41 pixels, the 22-pixel text sits 19 pixels right of where a
    // left-aligned label puts it.
    const auto ink = [&](TAlignment Alignment) {
        auto* fixed = new TLabel(&form);
        fixed->SetParent(&form);
        fixed->SetAutoSize(false);
        fixed->SetBounds(205, 12, 41, 13);
        fixed->Font().SetColor(clRed);
        fixed->SetAlignment(Alignment);
        fixed->SetCaption("WW");
        EXPECT_EQ(fixed->BoundsRect(), (TRect{205, 12, 246, 25}));
        fixed->Repaint();
        const QImage image = NativeWidgetOf(*fixed)->grab().toImage();
        int left = 41, right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == 0xFF0000) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair{left, right};
    };
    const auto [leftAlignedLeft, leftAlignedRight] = ink(taLeftJustify);
    const auto [rightAlignedLeft, rightAlignedRight] = ink(taRightJustify);
    ASSERT_LE(leftAlignedLeft, leftAlignedRight);
    EXPECT_LE(leftAlignedRight, 21);
    EXPECT_EQ(rightAlignedLeft, leftAlignedLeft + 19);
    EXPECT_EQ(rightAlignedRight, leftAlignedRight + 19);
}

} // namespace
