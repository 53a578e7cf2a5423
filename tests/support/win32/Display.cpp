#include "tests/support/Display.h"

// Windows has one display per session; under Wine it is the X display that Wine was started
// on (scripts/test-windows.sh starts a virtual one). Nothing to choose.
void ChooseTestDisplay() {}
