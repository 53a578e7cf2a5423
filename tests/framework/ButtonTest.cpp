#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/InputDriver.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

// A window with two buttons, shown and active, as the station's window is.
struct Window {
    TForm* Form = new TForm(nullptr);
    TButton* A = new TButton(Form);
    TButton* B = new TButton(Form);
    int ClicksA = 0;
    int ClicksB = 0;

    Window()
    {
        Form->SetBounds(40, 40, 200, 100);
        for (TButton* b : {A, B})
            b->SetParent(Form);
        A->SetBounds(10, 10, 60, 25);
        B->SetBounds(80, 10, 60, 25);
        A->SetCaption("A");
        B->SetCaption("B");
        A->OnClick = [this](TObject* sender) {
            EXPECT_EQ(sender, A);
            ++ClicksA;
        };
        B->OnClick = [this](TObject*) { ++ClicksB; };
        Form->Show();
        EXPECT_TRUE(Input::ActivateWindow(*Form));
    }
    ~Window() { delete Form; }

    static TPoint Centre(TButton* b) { return {(b->Width() - 1) / 2, (b->Height() - 1) / 2}; }
};

} // namespace

TEST(StripHotkey, RemovesAcceleratorMarks)
{
    EXPECT_EQ(StripHotkey("KEYPAD"), "KEYPAD");
    EXPECT_EQ(StripHotkey("&Exit"), "Exit");
    EXPECT_EQ(StripHotkey("Save && E&xit"), "Save & Exit");
    EXPECT_EQ(StripHotkey("trailing&"), "trailing");
    EXPECT_EQ(StripHotkey("退出"), "退出");
    EXPECT_EQ(StripHotkey(""), "");
}

TEST(StripHotkey, FindsTheAcceleratorLetterInTheShownText)
{
    EXPECT_EQ(HotkeySpan("&Go"), (THotkeySpan{0, 1}));
    EXPECT_EQ(HotkeySpan("Save && E&xit"), (THotkeySpan{8, 1}));
    EXPECT_EQ(HotkeySpan("退&出"), (THotkeySpan{3, 3}));
    EXPECT_EQ(HotkeySpan("A&&B"), THotkeySpan{});
    EXPECT_EQ(HotkeySpan("KEYPAD&"), THotkeySpan{});
    EXPECT_EQ(HotkeySpan("&a&b"), (THotkeySpan{0, 1}));
}

TEST(Button, DefaultsOfThePlatformButton)
{
    TButton b(nullptr);
    EXPECT_EQ(b.Width(), 75);
    EXPECT_EQ(b.Height(), 25);
    EXPECT_TRUE(b.TabStop());
    EXPECT_FALSE(b.Cancel());
    EXPECT_FALSE(b.Default());
    EXPECT_EQ(b.ModalResult(), 0);
    EXPECT_TRUE(b.ParentFont());
}

TEST(Button, FullLeftClickClicksAndReleasingOutsideDoesNot)
{
    Window w;
    Input::Click(*w.A, w.Centre(w.A));
    EXPECT_EQ(w.ClicksA, 1);

    Input::MouseDown(*w.A, TMouseButton::mbLeft, w.Centre(w.A));
    Input::MouseUp(*w.A, TMouseButton::mbLeft, {100, 5}); // outside the button
    EXPECT_EQ(w.ClicksA, 1);

    Input::Click(*w.A, w.Centre(w.A), TMouseButton::mbRight);
    EXPECT_EQ(w.ClicksA, 1);
}

TEST(Button, DoubleClickCountsAsSecondPress)
{
    Window w;
    // What the platform sends for a double click: press, release, double click, release.
    Input::Click(*w.A, w.Centre(w.A));
    Input::DoubleClick(*w.A, w.Centre(w.A));
    Input::MouseUp(*w.A, TMouseButton::mbLeft, w.Centre(w.A));
    EXPECT_EQ(w.ClicksA, 2);
}

