#include "framework/StdCtrls.h"

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/qt/NativeWidget.h"
#include "framework/Property.h"

#include "platform/qt/QtBridge.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>

#include <string_view>

// The button widget: Qt's push button does the pressing, releasing, clicking, Space and
// accelerator handling; the control does the painting.
class TButtonWidget final : public TNativeWidget<QPushButton> {
public:
    explicit TButtonWidget(TButton* AButton) : TNativeWidget(AButton)
    {
        // Enter belongs to the window, which gives it to the active button.
        setAutoDefault(false);
        setFocusPolicy(Qt::StrongFocus);
        // Moves without a mouse button held reach the control too, as they do on the
        // classic platform; Qt drops them otherwise.
        setMouseTracking(true);
        connect(this, &QAbstractButton::clicked, this, [this] {
            if (TButton* button = Button())
                Application->Guard([button] { button->Click(); });
        });
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        connect(app, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            TButton* button = Button();
            if (button && now && now->window() == window())
                button->UpdateActive(ControlOf(now));
        });
    }

    TButton* Button() const { return static_cast<TButton*>(Control()); }

protected:
    void paintEvent(QPaintEvent* E) override
    {
        // Qt repaints a button whenever it is pressed, released, focused or enabled; the back
        // store is drawn again when what it shows is out of date.
        if (TButton* button = Button(); button && button->OwnerDrawState() != button->FDrawn)
            button->Invalidate();
        TNativeWidget::paintEvent(E);
    }
};

std::string StripHotkey(const std::string& Caption)
{
    std::string shown;
    shown.reserve(Caption.size());
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&') {
            if (i + 1 == Caption.size())
                break;
            ++i; // the character after the mark is shown, "&&" as one "&"
        }
        shown += Caption[i];
    }
    return shown;
}

THotkeySpan HotkeySpan(const std::string& Caption)
{
    int shown = 0; // bytes of the shown text so far
    for (size_t i = 0; i < Caption.size(); ++i, ++shown) {
        if (Caption[i] != '&')
            continue;
        if (i + 1 == Caption.size())
            break;
        if (Caption[++i] == '&')
            continue; // "&&" shows one "&" and marks nothing
        int length = 1;
        while (i + length < Caption.size() && (Caption[i + length] & 0xC0) == 0x80)
            ++length; // the rest of a multi-byte character
        return {shown, length};
    }
    return {};
}

void DrawHotkeyUnderline(platform::TDrawContext& DC, int X, int Y, const std::string& Caption)
{
    const THotkeySpan span = HotkeySpan(Caption);
    if (span.Offset < 0)
        return;
    const std::string shown = StripHotkey(Caption);
    const int left = X + DC.TextExtent(std::string_view(shown).substr(0, span.Offset)).cx;
    const int width =
        DC.TextExtent(std::string_view(shown).substr(span.Offset, span.Length)).cx;
    const int y = Y + platform::TextMetrics().Ascent(DC.Font()) + 1;
    const platform::TBrushDesc brush = DC.Brush();
    DC.SelectBrush({DC.TextColor(), platform::TBrushStyle::Solid});
    DC.FillRect({left, y, left + width, y + 1});
    DC.SelectBrush(brush);
}

TForm* GetParentForm(const TWinControl* Control)
{
    for (TWinControl* c = Control ? Control->Parent() : nullptr; c; c = c->Parent())
        if (auto* form = dynamic_cast<TForm*>(c))
            return form;
    return nullptr;
}

TButton::TButton(TComponent* Owner)
    : TWinControl(Owner, new TButtonWidget(this)), FFont(std::make_unique<TFont>())
{
    SetBounds(0, 0, 75, 25);
    FFont->OnChange = [this](TObject*) {
        if (FSyncingFont)
            return;
        FParentFont = false;
        FontChanged();
    };
}

TButton::~TButton() = default;

bool TButton::AnyMouseCapture() { return QWidget::mouseGrabber() != nullptr; }

