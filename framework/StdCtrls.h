#pragma once
// The framework's push button: focus and tab order, Space and a full left click (press and
// release over the button) click it, a double click counts as a second press, an accelerator
// letter ("&K" in the caption, Alt+K) clicks it too. Esc and Enter reach it through the window
// that holds it (framework/Forms.h): Esc clicks the Cancel button, Enter the active one.
//
// A click copies ModalResult to the window that holds the button, then runs OnClick.
//
// Painting: the button draws a plain raised button, unless a subclass has made it owner-drawn;
// then every paint is an owner-draw request, DrawItem, that tells whether the button is
// selected (held down by the mouse or the space bar) and whether it has the focus.
//
// Threading: user-interface thread only.

#include "framework/Controls.h"
#include "framework/Graphics.h"

#include <memory>
#include <string>
#include <vector>

class TForm;
class TNativeButton;
class TNativeComboBox;
class TNativeEdit;

// What an owner-draw request tells the button about itself.
struct TOwnerDrawState {
    bool Selected = false; // held down by the mouse or by the space bar
    bool Focused = false;  // has the keyboard focus
    friend bool operator==(const TOwnerDrawState&, const TOwnerDrawState&) = default;
};

// The caption as shown: a single "&" marks the accelerator and is not shown, "&&" shows one.
std::string StripHotkey(const std::string& Caption);

// Where the accelerator letter (the first marked one) lies in the shown caption: the byte
// offset and length of its UTF-8 character, Offset -1 without one.
struct THotkeySpan {
    int Offset = -1;
    int Length = 0;
    friend bool operator==(const THotkeySpan&, const THotkeySpan&) = default;
};
THotkeySpan HotkeySpan(const std::string& Caption);

// Underlines the accelerator letter of Caption, whose shown text has just been drawn with its
// top-left corner at (X, Y) in the font and text colour selected on DC. Pen and brush of DC
// are left as they were.
void DrawHotkeyUnderline(platform::TDrawContext& DC, int X, int Y, const std::string& Caption);

// The window that holds Control, or null.
TForm* GetParentForm(const TWinControl* Control);

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* Owner);
    ~TButton() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

    // With ParentFont the button shows its window's font; changing Font itself ends that.
    TFont& Font();
    void SetFont(const TFont& Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    TNotifyEvent OnClick;

    // Clicks the button as the user does.
    virtual void Click();

    // Whether Enter clicks this button: it has the focus, or it is the Default button and the
    // focus is on a control of its window that is not a button.
    bool Active() const { return FActive; }

    // Whether any control holds the mouse capture.
    static bool AnyMouseCapture();

protected:
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);
    // The owner-draw request: draw the whole button on DC.
    virtual void DrawItem(platform::TDrawContext& DC, const TOwnerDrawState& State);
    // Called when Active changes.
    virtual void ActiveChanged();
    // Called when the font that the button shows changes.
    virtual void FontChanged();

    void Paint(platform::TDrawContext& DC) override;
    void KeyDown(int& Key, TShiftState Shift) override;

private:
    friend struct TControlDispatch;
    TButton(TComponent* Owner, TNativeButton* Native);
    void BeforeNativePaint() override;
    TOwnerDrawState OwnerDrawState() const;
    // Works out Active for the control that has, or last had, the focus in the window (null
    // when that is no control).
    void UpdateActive(const TWinControl* Focus);
    void SyncParentFont();
    void DrawPlain(platform::TDrawContext& DC, const TOwnerDrawState& State);

    TNativeButton& FWindow;
    std::string FCaption;
    bool FCancel = false;
    bool FDefault = false;
    bool FActive = false;
    bool FOwnerDraw = false;
    int FModalResult = 0;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FSyncingFont = false;
    TOwnerDrawState FDrawn; // what the back store shows
};

// A line of text on the window's background, drawn from its top edge, aligned within its
// width. With AutoSize (the default) the label takes the size of its caption whenever the
// caption or the font changes, keeping its left edge, or its right edge when right-aligned;
// without it the label keeps the size it is given and clips the caption.
class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* Owner);
    ~TLabel() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Starts as the window's default font.
    TFont& Font() { return *FFont; }

protected:
    void Paint(platform::TDrawContext& DC) override;

private:
    void Changed();

    std::string FCaption;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    std::unique_ptr<TFont> FFont;
};

// A single-line text field. The operator may type into it; what a program sets with SetText
// is shown as it is.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* Owner);
    ~TEdit() override;

    std::string Text() const;
    void SetText(const std::string& Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Starts as the window's default font; its colour is the colour of the text.
    TFont& Font() { return *FFont; }

private:
    TEdit(TComponent* Owner, TNativeEdit* Native);
    void ApplyLook();

    TNativeEdit& FWindow;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
};

// A drop-down list with a typing field. Items stay in the order they are added.
//
// ItemIndex is the selected item, -1 for none: setting it from code shows that item's text (or
// an empty field for -1) and never calls OnChange. The operator's changes call OnChange once
// each: picking an item (with the mouse or the arrow keys) that differs from what the field
// showed, and every edit of the typed text. Typed text that equals an item selects that item;
// any other text leaves no item selected.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* Owner);
    ~TComboBox() override;

    class TItems {
    public:
        void Add(const std::string& Item);
        int Count() const;

    private:
        friend class TComboBox;
        explicit TItems(TComboBox& Owner) : FOwner(Owner) {}
        TComboBox& FOwner;
    };
    TItems& Items() { return FItems; }

    int ItemIndex() const { return FItemIndex; }
    // Raises EListError for an index below -1 or beyond the items.
    void SetItemIndex(int Value);
    // What the typing field shows.
    std::string Text() const;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Starts as the window's default font; its colour is the colour of the text.
    TFont& Font() { return *FFont; }
    // Height of an item in the dropped-down list, in pixels.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    // Items shown at once when dropped down; more scroll.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);

    TNotifyEvent OnChange;

private:
    friend struct TControlDispatch;
    TComboBox(TComponent* Owner, TNativeComboBox* Native);
    void ApplyLook();
    void Picked(int Index);
    void Typed(const std::string& Text);
    void Change();

    TNativeComboBox& FWindow;
    TItems FItems{*this};
    std::vector<std::string> FItemTexts;
    int FItemIndex = -1;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
    int FItemHeight = 13;
    int FDropDownCount = 8;
};
