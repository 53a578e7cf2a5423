#include "framework/Controls.h"

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

} // namespace

TWinControl::TWinControl(TComponent* Owner)
    : TWinControl(Owner, new TNativeWidget<QWidget>(this))
{
    FNative->Widget()->setFocusPolicy(Qt::NoFocus);
}

TWinControl::TWinControl(TComponent* Owner, TNativeWindow* Native)
    : TComponent(Owner), FNative(Native),
      FBackStore(std::make_unique<platform::TBitmapImage>(1, 1))
{
    // Everything a control shows comes from its back store, so Qt need not clear first.
    FNative->Widget()->setAttribute(Qt::WA_OpaquePaintEvent);
}

TWinControl::~TWinControl()
{
    // Children are freed by their owner, maybe after this control: let go of their widgets so
    // that Qt does not delete them with ours.
    for (TWinControl* child : FControls) {
        child->FNative->Widget()->hide();
        child->FNative->Widget()->setParent(nullptr);
        child->FParent = nullptr;
    }
    if (FParent)
        FParent->RemoveControl(this);
    // The widget may be inside a Qt event handler of its own right now: it forwards nothing
    // from here on and the event loop deletes it.
    FNative->Detach();
    FNative->Widget()->hide();
    FNative->Widget()->setParent(nullptr);
    FNative->Widget()->deleteLater();
}

void TWinControl::RemoveControl(TWinControl* Child)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Child), FControls.end());
}

void TWinControl::SetParent(TWinControl* Value)
{
    if (Value == FParent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = Value;
    FNative->Widget()->setParent(Value ? Value->FNative->Widget() : nullptr);
    if (Value) {
        Value->FControls.push_back(this);
        // Qt hides a widget that changes parent; a control stays as visible as it was.
        FNative->Widget()->setVisible(FVisible);
        // A tab order given before the parent takes its place now.
        if (FTabOrder >= 0)
            Value->ChainTabOrder();
    }
}

// The client position, for windows too: it is what SetBounds sets (Qt's x() and y() give a
// top-level window's frame position instead).
int TWinControl::Left() const { return FNative->Widget()->geometry().x(); }
int TWinControl::Top() const { return FNative->Widget()->geometry().y(); }
int TWinControl::Width() const { return FNative->Widget()->width(); }
int TWinControl::Height() const { return FNative->Widget()->height(); }
void TWinControl::SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
void TWinControl::SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
void TWinControl::SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
void TWinControl::SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FNative->Widget()->setGeometry(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight));
}

TRect TWinControl::ClientRect() const { return {0, 0, Width(), Height()}; }

TRect TWinControl::BoundsRect() const
{
    return {Left(), Top(), Left() + Width(), Top() + Height()};
}

// The platform closes windows by itself (the title-bar button, Close): ask it.
bool TWinControl::Visible() const { return FParent ? FVisible : FNative->Widget()->isVisible(); }

void TWinControl::SetVisible(bool Value)
{
    FVisible = Value;
    FNative->Widget()->setVisible(Value);
}

bool TWinControl::Enabled() const
{
    return !FNative->Widget()->testAttribute(Qt::WA_ForceDisabled);
}

void TWinControl::SetEnabled(bool Value)
{
    if (Value == Enabled())
        return;
    FNative->Widget()->setEnabled(Value);
    EnabledChanged();
    Invalidate();
}

bool TWinControl::TabStop() const { return FNative->Widget()->focusPolicy() & Qt::TabFocus; }

