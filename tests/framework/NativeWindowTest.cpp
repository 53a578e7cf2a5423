// The control logic against a scripted native window: what a control asks of its window, and
// what it does with what the window reports, with no windowing system in between. Every
// backend's window sees exactly these requests.
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/NativeWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

// Records each request as "name: what", and keeps the bounds it was given.
class TFakeWindow final : public TNativeWindow {
public:
    TFakeWindow(std::string Name, TLog& Log) : FName(std::move(Name)), FLog(Log) {}

    TRect Place{0, 0, 10, 10};

    void Destroy() override
    {
        Note("destroy");
        delete this;
    }
    void SetParentWindow(TNativeWindow* Parent) override
    {
        Note("parent " + (Parent ? static_cast<TFakeWindow*>(Parent)->FName : "none"));
    }
    TRect Bounds() const override { return Place; }
    void SetBounds(const TRect& R) override
    {
        Place = R;
        Note("bounds " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
             std::to_string(R.Right) + "," + std::to_string(R.Bottom));
    }
    bool Showing() const override { return false; }
    void SetShown(bool Value) override { Note(Value ? "show" : "hide"); }
    void SetEnabled(bool Value) override { Note(Value ? "enable" : "disable"); }
    bool TabStop() const override { return false; }
    void SetFocusKind(TFocusKind) override {}
    void TabAfter(TNativeWindow& Previous) override
    {
        Note("tab after " + static_cast<TFakeWindow&>(Previous).FName);
    }
    bool HasFocus() const override { return false; }
    void TakeFocus() override {}
    TWinControl* FocusedControl() const override { return nullptr; }
    void SetCursorShape(TCursor) override {}
    bool HasMouseCapture() const override { return false; }
    void SetMouseCapture(bool) override {}
    TPoint ClientToScreen(TPoint P) const override { return P; }
    TPoint ScreenToClient(TPoint P) const override { return P; }
    void InvalidateWindow() override { Note("invalidate"); }
    void PaintNow() override { Note("paint now"); }
    bool SaveScreenshot(const std::string&) const override { return false; }

private:
    void Note(const std::string& What) { FLog.push_back(FName + ": " + What); }

    std::string FName;
    TLog& FLog;
};

// Counts its paints, takes Escape and leaves every other key to the system.
class Probe : public TWinControl {
public:
    Probe(const std::string& Name, TLog& Log) : Probe(new TFakeWindow(Name, Log)) {}
    TFakeWindow& Window;
    int Paints = 0;
    int Escapes = 0;

protected:
    void Paint(platform::TDrawContext&) override { ++Paints; }
    void KeyDown(int& Key, TShiftState) override
    {
        if (Key == VirtualKey::Escape) {
            ++Escapes;
            Key = 0;
        }
    }

private:
    explicit Probe(TFakeWindow* Window) : TWinControl(nullptr, Window), Window(*Window) {}
};

} // namespace

TEST(NativeWindow, ParentingKeepsVisibilityAndChainsTheTabOrder)
{
    TLog log;
    Probe form("form", log), a("a", log), b("b", log), c("c", log);
    a.SetTabOrder(2);
    b.SetTabOrder(0);
    c.Hide();
    c.SetTabOrder(1);
    for (Probe* child : {&a, &b, &c})
        child->SetParent(&form);
    EXPECT_EQ(log, (TLog{"c: hide",
                         "a: parent form", "a: show",
                         "b: parent form", "b: show", "a: tab after b",
                         "c: parent form", "c: hide", "c: tab after b", "a: tab after c"}));
}

TEST(NativeWindow, BoundsAreClientRectsWithoutNegativeSizes)
{
    TLog log;
    Probe p("p", log);
    p.SetBounds(5, 6, -3, 4);
    p.SetWidth(7);
    p.Window.Place = {1, 2, 31, 22}; // the platform moved and sized it
    EXPECT_EQ(p.BoundsRect(), Rect(1, 2, 31, 22));
    EXPECT_EQ(log, (TLog{"p: bounds 5,6,5,10", "p: bounds 5,6,12,10"}));
}

TEST(NativeWindow, PaintsTheBackStoreOnlyWhenStaleOrResized)
{
    TLog log;
    Probe p("p", log);
    for (int i = 0; i < 3; ++i)
        p.Invalidate();
    p.Update();
    p.Update();
    EXPECT_EQ(p.Paints, 1);
    EXPECT_EQ(log, (TLog{"p: invalidate", "p: invalidate", "p: invalidate", "p: paint now"}));

    // The window shows the back store: as it is while it fits, painted again once resized.
    EXPECT_EQ(&TControlDispatch::PaintedBackStore(p, 10, 10), &p.BackStore());
    EXPECT_EQ(p.Paints, 1);
    p.Window.Place = {0, 0, 25, 15};
    const platform::TBitmapImage& shown = TControlDispatch::PaintedBackStore(p, 25, 15);
    EXPECT_EQ(p.Paints, 2);
    EXPECT_EQ(shown.Width(), 25);
    EXPECT_EQ(shown.Height(), 15);
}

TEST(NativeWindow, EnablingActsOnlyOnAChange)
{
    TLog log;
    Probe p("p", log);
    p.SetEnabled(true);
    p.SetEnabled(false);
    p.SetEnabled(false);
    p.SetEnabled(true);
    EXPECT_EQ(log, (TLog{"p: disable", "p: invalidate", "p: enable", "p: invalidate"}));
}

TEST(NativeWindow, AKeyIsHandledOnlyWhenTheControlClearsIt)
{
    TLog log;
    Probe p("p", log);
    EXPECT_TRUE(TControlDispatch::KeyDown(p, VirtualKey::Escape, {}));
    EXPECT_FALSE(TControlDispatch::KeyDown(p, 'A', {}));
    EXPECT_FALSE(TControlDispatch::KeyDown(p, 0, {})) << "a key the controls do not know";
    EXPECT_EQ(p.Escapes, 1);
}

TEST(NativeWindow, AParentLetsGoOfItsChildrensWindowsAndEachWindowIsDestroyedOnce)
{
    TLog log;
    auto* parent = new Probe("parent", log);
    auto* child = new Probe("child", log);
    child->SetParent(parent);
    log.clear();
    delete parent;
    EXPECT_EQ(child->Parent(), nullptr);
    delete child;
    EXPECT_EQ(log, (TLog{"child: parent none", "parent: destroy", "child: destroy"}));
}
