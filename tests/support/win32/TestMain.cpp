// Test programs run inside a real application object, so that posted messages behave as they do
// in the station. A console one: an error that a test leaves unanswered is written to the error
// stream rather than shown in a modal box that nobody closes.
#include "framework/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv, TApplication::TKind::Console);
    return RUN_ALL_TESTS();
}
