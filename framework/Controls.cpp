#include "framework/Controls.h"

#include "framework/NativeWidget.h"
#include "platform/QtBridge.h"

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
    FNative->setFocusPolicy(Qt::NoFocus);
}

TWinControl::TWinControl(TComponent* Owner, QWidget* Native)
    : TComponent(Owner), FNative(Native),
      FBackStore(std::make_unique<platform::TBitmapImage>(1, 1))
{
    // Everything a control shows comes from its back store, so Qt need not clear first.
    FNative->setAttribute(Qt::WA_OpaquePaintEvent);
}

TWinControl::~TWinControl()
{
    // Children are freed by their owner, maybe after this control: let go of their widgets so
    // that Qt does not delete them with ours.
    for (TWinControl* child : FControls) {
        child->FNative->hide();
        child->FNative->setParent(nullptr);
        child->FParent = nullptr;
    }
    if (FParent)
        FParent->RemoveControl(this);
    // The widget may be inside a Qt event handler of its own right now: it forwards nothing
    // from here on and the event loop deletes it.
    if (auto* link = dynamic_cast<TNativeLink*>(FNative))
        link->Detach();
    FNative->hide();
    FNative->setParent(nullptr);
    FNative->deleteLater();
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
    FNative->setParent(Value ? Value->FNative : nullptr);
    if (Value) {
        Value->FControls.push_back(this);
        // Qt hides a widget that changes parent; a control stays as visible as it was.
        FNative->setVisible(FVisible);
        // A tab order given before the parent takes its place now.
        if (FTabOrder >= 0)
            Value->ChainTabOrder();
    }
}

// The client position, for windows too: it is what SetBounds sets (Qt's x() and y() give a
// top-level window's frame position instead).
int TWinControl::Left() const { return FNative->geometry().x(); }
int TWinControl::Top() const { return FNative->geometry().y(); }
int TWinControl::Width() const { return FNative->width(); }
int TWinControl::Height() const { return FNative->height(); }
void TWinControl::SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
void TWinControl::SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
void TWinControl::SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
void TWinControl::SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FNative->setGeometry(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight));
}

TRect TWinControl::ClientRect() const { return {0, 0, Width(), Height()}; }

TRect TWinControl::BoundsRect() const
{
    return {Left(), Top(), Left() + Width(), Top() + Height()};
}

// The platform closes windows by itself (the title-bar button, Close): ask it.
bool TWinControl::Visible() const { return FParent ? FVisible : FNative->isVisible(); }

void TWinControl::SetVisible(bool Value)
{
    FVisible = Value;
    FNative->setVisible(Value);
}

bool TWinControl::Enabled() const { return !FNative->testAttribute(Qt::WA_ForceDisabled); }

void TWinControl::SetEnabled(bool Value)
{
    if (Value == Enabled())
        return;
    FNative->setEnabled(Value);
    EnabledChanged();
    Invalidate();
}

bool TWinControl::TabStop() const { return FNative->focusPolicy() & Qt::TabFocus; }

void TWinControl::SetTabStop(bool Value)
{
    FNative->setFocusPolicy(Value ? Qt::StrongFocus : Qt::ClickFocus);
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
        QWidget::setTabOrder(children[i - 1]->FNative, children[i]->FNative);
}

bool TWinControl::Focused() const { return FNative->hasFocus(); }

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c; c = c->FParent)
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    QWidget* window = FNative->window();
    if (!window->isActiveWindow())
        window->activateWindow();
    FNative->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    FNative->setCursor(ShapeOf(Value));
}

bool TWinControl::MouseCapture() const { return QWidget::mouseGrabber() == FNative; }

void TWinControl::SetMouseCapture(bool Value)
{
    if (Value)
        FNative->grabMouse();
    else if (MouseCapture())
        FNative->releaseMouse();
}

TPoint TWinControl::ClientToScreen(TPoint P) const
{
    const QPoint q = FNative->mapToGlobal(QPoint(P.X, P.Y));
    return {q.x(), q.y()};
}

TPoint TWinControl::ScreenToClient(TPoint P) const
{
    const QPoint q = FNative->mapFromGlobal(QPoint(P.X, P.Y));
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
    FNative->update();
}

void TWinControl::Update()
{
    if (!FPaintPending)
        return;
    PaintBackStore();
    if (FNative->isVisible())
        FNative->repaint();
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

const platform::TBitmapImage& TWinControl::BackStore() const { return *FBackStore; }

bool TWinControl::SaveScreenshot(const std::string& Path) const
{
    return FNative->grab().save(QString::fromStdString(Path), "PNG");
}

QWidget* TWinControl::Native() const { return FNative; }

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

int TControlDispatch::KeyCode(int QtKey)
{
    switch (QtKey) {
    case Qt::Key_Backspace: return VirtualKey::Back;
    case Qt::Key_Tab: return VirtualKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VirtualKey::Return;
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_Space: return VirtualKey::Space;
    case Qt::Key_Left: return VirtualKey::Left;
    case Qt::Key_Up: return VirtualKey::Up;
    case Qt::Key_Right: return VirtualKey::Right;
    case Qt::Key_Down: return VirtualKey::Down;
    default: break;
    }
    if ((QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) || (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9))
        return QtKey; // the same codes as the virtual keys
    return 0;
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
