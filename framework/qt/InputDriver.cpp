#include "framework/InputDriver.h"

#include "framework/qt/NativeWidget.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>

#include <stdexcept>
#include <string>

namespace Input {

namespace {

QPoint QtPoint(TPoint P) { return {P.X, P.Y}; }

int QtKeyOf(int Key, TShiftState Shift)
{
    // Shift+Tab arrives as a key of its own, as the windowing systems report it.
    if (Key == VirtualKey::Tab && Shift.Shift)
        return Qt::Key_Backtab;
    if (const int key = TControlDispatch::QtKey(Key))
        return key;
    throw std::invalid_argument("no key for virtual key " + std::to_string(Key));
}

} // namespace

void MouseDown(TWinControl& Control, TMouseButton Button, TPoint P, TShiftState Shift)
{
    QTest::mousePress(NativeWidgetOf(Control), TControlDispatch::QtButton(Button),
                      TControlDispatch::Modifiers(Shift), QtPoint(P));
}

void MouseUp(TWinControl& Control, TMouseButton Button, TPoint P, TShiftState Shift)
{
    QTest::mouseRelease(NativeWidgetOf(Control), TControlDispatch::QtButton(Button),
                        TControlDispatch::Modifiers(Shift), QtPoint(P));
}

void MouseMove(TWinControl& Control, TPoint P, TShiftState Shift)
{
    QWidget* widget = NativeWidgetOf(Control);
    QMouseEvent move(QEvent::MouseMove, QtPoint(P), widget->mapToGlobal(QPointF(QtPoint(P))),
                     Qt::NoButton, TControlDispatch::Buttons(Shift),
                     TControlDispatch::Modifiers(Shift));
    QApplication::sendEvent(widget, &move);
}

void Click(TWinControl& Control, TPoint P, TMouseButton Button)
{
    QTest::mouseClick(NativeWidgetOf(Control), TControlDispatch::QtButton(Button), {}, QtPoint(P));
}

void DoubleClick(TWinControl& Control, TPoint P, TMouseButton Button)
{
    QTest::mouseDClick(NativeWidgetOf(Control), TControlDispatch::QtButton(Button), {}, QtPoint(P));
}

void MoveCursor(TPoint Screen)
{
    QCursor::setPos(Screen.X, Screen.Y);
    Application->ProcessMessages();
}

void KeyDown(TWinControl& Control, int Key, TShiftState Shift)
{
    QTest::keyPress(NativeWidgetOf(Control), Qt::Key(QtKeyOf(Key, Shift)),
                    TControlDispatch::Modifiers(Shift));
}

void KeyUp(TWinControl& Control, int Key, TShiftState Shift)
{
    QTest::keyRelease(NativeWidgetOf(Control), Qt::Key(QtKeyOf(Key, Shift)),
                      TControlDispatch::Modifiers(Shift));
}

void KeyPress(TWinControl& Control, int Key, TShiftState Shift)
{
    QTest::keyClick(NativeWidgetOf(Control), Qt::Key(QtKeyOf(Key, Shift)),
                    TControlDispatch::Modifiers(Shift));
}

bool ActivateWindow(TWinControl& Control)
{
    QWidget* window = NativeWidgetOf(Control)->window();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace Input
