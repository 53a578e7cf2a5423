// Any bytes as one block received by the station's window, through its own handler, and the
// chart painted with what the block put on it. The port list points at an empty folder, so
// the window's start-up opens nothing and no real line interferes.
#include "app/Unit1.h"
#include "framework/Application.h"

#include <cstdlib>

namespace {

// Kept to the end of the process: Qt tears its own state down before static destructors
// would run, so the application and its windows are never destroyed.
TApplication* App = nullptr;
TForm1* Form = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static char folder[] = "/tmp/ostrel-fuzz-ports-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    setenv("OSTREL_SMT_PORTS", folder, 1);
    App = new TApplication(*argc, *argv, TApplication::TKind::Gui);
    Application->OnException = [](TObject*, const std::string&) {};
    Form = new TForm1(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::size_t n = std::min<std::size_t>(Size, 0xFFFF);
    Form->Comm1ReceiveData(Form->Comm1, Data, std::uint16_t(n));
    Form->Chart1->Repaint();
    return 0;
}