TEST(Button, SpaceClicksTheFocusedButtonOnlyWithoutModifiers)
{
    Window w;
    w.A->SetFocus();
    ASSERT_TRUE(w.A->Focused());
    Input::KeyPress(*w.A, VirtualKey::Space);
    EXPECT_EQ(w.ClicksA, 1);
    Input::KeyPress(*w.A, VirtualKey::Space, {.Shift = true});
    Input::KeyPress(*w.A, VirtualKey::Space, {.Ctrl = true});
    EXPECT_EQ(w.ClicksA, 1);
    EXPECT_EQ(w.ClicksB, 0);
}

TEST(Button, EscClicksTheCancelButtonUnlessHiddenDisabledOrWithModifier)
{
    Window w;
    w.B->SetCancel(true);
    w.A->SetFocus();
    TButton& focus = *w.A; // the key goes to the focused button first
    Input::KeyPress(focus, VirtualKey::Escape);
    EXPECT_EQ(w.ClicksB, 1);
    EXPECT_EQ(w.ClicksA, 0);

    for (TShiftState modifier : {TShiftState{.Shift = true}, TShiftState{.Ctrl = true},
                                 TShiftState{.Alt = true}})
        Input::KeyPress(focus, VirtualKey::Escape, modifier);
    EXPECT_EQ(w.ClicksB, 1);

    w.B->SetEnabled(false);
    Input::KeyPress(focus, VirtualKey::Escape);
    EXPECT_EQ(w.ClicksB, 1);
    w.B->SetEnabled(true);

    w.B->Hide();
    Input::KeyPress(focus, VirtualKey::Escape);
    EXPECT_EQ(w.ClicksB, 1);
    w.B->Show();

    Input::KeyPress(focus, VirtualKey::Escape);
    EXPECT_EQ(w.ClicksB, 2);
}

TEST(Button, EnterClicksTheActiveButton)
{
    Window w;
    auto* field = new TWinControl(w.Form); // a focusable control that is not a button
    field->SetParent(w.Form);
    field->SetBounds(10, 50, 60, 20);
    field->SetTabStop(true);

    // The first button of the window has the focus, so it is the active one.
    ASSERT_TRUE(w.A->Focused());
    EXPECT_TRUE(w.A->Active());
    Input::KeyPress(*w.A, VirtualKey::Return);
    Input::KeyPress(*w.A, VirtualKey::Return);
    EXPECT_EQ(w.ClicksA, 2);
    Input::KeyPress(*w.A, VirtualKey::Return, {.Shift = true});
    EXPECT_EQ(w.ClicksA, 2);

    // A Default button is not active while another button has the focus ...
    w.B->SetDefault(true);
    EXPECT_FALSE(w.B->Active());
    // ... but is once the focus is on a control that is not a button.
    field->SetFocus();
    EXPECT_TRUE(w.B->Active());
    EXPECT_FALSE(w.A->Active());
    Input::KeyPress(*field, VirtualKey::Return);
    EXPECT_EQ(w.ClicksB, 1);
    EXPECT_EQ(w.ClicksA, 2);

    // Without the Default role nothing is active there.
    w.B->SetDefault(false);
    EXPECT_FALSE(w.B->Active());
    Input::KeyPress(*field, VirtualKey::Return);
    EXPECT_EQ(w.ClicksB, 1);
}

TEST(Button, TabMovesTheFocusInTabOrderNotInCreationOrder)
{
    Window w;
    auto* c = new TButton(w.Form);
    c->SetParent(w.Form);
    c->SetBounds(150, 10, 40, 25);
    w.A->SetTabOrder(2);
    w.B->SetTabOrder(0);
    c->SetTabOrder(1);
    w.B->SetFocus();
    ASSERT_TRUE(w.B->Focused());
    Input::KeyPress(*w.B, VirtualKey::Tab);
    EXPECT_TRUE(c->Focused());
    Input::KeyPress(*c, VirtualKey::Tab);
    EXPECT_TRUE(w.A->Focused());
    Input::KeyPress(*w.A, VirtualKey::Tab);
    EXPECT_TRUE(w.B->Focused()) << "round again";
    Input::KeyPress(*w.B, VirtualKey::Tab, {.Shift = true});
    EXPECT_TRUE(w.A->Focused());

    // A button that is not a tab stop is passed over.
    c->SetTabStop(false);
    Input::KeyPress(*w.A, VirtualKey::Tab);
    Input::KeyPress(*w.B, VirtualKey::Tab);
    EXPECT_TRUE(w.A->Focused());
}

