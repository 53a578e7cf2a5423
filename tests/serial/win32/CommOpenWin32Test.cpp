// Opening by the names of Windows: COM names through the device namespace, anything else only
// when it already is a path in a Windows namespace.
#include "tests/serial/CommFixture.h"

TEST_F(CommTest, EachOpeningErrorLeavesTheComponentClosedAndReusable)
{
    ExpectOpeningErrors({
        {"COM200", "Error opening serial port"}, // nothing mapped
        {"", "Error opening serial port"},
        {"NUL", "Error opening serial port"}, // a device, but by no COM name
        {"COM1 ", "Error opening serial port"},
        {"\\\\.\\NUL", "File handle is not a comm handle "},
        {"\\\\?\\C:\\windows\\win.ini", "File handle is not a comm handle "},
    });
}
