#pragma once
// The real station window with COM1 on a line that the test holds as the device (a
// pseudo-terminal on POSIX, the far port of a pair on Windows): what it beeps and what errors it
// would show the operator.
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/InputDriver.h"
#include "platform/Sound.h"
#include "tests/serial/Pty.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class StationWindow : public ::testing::Test {
protected:
    using TBytes = std::vector<std::uint8_t>;
    using TTexts = std::vector<std::string>;

    StationWindow()
    {
        Application->OnException = [this](TObject*, const std::string& Text) {
            Errors.push_back(Text);
        };
    }
    ~StationWindow() override
    {
        Form.reset();
        Application->OnException = nullptr;
    }

    void Create()
    {
        BeepsBefore = platform::BeepCount();
        Form = std::make_unique<TForm1>(nullptr);
        StartUpBeeps = Beeps();
        Form->Comm1->OnSendDataEmpty = [this](TObject*) { ++Openings; }; // once per opening
        Form->Show();
    }
    unsigned long Beeps() const { return platform::BeepCount() - BeepsBefore; }

    void Receive(const TBytes& Block)
    {
        const std::int32_t before = Form->PacketCount();
        Line->Write(Block);
        ASSERT_TRUE(WaitFor([&] { return Form->PacketCount() != before; }));
    }

    static void Click(TWinControl& Button) { Input::Click(Button, {30, 12}); }

    TPortDir Dir;
    std::unique_ptr<TPty> Line = std::make_unique<TPty>(Dir);
    TTexts Errors;
    std::unique_ptr<TForm1> Form;
    unsigned long BeepsBefore = 0, StartUpBeeps = 0;
    int Openings = 0;
};
