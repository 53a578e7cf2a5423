#pragma once
// The one way our Windows sources include <windows.h>.
//
// <windows.h> turns many plain words into macros. Our own names avoid all of them (see the
// README's layout section) except the few that the component model gives as method names:
// those macros are undone here, so that a canvas' TextOut stays TextOut in every file,
// whether or not that file sees <windows.h>. Call the Windows functions behind them by
// their explicit names (TextOutW).

#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max stay functions
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>

#undef TextOut
