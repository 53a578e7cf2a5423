#include "framework/Forms.h"

#include "framework/Application.h"
#include "framework/qt/NativeWidget.h"
#include "framework/StdCtrls.h"
#include "framework/Property.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>

// The window widget: the platform's close requests (title-bar button, system menu, Alt+F4)
// go through the same OnClose as Close does.
class TFormWidget final : public TNativeWidget<QWidget> {
public:
    explicit TFormWidget(TForm* Form) : TNativeWidget(Form) {}

protected:
    void showEvent(QShowEvent* E) override
    {
        TNativeWidget::showEvent(E);
        if (auto* form = static_cast<TForm*>(Control()); form && !E->spontaneous())
            form->BeforeShow();
    }
    void closeEvent(QCloseEvent* E) override
    {
        auto* form = static_cast<TForm*>(Control());
        if (form && !form->CloseQuery())
            E->ignore();
        else
            E->accept();
    }
};

TForm::TForm(TComponent* Owner)
    : TWinControl(Owner, new TFormWidget(this)), FFont(std::make_unique<TFont>())
{
    NativeWidgetOf(*this)->setFocusPolicy(Qt::NoFocus);
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
    SetProperty(FCaption, Value, [this] {
        NativeWidgetOf(*this)->setWindowTitle(QString::fromStdString(FCaption));
    });
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
    QWidget* w = NativeWidgetOf(*this);
    // A fixed window keeps the size it has when it is shown; until then its owner may still
    // size it.
    if (FBorderStyle == bsSingle && w->isVisible()) {
        w->setFixedSize(w->size());
    } else if (FBorderStyle == bsSizeable) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (FBorderIcons.SystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (FBorderIcons.Minimize)
        flags |= Qt::WindowMinimizeButtonHint;
    // A fixed window cannot be maximised either.
    if (FBorderIcons.Maximize && FBorderStyle == bsSizeable)
        flags |= Qt::WindowMaximizeButtonHint;
    // Qt hides a window whose flags change; it stays as visible as it was.
    const bool visible = w->isVisible();
    w->setWindowFlags(flags);
    if (visible)
        w->show();
}

void TForm::BeforeShow()
{
    QWidget* w = NativeWidgetOf(*this);
    if (FBorderStyle == bsSingle)
        w->setFixedSize(w->size());
    if (FPosition != poScreenCenter || Parent())
        return;
    const QRect desktop = w->screen()->availableGeometry();
    const QRect frame = w->frameGeometry();
    w->move(desktop.left() + (desktop.width() - frame.width()) / 2,
            desktop.top() + (desktop.height() - frame.height()) / 2);
}

void TForm::Close() { NativeWidgetOf(*this)->close(); }

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

std::vector<TButton*> TForm::Buttons() const
{
    std::vector<TButton*> buttons;
    for (QWidget* widget : NativeWidgetOf(*this)->findChildren<QWidget*>())
        if (auto* button = dynamic_cast<TButton*>(ControlOf(widget)))
            buttons.push_back(button);
    return buttons;
}