void TButton::SetCaption(const std::string& Value)
{
    if (!StoreChanged(FCaption, Value))
        return;
    // Qt's button text carries the accelerator; it never paints it.
    static_cast<QPushButton*>(NativeWidgetOf(*this))->setText(QString::fromStdString(Value));
    Invalidate();
}

void TButton::SetDefault(bool Value)
{
    SetProperty(FDefault, Value, [this] {
        UpdateActive(ControlOf(NativeWidgetOf(*this)->window()->focusWidget()));
    });
}

TFont& TButton::Font()
{
    SyncParentFont();
    return *FFont;
}

void TButton::SetFont(const TFont& Value) { Font().Assign(Value); }

void TButton::SetParentFont(bool Value)
{
    if (!StoreChanged(FParentFont, Value))
        return;
    if (Value) {
        SyncParentFont();
        FontChanged();
    }
}

void TButton::SyncParentFont()
{
    if (!FParentFont)
        return;
    if (TForm* form = GetParentForm(this)) {
        FSyncingFont = true;
        FFont->Assign(form->Font());
        FSyncingFont = false;
    }
}

void TButton::Click()
{
    if (TForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    if (OnClick)
        OnClick(this);
}

void TButton::UpdateActive(const TWinControl* Focus)
{
    bool active;
    if (Focus == this)
        active = true;
    else if (dynamic_cast<const TButton*>(Focus))
        active = false;
    else
        active = FDefault;
    if (active == FActive)
        return;
    FActive = active;
    ActiveChanged();
}

void TButton::ActiveChanged() { Invalidate(); }

void TButton::FontChanged() { Invalidate(); }

void TButton::SetOwnerDraw(bool Value)
{
    SetProperty(FOwnerDraw, Value, [this] { Invalidate(); });
}

TOwnerDrawState TButton::OwnerDrawState() const
{
    const auto* widget = static_cast<const QPushButton*>(NativeWidgetOf(*this));
    return {widget->isDown(), widget->hasFocus()};
}

void TButton::Paint(platform::TDrawContext& DC)
{
    SyncParentFont();
    FDrawn = OwnerDrawState();
    if (FOwnerDraw)
        DrawItem(DC, FDrawn);
    else
        DrawPlain(DC, FDrawn);
}

void TButton::DrawItem(platform::TDrawContext&, const TOwnerDrawState&) {}

void TButton::KeyDown(int& Key, TShiftState Shift)
{
    // Space presses the button only on its own.
    if (Key == VirtualKey::Space && Shift.AnyModifier())
        Key = 0;
}

void TButton::DrawPlain(platform::TDrawContext& DC, const TOwnerDrawState& State)
{
    const auto fill = [&](TColor colour, const TRect& r) {
        DC.SelectBrush({ColorToRGB(colour), platform::TBrushStyle::Solid});
        DC.FillRect(r);
    };
    // Two bevels, light above and left, dark below and right; one dark ring when pressed.
    const auto bevel = [&](TRect& r, TColor light, TColor dark) {
        fill(light, {r.Left, r.Top, r.Right, r.Top + 1});
        fill(light, {r.Left, r.Top, r.Left + 1, r.Bottom});
        fill(dark, {r.Left, r.Bottom - 1, r.Right, r.Bottom});
        fill(dark, {r.Right - 1, r.Top, r.Right, r.Bottom});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    };
    TRect r = ClientRect();
    fill(clBtnFace, r);
    if (FActive || State.Focused)
        bevel(r, clWindowFrame, clWindowFrame);
    if (State.Selected) {
        bevel(r, clBtnShadow, clBtnShadow);
    } else {
        bevel(r, clBtnHighlight, cl3DDkShadow);
        bevel(r, cl3DLight, clBtnShadow);
    }

    const std::string text = StripHotkey(FCaption);
    DC.SelectFont(FFont->Desc());
    DC.SetBkMode(platform::TBkMode::Transparent);
    DC.SetTextAlign(platform::Align::Left | platform::Align::Top);
    const TSize extent = DC.TextExtent(text);
    const int shift = State.Selected ? 1 : 0;
    const int x = (Width() - extent.cx + 1) / 2 + shift;
    const int y = (Height() - extent.cy + 1) / 2 + shift;
    if (!Enabled()) {
        DC.SetTextColor(ColorToRGB(clBtnHighlight));
        DC.TextOut(x + 1, y + 1, text);
        DC.SetTextColor(ColorToRGB(clBtnShadow));
    } else {
        DC.SetTextColor(ColorToRGB(FFont->Color()));
    }
    DC.TextOut(x, y, text);
    DrawHotkeyUnderline(DC, x, y, FCaption);
    if (State.Focused)
        DC.DrawFocusRect({4, 4, Width() - 4, Height() - 4});
}

// --- label, edit, combo box -----------------------------------------------------------------

namespace {

QColor QColorOfColor(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// Background and text of a native text widget, and the font it shows; the popup of a combo
// box takes the same palette.
void ApplyTextLook(QWidget& Widget, TColor Back, const TFont& Font)
{
    QPalette palette = Widget.palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
        palette.setColor(role, QColorOfColor(Back));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, QColorOfColor(Font.Color()));
    Widget.setPalette(palette);
    Widget.setFont(platform::QFontOf(Font.Desc()));
}

QLineEdit& EditOf(const TEdit& Edit) { return *static_cast<QLineEdit*>(NativeWidgetOf(Edit)); }
QComboBox& BoxOf(const TComboBox& Box) { return *static_cast<QComboBox*>(NativeWidgetOf(Box)); }

} // namespace

TLabel::TLabel(TComponent* Owner) : TWinControl(Owner), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = [this](TObject*) { Changed(); };
}

