#include "framework/Forms.h"

#include "framework/Application.h"
#include "framework/NativeWindow.h"
#include "framework/Property.h"
#include "framework/StdCtrls.h"

TForm::TForm(TComponent* Owner) : TForm(Owner, NewNativeForm(*this)) {}

TForm::TForm(TComponent* Owner, TNativeForm* Native)
    : TWinControl(Owner, Native), FWindow(*Native), FFont(std::make_unique<TFont>())
{
    FWindow.SetFocusKind(TFocusKind::None);
    FFont->SetName("MS Sans Serif");
    FFont->SetSize(8);
    FFont->SetColor(clWindowText);
    FFont->OnChange = [this](TObject*) {
        for (TButton* button : Buttons())
            if (button->ParentFont())
                button->Invalidate();
    };
}

TForm::~TForm() = default;

void TForm::SetCaption(const std::string& Value)
{
    SetProperty(FCaption, Value, [this] { FWindow.SetCaption(FCaption); });
}

void TForm::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { Invalidate(); });
}

void TForm::SetFont(const TFont& Value) { FFont->Assign(Value); }

void TForm::SetBorderStyle(TFormBorderStyle Value)
{
    SetProperty(FBorderStyle, Value, [this] { UpdateWindowFrame(); });
}

void TForm::SetBorderIcons(TBorderIcons Value)
{
    SetProperty(FBorderIcons, Value, [this] { UpdateWindowFrame(); });
}

void TForm::UpdateWindowFrame()
{
    // A fixed window keeps the size it has when it is shown; until then its owner may still
    // size it.
    if (FBorderStyle == bsSingle && FWindow.Showing())
        FWindow.SetFixedSize(true);
    else if (FBorderStyle == bsSizeable)
        FWindow.SetFixedSize(false);
    // A fixed window cannot be maximised either.
    FWindow.SetTitleButtons(FBorderIcons.SystemMenu, FBorderIcons.Minimize,
                            FBorderIcons.Maximize && FBorderStyle == bsSizeable);
}

void TForm::BeforeShow()
{
    if (FBorderStyle == bsSingle)
        FWindow.SetFixedSize(true);
    if (FPosition == poScreenCenter && !Parent())
        FWindow.CenterOnScreen();
}

void TForm::Close() { FWindow.Close(); }

bool TForm::CloseQuery()
{
    TCloseAction action = caHide;
    bool failed = false;
    if (OnClose)
        Application->Guard([&] {
            try {
                OnClose(this, action);
            } catch (...) {
                failed = true; // a handler that fails keeps the window open
                throw;
            }
        });
    return !failed && action != caNone;
}

void TForm::Paint(platform::TDrawContext& DC)
{
    DC.SelectBrush({ColorToRGB(FColor), platform::TBrushStyle::Solid});
    DC.FillRect(ClientRect());
}

void TForm::KeyDown(int& Key, TShiftState Shift)
{
    if ((Key != VirtualKey::Escape && Key != VirtualKey::Return) || Shift.AnyModifier())
        return;
    for (TButton* button : Buttons()) {
        const bool role = Key == VirtualKey::Escape ? button->Cancel() : button->Active();
        if (role && button->CanFocus()) {
            Key = 0;
            button->Click();
            return;
        }
    }
}

namespace {

// Depth first, each control before what is inside it.
void CollectButtons(const TWinControl& Parent, std::vector<TButton*>& Buttons)
{
    for (int i = 0; i < Parent.ControlCount(); ++i) {
        TWinControl* child = Parent.Controls(i);
        if (auto* button = dynamic_cast<TButton*>(child))
            Buttons.push_back(button);
        CollectButtons(*child, Buttons);
    }
}

} // namespace

std::vector<TButton*> TForm::Buttons() const
{
    std::vector<TButton*> buttons;
    CollectButtons(*this, buttons);
    return buttons;
}

void TControlDispatch::BeforeShow(TForm& Form) { Form.BeforeShow(); }

bool TControlDispatch::CloseQuery(TForm& Form) { return Form.CloseQuery(); }