TEST(Button, TabOrderGivenBeforeTheParentStillCounts)
{
    Window w;
    auto* c = new TButton(w.Form);
    auto* d = new TButton(w.Form);
    c->SetTabOrder(3);
    d->SetTabOrder(2);
    w.A->SetTabOrder(1);
    w.B->SetTabOrder(0);
    c->SetParent(w.Form);
    d->SetParent(w.Form);
    c->SetBounds(150, 10, 20, 25);
    d->SetBounds(175, 10, 20, 25);
    w.A->SetFocus();
    Input::KeyPress(*w.A, VirtualKey::Tab);
    EXPECT_TRUE(d->Focused());
    Input::KeyPress(*d, VirtualKey::Tab);
    EXPECT_TRUE(c->Focused());
}

TEST(Button, AcceleratorLetterClicks)
{
    Window w;
    w.A->SetCaption("&Go");
    Input::KeyPress(*w.Form, 'G', {.Alt = true});
    EXPECT_TRUE(Application->ProcessMessagesUntil([&] { return w.ClicksA == 1; }, 2000));
}

TEST(Button, ClickCopiesModalResultToTheWindowBeforeOnClick)
{
    Window w;
    w.A->SetModalResult(2);
    int seen = -1;
    w.A->OnClick = [&](TObject*) { seen = w.Form->ModalResult(); };
    w.A->Click();
    EXPECT_EQ(seen, 2);
    w.B->Click(); // a button without a result clears it
    EXPECT_EQ(w.Form->ModalResult(), 0);
}

TEST(Button, ThrowingOnClickReachesTheErrorDialog)
{
    Window w;
    std::string shown;
    Application->OnException = [&](TObject*, const std::string& text) { shown = text; };
    w.A->OnClick = [](TObject*) { throw Exception("Port not open"); };
    Input::Click(*w.A, w.Centre(w.A));
    Application->OnException = nullptr;
    EXPECT_EQ(shown, "Port not open.");
}

TEST(Button, ParentFontFollowsTheWindowUntilTheButtonGetsItsOwn)
{
    Window w;
    EXPECT_EQ(w.A->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(w.A->Font().Size(), 8);
    w.Form->Font().SetName("Arial");
    EXPECT_EQ(w.A->Font().Name(), "Arial");

    w.A->Font().SetColor(clRed);
    EXPECT_FALSE(w.A->ParentFont());
    w.Form->Font().SetName("Courier New");
    EXPECT_EQ(w.A->Font().Name(), "Arial");
    EXPECT_EQ(w.B->Font().Name(), "Courier New");

    w.A->SetParentFont(true);
    EXPECT_EQ(w.A->Font().Name(), "Courier New");
    EXPECT_EQ(w.A->Font().Color(), clWindowText);
}

TEST(Button, PlainButtonIsPaintedRaisedWithItsCaption)
{
    Window w;
    ASSERT_FALSE(w.B->Focused());
    w.B->Repaint();
    const auto& img = w.B->BackStore();
    EXPECT_EQ(img.Pixel(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(img.Pixel(59, 24), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(img.Pixel(58, 23), ColorToRGB(clBtnShadow));
    EXPECT_EQ(img.Pixel(5, 5), ColorToRGB(clBtnFace));
    int ink = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 20; x < 40; ++x)
            ink += img.Pixel(x, y) == clBlack;
    EXPECT_GT(ink, 5) << "caption drawn in the middle";
}