TLabel::~TLabel() = default;

void TLabel::SetCaption(const std::string& Value)
{
    SetProperty(FCaption, Value, [this] { Changed(); });
}

void TLabel::SetAlignment(TAlignment Value)
{
    SetProperty(FAlignment, Value, [this] { Invalidate(); });
}

void TLabel::SetAutoSize(bool Value)
{
    SetProperty(FAutoSize, Value, [this] { Changed(); });
}

void TLabel::Changed()
{
    if (FAutoSize) {
        const TSize text = platform::TextMetrics().Extent(FFont->Desc(), FCaption);
        const int left = FAlignment == taRightJustify ? Left() + Width() - text.cx : Left();
        SetBounds(left, Top(), text.cx, text.cy);
    }
    Invalidate();
}

void TLabel::Paint(platform::TDrawContext& DC)
{
    const TForm* form = GetParentForm(this);
    DC.SelectBrush({ColorToRGB(form ? form->Color() : clBtnFace), platform::TBrushStyle::Solid});
    DC.FillRect(ClientRect());
    DC.SelectFont(FFont->Desc());
    DC.SetBkMode(platform::TBkMode::Transparent);
    DC.SetTextAlign(platform::Align::Left | platform::Align::Top);
    DC.SetTextColor(ColorToRGB(FFont->Color()));
    const int width = DC.TextExtent(FCaption).cx;
    int x = 0;
    if (FAlignment == taRightJustify)
        x = Width() - width;
    else if (FAlignment == taCenter)
        x = (Width() - width) / 2;
    DC.TextOut(x, 0, FCaption);
}

// The edit widget: Qt's line edit does the typing and the painting.
class TEditWidget final : public TNativeWidget<QLineEdit> {
public:
    explicit TEditWidget(TEdit* Edit) : TNativeWidget(Edit) {}

protected:
    void paintEvent(QPaintEvent* E) override { QLineEdit::paintEvent(E); }
};

TEdit::TEdit(TComponent* Owner)
    : TWinControl(Owner, new TEditWidget(this)), FFont(std::make_unique<TFont>())
{
    EditOf(*this).setAttribute(Qt::WA_OpaquePaintEvent, false);
    EditOf(*this).setFocusPolicy(Qt::StrongFocus);
    FFont->OnChange = [this](TObject*) { ApplyLook(); };
    ApplyLook();
}

TEdit::~TEdit() = default;

std::string TEdit::Text() const { return EditOf(*this).text().toStdString(); }

