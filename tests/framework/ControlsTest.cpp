#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/ExtCtrls.h"
#include "framework/InputDriver.h"
#include "framework/qt/NativeWidget.h"
#include "tests/support/PropertyChecks.h"

#include <QImage>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace {

// Paints its whole area in one colour and records what reaches it.
class Probe : public TWinControl {
public:
    explicit Probe(TComponent* owner) : TWinControl(owner) {}
    int Paints = 0;
    platform::TRgb Colour = 0x00FF00;
    std::vector<std::string> Log;
    bool ThrowOnClick = false;

protected:
    void Paint(platform::TDrawContext& dc) override
    {
        ++Paints;
        dc.SelectBrush({Colour, platform::TBrushStyle::Solid});
        dc.FillRect(ClientRect());
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log.push_back("down " + std::to_string(int(b)) + (s.Double ? " double " : " ") +
                      std::to_string(x) + "," + std::to_string(y));
        if (ThrowOnClick)
            throw Exception("bad click");
    }

protected:
    Probe(TComponent* owner, TNativeWindow* native) : TWinControl(owner, native) {}
    void MouseUp(TMouseButton, TShiftState, int x, int y) override
    {
        Log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    }
    void KeyDown(int& key, TShiftState s) override
    {
        Log.push_back("key " + std::to_string(key) + (s.Ctrl ? " ctrl" : ""));
        key = 0;
    }
};

struct Window {
    Probe* Form = new Probe(nullptr);
    Probe* Child = new Probe(Form);
    Window()
    {
        Form->SetBounds(0, 0, 200, 100);
        Child->SetParent(Form);
        Child->SetBounds(10, 20, 50, 30);
        Form->Show();
        Application->ProcessMessages();
    }
    ~Window() { delete Form; }
};

} // namespace

TEST(Controls, InvalidationsBeforeTheNextLoopTurnMakeOnePaint)
{
    Window w;
    const int before = w.Child->Paints;
    for (int i = 0; i < 5; ++i)
        w.Child->Invalidate();
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_EQ(w.Child->Paints, before + 1);
}

TEST(Controls, UpdatePaintsAPendingPaintAtOnceEvenWhenHidden)
{
    Probe p(nullptr);
    p.SetBounds(0, 0, 30, 20);
    p.Invalidate();
    p.Update();
    EXPECT_EQ(p.Paints, 1);
    p.Update(); // nothing pending
    EXPECT_EQ(p.Paints, 1);
    EXPECT_EQ(p.BackStore().Width(), 30);
    EXPECT_EQ(p.BackStore().Pixel(29, 19), 0x00FF00u);
}

