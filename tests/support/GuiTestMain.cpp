// Test programs run inside a real application object, so controls and posted messages behave
// as they do in the station. Without a display they use the offscreen platform.
#include "framework/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv, TApplication::TKind::Gui);
    return RUN_ALL_TESTS();
}
