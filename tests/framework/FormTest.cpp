#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/qt/NativeWidget.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"

#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

TEST(Form, CaptionColourAndWindowFont)
{
    TForm form(nullptr);
    form.SetCaption("Ostrel_SMT for Brazil");
    EXPECT_EQ(NativeWidgetOf(form)->windowTitle().toStdString(), "Ostrel_SMT for Brazil");
    EXPECT_EQ(form.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(form.Font().Height(), -11);
    EXPECT_EQ(form.Font().Color(), clWindowText);

    form.SetBounds(0, 0, 40, 30);
    form.SetColor(0x00F0CAA6);
    form.Repaint();
    EXPECT_EQ(form.BackStore().Pixel(20, 15), 0x00F0CAA6u);
}

TEST(Form, CloseAsksOnCloseAndHidesUnlessRefused)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 100, 80);
    form.Show();
    int asked = 0;
    TCloseAction answer = caNone;
    form.OnClose = [&](TObject* sender, TCloseAction& action) {
        EXPECT_EQ(sender, &form);
        EXPECT_EQ(action, caHide);
        ++asked;
        action = answer;
    };
    form.Close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(NativeWidgetOf(form)->isVisible());

    answer = caHide;
    form.Close();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(NativeWidgetOf(form)->isVisible());
}

TEST(Form, VisibleOnlyWhileShownAndItsControlsCanFocusOnlyThen)
{
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    EXPECT_FALSE(form.Visible()) << "not shown yet";
    EXPECT_TRUE(button->Visible()) << "a control is visible unless hidden";
    EXPECT_FALSE(button->CanFocus());

    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(button->CanFocus());

    TCloseAction answer = caNone;
    form.OnClose = [&](TObject*, TCloseAction& action) { action = answer; };
    form.Close();
    EXPECT_TRUE(form.Visible()) << "refused";
    answer = caHide;
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(button->CanFocus());

    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(button->Visible());
    EXPECT_TRUE(button->CanFocus());
}

TEST(Form, FailingOnCloseKeepsTheWindowOpen)
{
    TForm form(nullptr);
    form.Show();
    std::string shown;
    Application->OnException = [&](TObject*, const std::string& text) { shown = text; };
    form.OnClose = [](TObject*, TCloseAction&) { throw Exception("Still busy"); };
    form.Close();
    Application->OnException = nullptr;
    EXPECT_EQ(shown, "Still busy.");
    EXPECT_TRUE(NativeWidgetOf(form)->isVisible());
}

TEST(Form, ClosingTheLastWindowEndsTheMessageLoop)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 100, 80);
    form.Show();
    TTimer closer(nullptr);
    closer.SetInterval(20);
    closer.SetOnTimer([&](TObject*) {
        closer.SetEnabled(false);
        form.Close();
    });
    // Ends a loop that the close did not end, so a failure cannot hang the suite.
    bool rescued = false;
    TTimer rescue(nullptr);
    rescue.SetInterval(3000);
    rescue.SetOnTimer([&](TObject*) {
        rescued = true;
        Application->Terminate();
    });
    Application->Run();
    EXPECT_FALSE(rescued);
    EXPECT_FALSE(NativeWidgetOf(form)->isVisible());
}

TEST(Form, FixedSingleBorderWindowWithoutMaximiseCentredOnTheDesktop)
{
    TForm form(nullptr);
    form.SetBorderStyle(bsSingle);
    form.SetBorderIcons({true, true, false});
    form.SetPosition(poScreenCenter);
    form.SetBounds(0, 0, 465, 277); // the owner may still size it before it is shown
    form.Show();
    QWidget* w = NativeWidgetOf(form);
    EXPECT_EQ(w->minimumSize(), QSize(465, 277));
    EXPECT_EQ(w->maximumSize(), QSize(465, 277));
    w->resize(600, 400); // what a drag on the border would ask for
    EXPECT_EQ(form.Width(), 465);
    EXPECT_EQ(form.Height(), 277);

    const Qt::WindowFlags flags = w->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);

    const QRect desktop = w->screen()->availableGeometry();
    EXPECT_NEAR(w->frameGeometry().center().x(), desktop.center().x(), 1);
    EXPECT_NEAR(w->frameGeometry().center().y(), desktop.center().y(), 1);
}

TEST(Form, SizeableWindowKeepsItsPlaceAndCanBeResized)
{
    TForm form(nullptr);
    form.SetBounds(30, 40, 200, 100);
    form.Show();
    EXPECT_EQ(NativeWidgetOf(form)->geometry().topLeft(), QPoint(30, 40));
    EXPECT_TRUE(NativeWidgetOf(form)->windowFlags() & Qt::WindowMaximizeButtonHint);
    NativeWidgetOf(form)->resize(300, 150);
    EXPECT_EQ(form.Width(), 300);
}
