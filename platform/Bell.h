#pragma once
// The platform's default beep, the station's only sound. Every ring is counted, so that a
// test can tell how many times the program beeped where there is nothing to hear (the
// offscreen platform, a server without a sound device).
//
// Threading: user-interface thread only, so the count needs no lock.

namespace platform {

void RingBell();
// Rings since the program started.
unsigned long BellCount();

} // namespace platform
