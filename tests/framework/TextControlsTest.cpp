// The drop-down list's selection rules (code never calls OnChange, the operator's changes call
// it once each) and the label's sizing, alignment and repaint-on-change rule.
#include "framework/Forms.h"
#include "framework/qt/NativeWidget.h"
#include "framework/StdCtrls.h"
#include "tests/support/PropertyChecks.h"

#include <gtest/gtest.h>

#include <QComboBox>
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
// and a line is 13 high. (Right alignment is checked to the pixel on the station's counter.)
TEST(Label, SizesToItsCaptionUnlessFixed)
{
    TForm form(nullptr);
    for (bool autoSize : {true, false}) {
        auto* label = new TLabel(&form);
        label->SetParent(&form);
        label->SetAutoSize(autoSize);
        label->SetBounds(10, 5, 100, 40);
        label->SetCaption("WW");
        EXPECT_EQ(label->BoundsRect(), (autoSize ? TRect{10, 5, 32, 18} : TRect{10, 5, 110, 45}));
    }
}

} // namespace
