#pragma once
// The one sound the system makes. Every beep is counted, so that a test can tell how many
// times the program beeped where there is nothing to hear (the offscreen platform, a server
// without a sound device).
//
// Threading: user-interface thread, so the count needs no lock.

namespace platform {

// The platform's default beep; Type is accepted for its classic signature and not used.
// Silent in a program without a windowing system.
void MessageBeep(unsigned Type = 0);

// Beeps since the program started, heard or not.
unsigned long BeepCount();

} // namespace platform