TEST(Controls, ScreenshotShowsChildrenOverTheirParent)
{
    Window w;
    w.Form->Colour = 0xFFFFFF;
    w.Child->Colour = 0x0000FF;
    w.Form->Repaint();
    w.Child->Repaint();
    const std::string path = (std::filesystem::temp_directory_path() / "controls_shot.png").string();
    ASSERT_TRUE(w.Form->SaveScreenshot(path));
    QImage shot(QString::fromStdString(path));
    ASSERT_EQ(shot.width(), 200);
    EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shot.pixel(10, 20) & 0xFFFFFF, 0xFF0000u); // Qt pixel is 0xRRGGBB
    EXPECT_EQ(shot.pixel(59, 49) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.pixel(60, 50) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(Controls, MouseAndKeysReachTheHandlersInClientCoordinates)
{
    Window w;
    Input::MouseDown(*w.Child, TMouseButton::mbLeft, {3, 4});
    Input::MouseUp(*w.Child, TMouseButton::mbLeft, {5, 6});
    Input::DoubleClick(*w.Child, {1, 2}, TMouseButton::mbRight);
    w.Child->SetTabStop(true);
    w.Child->SetFocus();
    Input::KeyPress(*w.Child, VirtualKey::Escape, {.Ctrl = true});
    ASSERT_GE(w.Child->Log.size(), 4u);
    EXPECT_EQ(w.Child->Log[0], "down 0 3,4");
    EXPECT_EQ(w.Child->Log[1], "up 5,6");
    EXPECT_NE(std::find(w.Child->Log.begin(), w.Child->Log.end(), "down 1 double 1,2"),
              w.Child->Log.end());
    EXPECT_EQ(w.Child->Log.back(), "key 27 ctrl");
    QTest::keyClick(NativeWidgetOf(*w.Child), Qt::Key_Enter); // the keypad's
    EXPECT_EQ(w.Child->Log.back(), "key 13");
}

TEST(Controls, AnExceptionFromAHandlerReachesTheErrorDialogAndTheControlGoesOn)
{
    Window w;
    std::string shown;
    Application->OnException = [&](TObject*, const std::string& t) { shown = t; };
    w.Child->ThrowOnClick = true;
    Input::Click(*w.Child, {1, 1});
    Application->OnException = nullptr;
    EXPECT_EQ(shown, "bad click.");
    w.Child->ThrowOnClick = false;
    Input::Click(*w.Child, {2, 2});
    EXPECT_EQ(w.Child->Log.back(), "up 2,2");
}

TEST(Controls, CanFocusNeedsTheControlAndItsParentsVisibleAndEnabled)
{
    Window w;
    EXPECT_TRUE(w.Child->CanFocus());
    w.Form->SetEnabled(false);
    EXPECT_FALSE(w.Child->CanFocus());
    EXPECT_TRUE(w.Child->Enabled());
    w.Form->SetEnabled(true);
    w.Child->Hide();
    EXPECT_FALSE(w.Child->CanFocus());
    w.Child->Show();
    EXPECT_TRUE(w.Child->CanFocus());
}

TEST(Controls, ParentAndChildCanBeFreedInEitherOrder)
{
    {
        auto* parent = new Probe(nullptr);
        auto* child = new Probe(nullptr);
        child->SetParent(parent);
        delete parent; // the child outlives its parent's widget
        EXPECT_EQ(child->Parent(), nullptr);
        child->Invalidate();
        child->Update();
        EXPECT_EQ(child->Paints, 1);
        delete child;
    }
    {
        auto* parent = new Probe(nullptr);
        auto* child = new Probe(parent); // owned and parented
        child->SetParent(parent);
        delete child;
        EXPECT_EQ(parent->ComponentCount(), 0);
        delete parent;
    }
    Application->ProcessMessages(); // deferred widget deletion happens here
}

TEST(Controls, AWindowKeepsItsPlaceWhenOneEdgeChanges)
{
    Probe window(nullptr);
    window.SetBounds(40, 30, 200, 100);
    window.Show();
    Application->ProcessMessages();
    window.SetWidth(210);
    window.SetHeight(120);
    EXPECT_EQ(window.BoundsRect(), Rect(40, 30, 250, 150));
}

namespace {
// A control on a Qt widget with behaviour of its own, as the framework's button is.
class PushProbe : public Probe {
public:
    PushProbe() : Probe(nullptr, new TNativeWidget<QPushButton>(this)) {}
};
} // namespace

TEST(Controls, ADoubleClickOverABehavingWidgetIsForwardedOncePerPress)
{
    PushProbe p;
    p.SetBounds(0, 0, 40, 20);
    p.Show();
    Application->ProcessMessages();
    Input::Click(p, {3, 3});
    Input::DoubleClick(p, {3, 3});
    const auto downs = std::count_if(p.Log.begin(), p.Log.end(),
                                     [](const std::string& e) { return e.rfind("down", 0) == 0; });
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(p.Log.back(), "down 0 double 3,3");
}

namespace {
// Counts the repaints the panel asks for.
class TPanelProbe : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    int Requests = 0;
    void Invalidate() override
    {
        ++Requests;
        TCustomPanel::Invalidate();
    }
};
} // namespace

TEST(Panel, RepaintsExactlyWhenAPropertyChanges)
{
    TPanelProbe p(nullptr);
    ExpectActsExactlyOnChange([&] { return std::exchange(p.Requests, 0) > 0; }, {
        {"BevelOuter", [&] { p.SetBevelOuter(bvRaised); }, [&] { p.SetBevelOuter(bvLowered); }},
        {"BevelInner", [&] { p.SetBevelInner(bvNone); }, [&] { p.SetBevelInner(bvSpace); }},
        {"BevelWidth", [&] { p.SetBevelWidth(0); }, [&] { p.SetBevelWidth(2); }}, // 0 is 1
        {"BorderWidth", [&] { p.SetBorderWidth(-3); }, [&] { p.SetBorderWidth(4); }}, // -3 is 0
        {"Color", [&] { p.SetColor(clBtnFace); }, [&] { p.SetColor(clRed); }},
    });
}