void TWinControl::SetTabStop(bool Value)
{
    FNative->Widget()->setFocusPolicy(Value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TWinControl::SetTabOrder(int Value)
{
    FTabOrder = Value;
    if (FParent)
        FParent->ChainTabOrder();
}

void TWinControl::ChainTabOrder()
{
    auto children = FControls;
    std::stable_sort(children.begin(), children.end(), [](auto* a, auto* b) {
        return a->FTabOrder < b->FTabOrder;
    });
    for (size_t i = 1; i < children.size(); ++i)
        QWidget::setTabOrder(children[i - 1]->FNative->Widget(),
                             children[i]->FNative->Widget());
}

bool TWinControl::Focused() const { return FNative->Widget()->hasFocus(); }

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c; c = c->FParent)
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    QWidget* window = FNative->Widget()->window();
    if (!window->isActiveWindow())
        window->activateWindow();
    FNative->Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    FNative->Widget()->setCursor(ShapeOf(Value));
}

bool TWinControl::MouseCapture() const { return QWidget::mouseGrabber() == FNative->Widget(); }

void TWinControl::SetMouseCapture(bool Value)
{
    if (Value)
        FNative->Widget()->grabMouse();
    else if (MouseCapture())
        FNative->Widget()->releaseMouse();
}

TPoint TWinControl::ClientToScreen(TPoint P) const
{
    const QPoint q = FNative->Widget()->mapToGlobal(QPoint(P.X, P.Y));
    return {q.x(), q.y()};
}

TPoint TWinControl::ScreenToClient(TPoint P) const
{
    const QPoint q = FNative->Widget()->mapFromGlobal(QPoint(P.X, P.Y));
    return {q.x(), q.y()};
}

TPoint TWinControl::CursorPos()
{
    const QPoint q = QCursor::pos();
    return {q.x(), q.y()};
}

void TWinControl::Invalidate()
{
    FPaintPending = true;
    FNative->Widget()->update();
}

