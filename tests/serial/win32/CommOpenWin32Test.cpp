// Opening by the names of Windows: COM names through the device namespace, anything else only
// when it already is a path in a Windows namespace.
#include "tests/serial/CommFixture.h"

TEST_F(CommTest, EachOpeningErrorLeavesTheComponentClosedAndReusable)
{
    const std::pair<std::string, std::string> cases[] = {
        {"COM200", "Error opening serial port"}, // nothing mapped
        {"", "Error opening serial port"},
        {"NUL", "Error opening serial port"}, // a device, but by no COM name
        {"COM1 ", "Error opening serial port"},
        {"\\\\.\\NUL", "File handle is not a comm handle "},
        {"\\\\?\\C:\\windows\\win.ini", "File handle is not a comm handle "},
    };
    for (const auto& [name, message] : cases) {
        Comm.SetCommName(name);
        EXPECT_EQ(OpenError(Comm), message) << name;
        EXPECT_FALSE(Comm.Opened()) << name;
        const uint8_t byte = 1;
        EXPECT_FALSE(Comm.SendData(&byte, 1));
    }
    Comm.SetCommName("COM1");
    Open();
    EXPECT_TRUE(Comm.Opened());
}
