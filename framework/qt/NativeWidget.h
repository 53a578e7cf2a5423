#pragma once
// The native windows of framework/NativeWindow.h over Qt widgets. A control's window is a Qt
// widget that also is its TNativeWindow: it forwards the widget's paint, mouse, keyboard, focus,
// hover and size events through TControlDispatch, so the control logic never sees Qt. Include
// only from framework/qt/ and from Qt-specific tests and tools.

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/NativeWindow.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWidget>

#include <type_traits>

// Qt's input and the controls' shared types, both ways.
struct TQtInput {
    static TShiftState Shift(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
    static bool Button(Qt::MouseButton Qt, TMouseButton& Button);
    // The virtual key code of a Qt key, 0 for keys the controls do not know.
    static int KeyCode(int QtKey);
    // The other way, for synthetic input: the Qt key a virtual key arrives as, 0 for none.
    static int QtKey(int Key);
    static Qt::MouseButton QtButton(TMouseButton Button);
    static Qt::KeyboardModifiers Modifiers(TShiftState Shift);
    static Qt::MouseButtons Buttons(TShiftState Shift);
};

// What every control widget holds, whatever Qt widget it is.
class TQtNativeBase {
public:
    explicit TQtNativeBase(TWinControl* Control) : FControl(Control) {}
    virtual ~TQtNativeBase() = default;
    // Null once the control has let go of it.
    TWinControl* Control() const { return FControl; }

protected:
    TWinControl* FControl;
};

// The widget of any control, for Qt code.
struct TNativeAccess {
    static QWidget* Widget(const TWinControl& Control)
    {
        return dynamic_cast<QWidget*>(Control.FNative);
    }
};

inline QWidget* NativeWidgetOf(const TWinControl& Control)
{
    return TNativeAccess::Widget(Control);
}

// The control on a widget, or null for a widget that carries none.
inline TWinControl* ControlOf(QWidget* Widget)
{
    auto* native = dynamic_cast<TQtNativeBase*>(Widget);
    return native ? native->Control() : nullptr;
}

// The parts of TNativeWindow that are the same for every widget; defined in NativeWidget.cpp.
namespace QtNative {
void SetParentWindow(QWidget& W, TNativeWindow* Parent);
TRect Bounds(const QWidget& W);
void SetBounds(QWidget& W, const TRect& Bounds);
void SetFocusKind(QWidget& W, TFocusKind Value);
void TakeFocus(QWidget& W);
void SetCursorShape(QWidget& W, TCursor Value);
void SetMouseCapture(QWidget& W, bool Value);
TPoint MapToGlobal(const QWidget& W, TPoint P);
TPoint MapFromGlobal(const QWidget& W, TPoint P);
bool SaveScreenshot(QWidget& W, const std::string& Path);
void PaintBackStore(TWinControl& C, QWidget& W);
void Destroy(QWidget& W);
} // namespace QtNative

template <class QtBase, class Interface = TNativeWindow>
class TNativeWidget : public QtBase, public Interface, public TQtNativeBase {
public:
    explicit TNativeWidget(TWinControl* Control) : TQtNativeBase(Control)
    {
        // Everything a control shows comes from its back store, so Qt need not clear first.
        this->setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // A widget may be inside a Qt event handler of its own right now: it forwards nothing
    // from here on and the event loop deletes it.
    void Destroy() override
    {
        FControl = nullptr;
        QtNative::Destroy(*this);
    }
    void SetParentWindow(TNativeWindow* Parent) override { QtNative::SetParentWindow(*this, Parent); }
    TRect Bounds() const override { return QtNative::Bounds(*this); }
    void SetBounds(const TRect& Bounds) override { QtNative::SetBounds(*this, Bounds); }
    bool Showing() const override { return this->isVisible(); }
    void SetShown(bool Value) override { this->setVisible(Value); }
    void SetEnabled(bool Value) override { this->setEnabled(Value); }
    bool TabStop() const override { return this->focusPolicy() & Qt::TabFocus; }
    void SetFocusKind(TFocusKind Value) override { QtNative::SetFocusKind(*this, Value); }
    void TabAfter(TNativeWindow& Previous) override
    {
        QWidget::setTabOrder(dynamic_cast<QWidget*>(&Previous), this);
    }
    bool HasFocus() const override { return this->hasFocus(); }
    void TakeFocus() override { QtNative::TakeFocus(*this); }
    TWinControl* FocusedControl() const override { return ControlOf(this->window()->focusWidget()); }
    void SetCursorShape(TCursor Value) override { QtNative::SetCursorShape(*this, Value); }
    bool HasMouseCapture() const override { return QWidget::mouseGrabber() == this; }
    void SetMouseCapture(bool Value) override { QtNative::SetMouseCapture(*this, Value); }
    TPoint ClientToScreen(TPoint P) const override { return QtNative::MapToGlobal(*this, P); }
    TPoint ScreenToClient(TPoint P) const override { return QtNative::MapFromGlobal(*this, P); }
    void InvalidateWindow() override { this->update(); }
    void PaintNow() override
    {
        if (this->isVisible())
            this->repaint();
    }
    bool SaveScreenshot(const std::string& Path) const override
    {
        return QtNative::SaveScreenshot(const_cast<TNativeWidget&>(*this), Path);
    }

protected:
    // A plain widget keeps its mouse events (Qt would hand ignored ones to the parent); a
    // widget with behaviour of its own (a button) still gets them.
    static constexpr bool kPlain = std::is_same_v<QtBase, QWidget>;

    void paintEvent(QPaintEvent* E) override
    {
        if (FControl)
            QtNative::PaintBackStore(*FControl, *this);
        else
            QtBase::paintEvent(E);
    }
    void mousePressEvent(QMouseEvent* E) override
    {
        // Qt's own double-click handling presses again: that press was forwarded already.
        if (FControl && !FInDoubleClick)
            ForwardPress(E, false);
        if constexpr (kPlain)
            E->accept();
        else
            QtBase::mousePressEvent(E);
    }
    void mouseDoubleClickEvent(QMouseEvent* E) override
    {
        if (FControl) {
            ForwardPress(E, true);
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
            TControlDispatch::MouseMove(*FControl, TQtInput::Shift(E->modifiers(), E->buttons()),
                                        PointOf(E));
        if constexpr (kPlain)
            E->accept();
        else
            QtBase::mouseMoveEvent(E);
    }
    void mouseReleaseEvent(QMouseEvent* E) override
    {
        TMouseButton b;
        if (FControl && TQtInput::Button(E->button(), b))
            TControlDispatch::MouseUp(*FControl, b, TQtInput::Shift(E->modifiers(), E->buttons()),
                                      PointOf(E));
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
        if (FControl && TControlDispatch::KeyDown(*FControl, TQtInput::KeyCode(E->key()),
                                                  TQtInput::Shift(E->modifiers(), Qt::NoButton)))
            E->accept();
        else
            QtBase::keyPressEvent(E);
    }
    void keyReleaseEvent(QKeyEvent* E) override
    {
        if (FControl && TControlDispatch::KeyUp(*FControl, TQtInput::KeyCode(E->key()),
                                                TQtInput::Shift(E->modifiers(), Qt::NoButton)))
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
    static TPoint PointOf(QMouseEvent* E)
    {
        const QPoint p = E->position().toPoint();
        return {p.x(), p.y()};
    }
    void ForwardPress(QMouseEvent* E, bool Double)
    {
        TMouseButton b;
        if (!TQtInput::Button(E->button(), b))
            return;
        TShiftState s = TQtInput::Shift(E->modifiers(), E->buttons());
        s.Double = Double;
        TControlDispatch::MouseDown(*FControl, b, s, PointOf(E));
    }

    bool FInDoubleClick = false;
};
