#pragma once
// Synthetic input: what an operator's mouse and keyboard would do, for tests and tools that
// drive controls without a display (the offscreen platform will do). Every event takes the
// path real input takes, through the control's native window into its handlers, so what a
// test sees is what the operator gets; nothing here calls a handler directly.
//
// Positions are in the control's client coordinates unless the name says screen. Keys are
// virtual key codes (framework/Controls.h, or 'A'..'Z' and '0'..'9'); Shift's Shift, Ctrl and
// Alt are the modifiers held, and for a move its Left, Right and Middle the buttons held.
// Each call returns once the control has handled the event.
//
// Threading: user-interface thread only.

#include "framework/Controls.h"
#include "platform/Types.h"

namespace Input {

void MouseDown(TWinControl& Control, TMouseButton Button, TPoint P, TShiftState Shift = {});
void MouseUp(TWinControl& Control, TMouseButton Button, TPoint P, TShiftState Shift = {});
// A move that reaches Control while the pointer itself stays where it is.
void MouseMove(TWinControl& Control, TPoint P, TShiftState Shift = {});
// Press and release at P.
void Click(TWinControl& Control, TPoint P, TMouseButton Button = TMouseButton::mbLeft);
// The second press of a double click, as the platform reports it after a Click; a MouseUp
// ends it.
void DoubleClick(TWinControl& Control, TPoint P, TMouseButton Button = TMouseButton::mbLeft);

// Moves the pointer on the screen; controls under its old and new place see it leave and
// enter.
void MoveCursor(TPoint Screen);

void KeyDown(TWinControl& Control, int Key, TShiftState Shift = {});
void KeyUp(TWinControl& Control, int Key, TShiftState Shift = {});
// Down and up; accelerators (Alt and a letter) reach the window's buttons this way.
void KeyPress(TWinControl& Control, int Key, TShiftState Shift = {});

// Brings the window that holds Control to the front and gives it the keyboard, as a click
// on its title bar would; false when the platform did not within a few seconds.
bool ActivateWindow(TWinControl& Control);

} // namespace Input
