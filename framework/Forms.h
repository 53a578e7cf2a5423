#pragma once
// A top-level window. Besides being the parent of its controls it gives them the window-level
// keys: Esc clicks the visible, enabled button whose Cancel is True, and Enter clicks the
// active button (the focused one, or the Default one while the focus is on another kind of
// control); both only without Shift, Ctrl or Alt, and only when the focused control has not
// used the key itself. Controls without a font of their own show the window's font.
//
// Closing (Close, or the title-bar button) asks OnClose first; the window is hidden unless
// the handler says caNone. When the last window closes, a running message loop ends.
//
// Width and Height are those of the client area; a bsSingle window keeps them (the operator
// cannot resize it), and a poScreenCenter window is centred on the desktop each time it is
// shown.
//
// Threading: user-interface thread only.

#include "framework/Controls.h"
#include "framework/Graphics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TButton;
class TNativeForm;

enum TCloseAction { caNone, caHide };

enum TFormBorderStyle { bsSizeable, bsSingle };

enum TPosition { poDesigned, poScreenCenter };

// The buttons of the title bar.
struct TBorderIcons {
    bool SystemMenu = true; // the system menu and the close button
    bool Minimize = true;
    bool Maximize = true;
    friend bool operator==(const TBorderIcons&, const TBorderIcons&) = default;
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* Owner);
    ~TForm() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // "MS Sans Serif", 8 points, window text, unless changed.
    TFont& Font() { return *FFont; }
    const TFont& Font() const { return *FFont; }
    void SetFont(const TFont& Value);

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }

    // Set by a button's click (its own ModalResult); 0 until then.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

    void Close();
    TCloseEvent OnClose;

protected:
    void Paint(platform::TDrawContext& DC) override;
    void KeyDown(int& Key, TShiftState Shift) override;

private:
    friend struct TControlDispatch;
    TForm(TComponent* Owner, TNativeForm* Native);
    // The close request, from Close or from the platform; answers whether to close.
    bool CloseQuery();
    // The buttons inside the window, in creation order.
    std::vector<TButton*> Buttons() const;
    void UpdateWindowFrame();
    // The window is about to appear: fix its size, place it.
    void BeforeShow();

    TNativeForm& FWindow;
    std::string FCaption;
    TColor FColor = clBtnFace;
    std::unique_ptr<TFont> FFont;
    int FModalResult = 0;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons;
    TPosition FPosition = poDesigned;
};
