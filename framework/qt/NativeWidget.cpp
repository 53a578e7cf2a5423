#include "framework/qt/NativeWidget.h"

#include "platform/qt/QtBridge.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

Qt::CursorShape ShapeOf(TCursor c)
{
    switch (c) {
    case TCursor::crCross: return Qt::CrossCursor;
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    case TCursor::crSizeAll: return Qt::SizeAllCursor;
    case TCursor::crDrag: return Qt::DragMoveCursor;
    case TCursor::crDefault:
    case TCursor::crArrow: break;
    }
    return Qt::ArrowCursor;
}

// Qt's keys and the virtual keys they stand for. Synthetic input sends the first Qt key
// listed for a virtual key.
struct TKeyPair {
    int Qt;
    int Virtual;
};
constexpr TKeyPair kKeys[] = {
    {Qt::Key_Backspace, VirtualKey::Back}, {Qt::Key_Tab, VirtualKey::Tab},
    {Qt::Key_Return, VirtualKey::Return},  {Qt::Key_Enter, VirtualKey::Return},
    {Qt::Key_Escape, VirtualKey::Escape},  {Qt::Key_Space, VirtualKey::Space},
    {Qt::Key_Left, VirtualKey::Left},      {Qt::Key_Up, VirtualKey::Up},
    {Qt::Key_Right, VirtualKey::Right},    {Qt::Key_Down, VirtualKey::Down},
};

// Letters and digits have the same codes as their virtual keys.
bool SameAsVirtual(int Key)
{
    return (Key >= Qt::Key_A && Key <= Qt::Key_Z) || (Key >= Qt::Key_0 && Key <= Qt::Key_9);
}

TPoint PointOf(QPoint P) { return {P.x(), P.y()}; }

} // namespace

// --- input ---------------------------------------------------------------------------------

TShiftState TQtInput::Shift(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState s;
    s.Shift = Modifiers & Qt::ShiftModifier;
    s.Ctrl = Modifiers & Qt::ControlModifier;
    s.Alt = Modifiers & Qt::AltModifier;
    s.Left = Buttons & Qt::LeftButton;
    s.Right = Buttons & Qt::RightButton;
    s.Middle = Buttons & Qt::MiddleButton;
    return s;
}

bool TQtInput::Button(Qt::MouseButton Qt, TMouseButton& Button)
{
    switch (Qt) {
    case Qt::LeftButton: Button = TMouseButton::mbLeft; return true;
    case Qt::RightButton: Button = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: Button = TMouseButton::mbMiddle; return true;
    default: return false;
    }
}

int TQtInput::KeyCode(int QtKey)
{
    for (const TKeyPair& k : kKeys)
        if (k.Qt == QtKey)
            return k.Virtual;
    return SameAsVirtual(QtKey) ? QtKey : 0;
}

int TQtInput::QtKey(int Key)
{
    for (const TKeyPair& k : kKeys)
        if (k.Virtual == Key)
            return k.Qt;
    return SameAsVirtual(Key) ? Key : 0;
}

Qt::MouseButton TQtInput::QtButton(TMouseButton Button)
{
    switch (Button) {
    case TMouseButton::mbRight: return Qt::RightButton;
    case TMouseButton::mbMiddle: return Qt::MiddleButton;
    case TMouseButton::mbLeft: break;
    }
    return Qt::LeftButton;
}

Qt::KeyboardModifiers TQtInput::Modifiers(TShiftState Shift)
{
    Qt::KeyboardModifiers m;
    m.setFlag(Qt::ShiftModifier, Shift.Shift);
    m.setFlag(Qt::ControlModifier, Shift.Ctrl);
    m.setFlag(Qt::AltModifier, Shift.Alt);
    return m;
}

Qt::MouseButtons TQtInput::Buttons(TShiftState Shift)
{
    Qt::MouseButtons b;
    b.setFlag(Qt::LeftButton, Shift.Left);
    b.setFlag(Qt::RightButton, Shift.Right);
    b.setFlag(Qt::MiddleButton, Shift.Middle);
    return b;
}

// --- what every widget does ----------------------------------------------------------------

namespace QtNative {

void SetParentWindow(QWidget& W, TNativeWindow* Parent)
{
    W.setParent(Parent ? dynamic_cast<QWidget*>(Parent) : nullptr);
}

// Qt's x() and y() give a top-level window's frame position; the geometry is the client area.
TRect Bounds(const QWidget& W)
{
    const QRect g = W.geometry();
    return {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

void SetBounds(QWidget& W, const TRect& Bounds)
{
    W.setGeometry(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
}

void SetFocusKind(QWidget& W, TFocusKind Value)
{
    switch (Value) {
    case TFocusKind::None: W.setFocusPolicy(Qt::NoFocus); return;
    case TFocusKind::Click: W.setFocusPolicy(Qt::ClickFocus); return;
    case TFocusKind::Tab: W.setFocusPolicy(Qt::StrongFocus); return;
    }
}

void TakeFocus(QWidget& W)
{
    QWidget* window = W.window();
    if (!window->isActiveWindow())
        window->activateWindow();
    W.setFocus(Qt::OtherFocusReason);
}

void SetCursorShape(QWidget& W, TCursor Value) { W.setCursor(ShapeOf(Value)); }

void SetMouseCapture(QWidget& W, bool Value)
{
    if (Value)
        W.grabMouse();
    else if (QWidget::mouseGrabber() == &W)
        W.releaseMouse();
}

TPoint MapToGlobal(const QWidget& W, TPoint P) { return PointOf(W.mapToGlobal(QPoint(P.X, P.Y))); }

TPoint MapFromGlobal(const QWidget& W, TPoint P)
{
    return PointOf(W.mapFromGlobal(QPoint(P.X, P.Y)));
}

bool SaveScreenshot(QWidget& W, const std::string& Path)
{
    return W.grab().save(QString::fromStdString(Path), "PNG");
}

void PaintBackStore(TWinControl& C, QWidget& W)
{
    const platform::TBitmapImage& image =
        TControlDispatch::PaintedBackStore(C, W.width(), W.height());
    QPainter painter(&W);
    painter.drawImage(0, 0, platform::QImageOf(image));
}

void Destroy(QWidget& W)
{
    W.hide();
    W.setParent(nullptr);
    W.deleteLater();
}

} // namespace QtNative

TNativeWindow* NewNativeControl(TWinControl& Control)
{
    return new TNativeWidget<QWidget>(&Control);
}

TPoint NativeCursorPos() { return PointOf(QCursor::pos()); }

bool NativeMouseCaptured() { return QWidget::mouseGrabber() != nullptr; }
