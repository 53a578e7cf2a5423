#include "tests/support/Display.h"

#include <cstdlib>

// Qt's offscreen platform, unless the caller chose another one.
void ChooseTestDisplay() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }
