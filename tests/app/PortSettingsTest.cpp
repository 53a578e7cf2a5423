// Each list's items and what each item gives the serial component, from the settings tables.
#include "app/PortSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TItems = std::vector<std::string>;

TEST(SettingsLists, OfferTheirItemsInOrderAndEachBaudRateItemGivesItsValue)
{
    const TItems ports = PortNameItems();
    ASSERT_EQ(ports.size(), 48u);
    EXPECT_EQ((TItems{ports[0], ports[9], ports[47]}), (TItems{"COM1", "COM10", "COM48"}));
    const TItems rates = {"75",     "110",    "134",    "150",    "220",     "300",    "330",
                          "600",    "660",    "900",    "1200",   "1800",    "2400",   "4800",
                          "5700",   "6400",   "7200",   "9600",   "11400",   "14400",  "16550",
                          "19200",  "22800",  "28800",  "33600",  "38400",   "56000",  "57600",
                          "76800",  "115200", "128000", "153600", "230400",  "256000", "307200",
                          "460800", "512000", "614400", "921600", "1024000", "1228800"};
    EXPECT_EQ(BaudRateItems(), rates);
    TComm comm(nullptr);
    for (int i = 0; i < int(rates.size()); ++i) {
        ApplyBaudRate(comm, i);
        EXPECT_EQ(std::to_string(comm.BaudRate()), rates[std::size_t(i)]);
    }
    EXPECT_EQ(DataBitsItems(), (TItems{"数据位4位", "数据位5位", "数据位6位", "数据位7位",
                                       "数据位8位", "数据位9位"}));
    EXPECT_EQ(ParityItems(),
              (TItems{"无校验None", "偶校验Even", "奇校验Odd", "标志Mark", "空Space"}));
    EXPECT_EQ(StopBitsItems(), (TItems{"停止位1", "停止位1.5", "停止位2"}));
    EXPECT_EQ(rates[DefaultBaudRateIndex], "9600");
}

// Applied one after another to one component, so an index that maps to nothing must leave
// exactly what the row before it set.
TEST(SettingsLists, MappingsSetTheirPropertiesOrNothing)
{
    TComm comm(nullptr);
    const struct {
        void (*Apply)(TComm&, int);
        int Index;
        std::string Name;
        TByteSize Size;
        bool Check;
        TParity Parity;
        TStopBits Stop;
    } rows[] = {
        {ApplyPortName, 11, "COM12", TByteSize::_8, false, TParity::None, TStopBits::_1},
        {ApplyPortName, 48, "COM12", TByteSize::_8, false, TParity::None, TStopBits::_1},
        {ApplyPortName, -1, "COM12", TByteSize::_8, false, TParity::None, TStopBits::_1},
        {ApplyDataBits, 3, "COM12", TByteSize::_7, false, TParity::None, TStopBits::_1},
        {ApplyDataBits, 5, "COM12", TByteSize::_7, false, TParity::None, TStopBits::_1},
        {ApplyDataBits, 0, "COM12", TByteSize::_7, false, TParity::None, TStopBits::_1},
        {ApplyDataBits, 1, "COM12", TByteSize::_5, false, TParity::None, TStopBits::_1},
        {ApplyDataBits, 2, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_1},
        {ApplyDataBits, -1, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_1},
        {ApplyParity, 2, "COM12", TByteSize::_6, true, TParity::Odd, TStopBits::_1},
        {ApplyParity, 1, "COM12", TByteSize::_6, true, TParity::Even, TStopBits::_1},
        {ApplyParity, 3, "COM12", TByteSize::_6, true, TParity::Mark, TStopBits::_1},
        {ApplyParity, 4, "COM12", TByteSize::_6, true, TParity::Space, TStopBits::_1},
        {ApplyParity, 5, "COM12", TByteSize::_6, true, TParity::Space, TStopBits::_1},
        {ApplyParity, 0, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_1},
        {ApplyStopBits, 1, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_1_5},
        {ApplyStopBits, 2, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_2},
        {ApplyStopBits, -1, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_2},
        {ApplyStopBits, 0, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_1},
        {ApplyBaudRate, -1, "COM12", TByteSize::_6, false, TParity::None, TStopBits::_1},
    };
    comm.SetBaudRate(600);
    int line = 0;
    for (const auto& row : rows) {
        row.Apply(comm, row.Index);
        SCOPED_TRACE("row " + std::to_string(line++));
        EXPECT_EQ(comm.CommName(), row.Name);
        EXPECT_EQ(comm.ByteSize(), row.Size);
        EXPECT_EQ(comm.ParityCheck(), row.Check);
        EXPECT_EQ(comm.Parity(), row.Parity);
        EXPECT_EQ(comm.StopBits(), row.Stop);
    }
    EXPECT_EQ(comm.BaudRate(), 600u);
}

} // namespace
