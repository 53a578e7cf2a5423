#pragma once
// The one sound the system makes.
//
// Threading: user-interface thread.

namespace platform {

// The platform's default beep; Type is accepted for its classic signature and not used.
// Silent in a program without a windowing system.
void MessageBeep(unsigned Type = 0);

} // namespace platform
