// Test programs run inside a real application object, so controls and posted messages behave
// as they do in the station. Without a display they use one that needs no screen.
#include "framework/Application.h"
#include "tests/support/Display.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    ChooseTestDisplay();
    TApplication app(argc, argv, TApplication::TKind::Gui);
    return RUN_ALL_TESTS();
}
