#pragma once
// Framework-internal: the Qt widget under a control. It forwards the widget's paint, mouse,
// keyboard, focus, hover and size events to the control's handlers, so the control logic never
// sees Qt. Include only from framework .cpp files.

#include "framework/Application.h"
#include "framework/Controls.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWidget>

#include <type_traits>

// Calls the protected handlers of a control on behalf of its native widget.
struct TControlDispatch {
    static TShiftState Shift(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
    static bool Button(Qt::MouseButton Qt, TMouseButton& Button);
    // The virtual key code of a Qt key, 0 for keys the controls do not know.
    static int KeyCode(int QtKey);
    // The other way, for synthetic input: the Qt key a virtual key arrives as, 0 for none.
    static int QtKey(int Key);
    static Qt::MouseButton QtButton(TMouseButton Button);
    static Qt::KeyboardModifiers Modifiers(TShiftState Shift);
    static Qt::MouseButtons Buttons(TShiftState Shift);

    static void Paint(TWinControl& C, QWidget& W);
    static void MouseDown(TWinControl& C, QMouseEvent* E, bool Double);
    static void MouseMove(TWinControl& C, QMouseEvent* E);
    static void MouseUp(TWinControl& C, QMouseEvent* E);
    static void DblClick(TWinControl& C);
    static void MouseEnter(TWinControl& C);
    static void MouseLeave(TWinControl& C);
    // Answer whether the control handled the key (set it to 0).
    static bool KeyDown(TWinControl& C, QKeyEvent* E);
    static bool KeyUp(TWinControl& C, QKeyEvent* E);
    static void FocusIn(TWinControl& C);
    static void FocusOut(TWinControl& C);
    static void Resized(TWinControl& C);
};

// What a control holds of its widget, without naming Qt in its header.
class TNativeWindow {
public:
    virtual ~TNativeWindow() = default;
    virtual QWidget* Widget() = 0;
    // Null once detached.
    virtual TWinControl* Control() const = 0;
    // What a control tells its widget when it goes away: from then on the widget only behaves
    // as its Qt base, until the event loop deletes it.
    virtual void Detach() = 0;
};

// The native window of any control, for framework code.
struct TNativeAccess {
    static QWidget* Widget(const TWinControl& Control) { return Control.FNative->Widget(); }
};

inline QWidget* NativeWidgetOf(const TWinControl& Control)
{
    return TNativeAccess::Widget(Control);
}

// The control on a widget, or null for a widget that carries none.
inline TWinControl* ControlOf(QWidget* Widget)
{
    auto* native = dynamic_cast<TNativeWindow*>(Widget);
    return native ? native->Control() : nullptr;
}

template <class QtBase>
class TNativeWidget : public QtBase, public TNativeWindow {
public:
    explicit TNativeWidget(TWinControl* Control) : FControl(Control) {}

    TWinControl* Control() const override { return FControl; }
    QWidget* Widget() override { return this; }
    void Detach() override { FControl = nullptr; }

protected:
    // A plain widget keeps its mouse events (Qt would hand ignored ones to the parent); a
    // widget with behaviour of its own (a button) still gets them.
    static constexpr bool kPlain = std::is_same_v<QtBase, QWidget>;

    void paintEvent(QPaintEvent* E) override
    {
        if (FControl)
            TControlDispatch::Paint(*FControl, *this);
        else
            QtBase::paintEvent(E);
    }
    void mousePressEvent(QMouseEvent* E) override
    {
        // Qt's own double-click handling presses again: that press was forwarded already.
        if (FControl && !FInDoubleClick)
            TControlDispatch::MouseDown(*FControl, E, false);
        if constexpr (kPlain)
            E->accept();
        else
            QtBase::mousePressEvent(E);
    }
    void mouseDoubleClickEvent(QMouseEvent* E) override
    {
        if (FControl) {
            TControlDispatch::MouseDown(*FControl, E, true);
            TControlDispatch::DblClick(*FControl);
        }
        if constexpr (kPlain) {
            E->accept();
        } else {
            FInDoubleClick = true;
            QtBase::mouseDoubleClickEvent(E);
            FInDoubleClick = false;
        }
    }
    void mouseMoveEvent(QMouseEvent* E) override
    {
        if (FControl)
            TControlDispatch::MouseMove(*FControl, E);
        if constexpr (kPlain)
            E->accept();
        else
            QtBase::mouseMoveEvent(E);
    }
    void mouseReleaseEvent(QMouseEvent* E) override
    {
        if (FControl)
            TControlDispatch::MouseUp(*FControl, E);
        if constexpr (kPlain)
            E->accept();
        else
            QtBase::mouseReleaseEvent(E);
    }
    void enterEvent(QEnterEvent* E) override
    {
        if (FControl)
            TControlDispatch::MouseEnter(*FControl);
        QtBase::enterEvent(E);
    }
    void leaveEvent(QEvent* E) override
    {
        if (FControl)
            TControlDispatch::MouseLeave(*FControl);
        QtBase::leaveEvent(E);
    }
    void keyPressEvent(QKeyEvent* E) override
    {
        if (FControl && TControlDispatch::KeyDown(*FControl, E))
            E->accept();
        else
            QtBase::keyPressEvent(E);
    }
    void keyReleaseEvent(QKeyEvent* E) override
    {
        if (FControl && TControlDispatch::KeyUp(*FControl, E))
            E->accept();
        else
            QtBase::keyReleaseEvent(E);
    }
    void focusInEvent(QFocusEvent* E) override
    {
        QtBase::focusInEvent(E);
        if (FControl)
            TControlDispatch::FocusIn(*FControl);
    }
    void focusOutEvent(QFocusEvent* E) override
    {
        QtBase::focusOutEvent(E);
        if (FControl)
            TControlDispatch::FocusOut(*FControl);
    }
    void resizeEvent(QResizeEvent* E) override
    {
        QtBase::resizeEvent(E);
        if (FControl)
            TControlDispatch::Resized(*FControl);
    }

private:
    TWinControl* FControl;
    bool FInDoubleClick = false;
};