void TWinControl::Update()
{
    if (!FPaintPending)
        return;
    PaintBackStore();
    if (FNative->Widget()->isVisible())
        FNative->Widget()->repaint();
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

const platform::TBitmapImage& TWinControl::BackStore() const { return *FBackStore; }

bool TWinControl::SaveScreenshot(const std::string& Path) const
{
    return FNative->Widget()->grab().save(QString::fromStdString(Path), "PNG");
}

void TWinControl::PaintBackStore()
{
    FPaintPending = false;
    const int w = std::max(1, Width());
    const int h = std::max(1, Height());
    if (FBackStore->Width() != w || FBackStore->Height() != h)
        FBackStore = std::make_unique<platform::TBitmapImage>(w, h);
    platform::TDrawContext dc(*FBackStore);
    Application->Guard([&] { Paint(dc); });
}

void TWinControl::Paint(platform::TDrawContext&) {}
void TWinControl::MouseDown(TMouseButton, TShiftState, int, int) {}
void TWinControl::MouseMove(TShiftState, int, int) {}
void TWinControl::MouseUp(TMouseButton, TShiftState, int, int) {}
void TWinControl::DblClick() {}
void TWinControl::MouseEnter() {}
void TWinControl::MouseLeave() {}
void TWinControl::KeyDown(int&, TShiftState) {}
void TWinControl::KeyUp(int&, TShiftState) {}
void TWinControl::DoEnter() {}
void TWinControl::DoExit() {}
void TWinControl::Resize() {}
void TWinControl::EnabledChanged() {}

// --- dispatch from the native widget -------------------------------------------------------

TShiftState TControlDispatch::Shift(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
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

bool TControlDispatch::Button(Qt::MouseButton Qt, TMouseButton& Button)
{
    switch (Qt) {
    case Qt::LeftButton: Button = TMouseButton::mbLeft; return true;
    case Qt::RightButton: Button = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: Button = TMouseButton::mbMiddle; return true;
    default: return false;
    }
}

namespace {

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

} // namespace

int TControlDispatch::KeyCode(int QtKey)
{
    for (const TKeyPair& k : kKeys)
        if (k.Qt == QtKey)
            return k.Virtual;
    return SameAsVirtual(QtKey) ? QtKey : 0;
}

int TControlDispatch::QtKey(int Key)
{
    for (const TKeyPair& k : kKeys)
        if (k.Virtual == Key)
            return k.Qt;
    return SameAsVirtual(Key) ? Key : 0;
}

Qt::MouseButton TControlDispatch::QtButton(TMouseButton Button)
{
    switch (Button) {
    case TMouseButton::mbRight: return Qt::RightButton;
    case TMouseButton::mbMiddle: return Qt::MiddleButton;
    case TMouseButton::mbLeft: break;
    }
    return Qt::LeftButton;
}

Qt::KeyboardModifiers TControlDispatch::Modifiers(TShiftState Shift)
{
    Qt::KeyboardModifiers m;
    m.setFlag(Qt::ShiftModifier, Shift.Shift);
    m.setFlag(Qt::ControlModifier, Shift.Ctrl);
    m.setFlag(Qt::AltModifier, Shift.Alt);
    return m;
}

Qt::MouseButtons TControlDispatch::Buttons(TShiftState Shift)
{
    Qt::MouseButtons b;
    b.setFlag(Qt::LeftButton, Shift.Left);
    b.setFlag(Qt::RightButton, Shift.Right);
    b.setFlag(Qt::MiddleButton, Shift.Middle);
    return b;
}

void TControlDispatch::Paint(TWinControl& C, QWidget& W)
{
    if (C.FPaintPending || C.FBackStore->Width() != std::max(1, W.width()) ||
        C.FBackStore->Height() != std::max(1, W.height()))
        C.PaintBackStore();
    QPainter painter(&W);
    painter.drawImage(0, 0, platform::QImageOf(*C.FBackStore));
}

void TControlDispatch::MouseDown(TWinControl& C, QMouseEvent* E, bool Double)
{
    TMouseButton b;
    if (!Button(E->button(), b))
        return;
    TShiftState s = Shift(E->modifiers(), E->buttons());
    s.Double = Double;
    const QPoint p = E->position().toPoint();
    Application->Guard([&] { C.MouseDown(b, s, p.x(), p.y()); });
}

void TControlDispatch::MouseMove(TWinControl& C, QMouseEvent* E)
{
    const QPoint p = E->position().toPoint();
    Application->Guard(
        [&] { C.MouseMove(Shift(E->modifiers(), E->buttons()), p.x(), p.y()); });
}

void TControlDispatch::MouseUp(TWinControl& C, QMouseEvent* E)
{
    TMouseButton b;
    if (!Button(E->button(), b))
        return;
    const QPoint p = E->position().toPoint();
    Application->Guard(
        [&] { C.MouseUp(b, Shift(E->modifiers(), E->buttons()), p.x(), p.y()); });
}

void TControlDispatch::DblClick(TWinControl& C) { Application->Guard([&] { C.DblClick(); }); }
void TControlDispatch::MouseEnter(TWinControl& C) { Application->Guard([&] { C.MouseEnter(); }); }
void TControlDispatch::MouseLeave(TWinControl& C) { Application->Guard([&] { C.MouseLeave(); }); }

bool TControlDispatch::KeyDown(TWinControl& C, QKeyEvent* E)
{
    int key = KeyCode(E->key());
    if (key == 0)
        return false;
    Application->Guard([&] { C.KeyDown(key, Shift(E->modifiers(), Qt::NoButton)); });
    return key == 0;
}

bool TControlDispatch::KeyUp(TWinControl& C, QKeyEvent* E)
{
    int key = KeyCode(E->key());
    if (key == 0)
        return false;
    Application->Guard([&] { C.KeyUp(key, Shift(E->modifiers(), Qt::NoButton)); });
    return key == 0;
}

void TControlDispatch::FocusIn(TWinControl& C) { Application->Guard([&] { C.DoEnter(); }); }
void TControlDispatch::FocusOut(TWinControl& C) { Application->Guard([&] { C.DoExit(); }); }

void TControlDispatch::Resized(TWinControl& C)
{
    Application->Guard([&] { C.Resize(); });
    C.Invalidate();
}
