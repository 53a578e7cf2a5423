// The edit and the drop-down list over the system's own EDIT and COMBOBOX: what a program sets
// is what Windows shows, and the operator's keys reach OnChange through the system's
// notifications, once per change.
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/InputDriver.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct ComboBoxWindow : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TComboBox* Box = new TComboBox(Form.get());
    HWND Handle = TNativeAccess::Handle(*Box);
    int Changes = 0;

    ComboBoxWindow()
    {
        Form->SetBounds(40, 40, 200, 100);
        Box->SetParent(Form.get());
        Box->SetBounds(10, 10, 120, 21);
        for (const char* item : {"COM1", "COM2", "COM3"})
            Box->Items().Add(item);
        Box->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
        EXPECT_TRUE(Input::ActivateWindow(*Form));
    }
    LRESULT Selected() const { return SendMessageW(Handle, CB_GETCURSEL, 0, 0); }
};

} // namespace

TEST_F(ComboBoxWindow, CodeSelectsInTheSystemListWithoutOnChange)
{
    EXPECT_EQ(SendMessageW(Handle, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Selected(), CB_ERR);
    Box->SetItemIndex(2);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Box->Text(), "COM3");
    Box->SetItemIndex(-1);
    EXPECT_EQ(Selected(), CB_ERR);
    EXPECT_EQ(GetWindowTextLengthW(Handle), 0);
    EXPECT_EQ(Changes, 0);
}

TEST_F(ComboBoxWindow, EachOperatorChangeCallsOnChangeOnce)
{
    Box->SetItemIndex(0);
    Box->SetFocus();
    Input::KeyPress(*Box, VirtualKey::Down);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Box->ItemIndex(), 1);
    EXPECT_EQ(Selected(), 1);

    Input::KeyPress(*Box, VirtualKey::Back); // the picked text is selected: it goes
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Box->Text(), "");
    for (int key : {'C', 'O', 'M', '3'})
        Input::KeyPress(*Box, key, {.Shift = key != '3'});
    EXPECT_EQ(Changes, 6);
    EXPECT_EQ(Box->Text(), "COM3");
    EXPECT_EQ(Box->ItemIndex(), 2);
    Input::KeyPress(*Box, VirtualKey::Back);
    EXPECT_EQ(Changes, 7);
    EXPECT_EQ(Box->ItemIndex(), -1);
}

TEST(EditWindow, ShowsTheTextAndTheColoursItIsGiven)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 200, 100);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 120, 21);
    edit->SetColor(clRed);
    edit->SetText("Ostrel 测试");
    form.Show();
    const HWND h = TNativeAccess::Handle(*edit);
    wchar_t text[32] = {};
    GetWindowTextW(h, text, 32);
    EXPECT_STREQ(text, L"Ostrel \u6D4B\u8BD5");
    EXPECT_EQ(edit->Text(), "Ostrel 测试");

    UpdateWindow(h);
    const HDC dc = GetDC(h);
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(GetPixel(dc, client.right - 2, client.bottom / 2), RGB(255, 0, 0)) << "past the text";
    ReleaseDC(h, dc);
}
