#include "framework/Application.h"
#include "framework/Classes.h"
#include "framework/Graphics.h"

#include <gtest/gtest.h>

TEST(ErrorDialogText, AppendsFullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ErrorDialogText("Error opening serial port"), "Error opening serial port.");
    EXPECT_EQ(ErrorDialogText("File handle is not a comm handle "),
              "File handle is not a comm handle ");
    EXPECT_EQ(ErrorDialogText("Done."), "Done.");
    EXPECT_EQ(ErrorDialogText("value -"), "value -");
    EXPECT_EQ(ErrorDialogText("9"), "9.");
    EXPECT_EQ(ErrorDialogText(""), "");
    // The last byte of a UTF-8 character sorts after '.'.
    EXPECT_EQ(ErrorDialogText("校验失败！"), "校验失败！.");
}

TEST(Application, GuardSendsExceptionTextToTheErrorHandler)
{
    std::string shown;
    Application->OnException = [&](TObject*, const std::string& text) { shown = text; };
    Application->Guard([] { throw Exception("Port is already open"); });
    Application->OnException = nullptr;
    EXPECT_EQ(shown, "Port is already open.");
}

TEST(Application, GuardShowsAGenericTextForWhatIsNoStdException)
{
    std::string shown;
    Application->OnException = [&](TObject*, const std::string& text) { shown = text; };
    Application->Guard([] { throw 42; });
    Application->OnException = nullptr;
    EXPECT_EQ(shown, "An unexpected error occurred.");
}

namespace {
struct Probe : TComponent {
    Probe(TComponent* owner, std::vector<int>& log, int id)
        : TComponent(owner), Log(log), Id(id) {}
    ~Probe() override { Log.push_back(Id); }
    std::vector<int>& Log;
    int Id;
};
} // namespace

TEST(Component, OwnerFreesChildrenLastFirstAndForgetsOnesFreedEarlier)
{
    std::vector<int> log;
    auto* root = new Probe(nullptr, log, 0);
    new Probe(root, log, 1);
    auto* second = new Probe(root, log, 2);
    new Probe(root, log, 3);
    delete second;
    EXPECT_EQ(root->ComponentCount(), 2);
    delete root;
    EXPECT_EQ(log, (std::vector<int>{2, 0, 3, 1}));
}