void TEdit::SetText(const std::string& Value)
{
    QLineEdit& edit = EditOf(*this);
    const QString text = QString::fromStdString(Value);
    if (edit.text() == text)
        return;
    edit.setText(text);
    edit.setCursorPosition(0); // the start of a long text stays in view
}

void TEdit::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { ApplyLook(); });
}

void TEdit::ApplyLook() { ApplyTextLook(EditOf(*this), FColor, *FFont); }

// Every item of the dropped-down list is ItemHeight pixels high.
class TItemHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        return {QStyledItemDelegate::sizeHint(Option, Index).width(), Height};
    }

    int Height = 0;
};

// The combo box widget: Qt's combo box does the list, the typing and the painting; the
// operator's picks and edits come back as Picked and Typed, never what a program sets.
class TComboBoxWidget final : public TNativeWidget<QComboBox> {
public:
    explicit TComboBoxWidget(TComboBox* Box) : TNativeWidget(Box)
    {
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr); // typed text stays exactly as typed
        setItemDelegate(new TItemHeightDelegate(this));
        connect(this, &QComboBox::activated, this, [this](int Index) {
            if (auto* box = static_cast<TComboBox*>(Control()))
                Application->Guard([&] { box->Picked(Index); });
        });
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& Text) {
            if (auto* box = static_cast<TComboBox*>(Control()))
                Application->Guard([&] { box->Typed(Text.toStdString()); });
        });
    }

protected:
    void paintEvent(QPaintEvent* E) override { QComboBox::paintEvent(E); }
};

TComboBox::TComboBox(TComponent* Owner)
    : TWinControl(Owner, new TComboBoxWidget(this)), FFont(std::make_unique<TFont>())
{
    BoxOf(*this).setAttribute(Qt::WA_OpaquePaintEvent, false);
    BoxOf(*this).setFocusPolicy(Qt::StrongFocus);
    BoxOf(*this).setMaxVisibleItems(FDropDownCount);
    ApplyItemHeight();
    FFont->OnChange = [this](TObject*) { ApplyLook(); };
    ApplyLook();
}

TComboBox::~TComboBox() = default;

void TComboBox::TItems::Add(const std::string& Item)
{
    QComboBox* box = &BoxOf(FOwner);
    // Qt selects the first item added to an empty box; adding selects nothing here.
    const QString text = box->currentText();
    box->addItem(QString::fromStdString(Item));
    if (box->count() == 1) {
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

int TComboBox::TItems::Count() const { return BoxOf(FOwner).count(); }

void TComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems.Count())
        ListIndexError(Value);
    FItemIndex = Value;
    QComboBox* box = &BoxOf(*this);
    box->setCurrentIndex(Value);
    if (Value < 0)
        box->setEditText(QString());
}

std::string TComboBox::Text() const { return BoxOf(*this).currentText().toStdString(); }

void TComboBox::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { ApplyLook(); });
}

void TComboBox::SetItemHeight(int Value)
{
    SetProperty(FItemHeight, Value, [this] { ApplyItemHeight(); });
}

void TComboBox::ApplyItemHeight()
{
    QComboBox* box = &BoxOf(*this);
    static_cast<TItemHeightDelegate*>(box->itemDelegate())->Height = FItemHeight;
}

void TComboBox::SetDropDownCount(int Value)
{
    SetProperty(FDropDownCount, Value, [this] { BoxOf(*this).setMaxVisibleItems(FDropDownCount); });
}

void TComboBox::ApplyLook()
{
    QComboBox* box = &BoxOf(*this);
    ApplyTextLook(*box, FColor, *FFont);
    ApplyTextLook(*box->view(), FColor, *FFont);
}

void TComboBox::Picked(int Index)
{
    if (Index == FItemIndex)
        return; // the field showed that item already
    FItemIndex = Index;
    Change();
}

void TComboBox::Typed(const std::string& Text)
{
    FItemIndex = BoxOf(*this).findText(QString::fromStdString(Text),
                                       Qt::MatchExactly | Qt::MatchCaseSensitive);
    Change();
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}
