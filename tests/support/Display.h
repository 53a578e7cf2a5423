#pragma once
// Where the test programs' windows go when no display is chosen: somewhere that needs no
// screen, so that a test program runs the same by hand as under CTest.
void ChooseTestDisplay();
