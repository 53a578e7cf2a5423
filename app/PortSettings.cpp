#include "app/PortSettings.h"

#include <array>
#include <cstdint>
#include <optional>

namespace {

constexpr int kPortCount = 48;

constexpr std::array<std::uint32_t, 41> kBaudRates = {
    75,     110,    134,    150,    220,    300,    330,     600,    660,    900,    1200,
    1800,   2400,   4800,   5700,   6400,   7200,   9600,    11400,  14400,  16550,  19200,
    22800,  28800,  33600,  38400,  56000,  57600,  76800,   115200, 128000, 153600, 230400,
    256000, 307200, 460800, 512000, 614400, 921600, 1024000, 1228800};

struct TDataBitsRow {
    const char* Item;
    std::optional<TByteSize> Value;
};
const std::array<TDataBitsRow, 6> kDataBits = {{
    {"数据位4位", std::nullopt},
    {"数据位5位", TByteSize::_5},
    {"数据位6位", TByteSize::_6},
    {"数据位7位", TByteSize::_7},
    {"数据位8位", TByteSize::_8},
    {"数据位9位", std::nullopt},
}};

struct TParityRow {
    const char* Item;
    bool Check;
    TParity Value;
};
const std::array<TParityRow, 5> kParities = {{
    {"无校验None", false, TParity::None},
    {"偶校验Even", true, TParity::Even},
    {"奇校验Odd", true, TParity::Odd},
    {"标志Mark", true, TParity::Mark},
    {"空Space", true, TParity::Space},
}};

struct TStopBitsRow {
    const char* Item;
    TStopBits Value;
};
const std::array<TStopBitsRow, 3> kStopBits = {{
    {"停止位1", TStopBits::_1},
    {"停止位1.5", TStopBits::_1_5},
    {"停止位2", TStopBits::_2},
}};

// The row of Table at Index, or null for -1 and anything else outside it.
template <class TTable>
const typename TTable::value_type* Row(const TTable& Table, int Index)
{
    return Index >= 0 && std::size_t(Index) < Table.size() ? &Table[std::size_t(Index)] : nullptr;
}

template <class TTable>
std::vector<std::string> ItemsOf(const TTable& Table)
{
    std::vector<std::string> items;
    for (const auto& row : Table)
        items.emplace_back(row.Item);
    return items;
}

std::string PortName(int Index) { return "COM" + std::to_string(Index + 1); }

} // namespace

std::vector<std::string> PortNameItems()
{
    std::vector<std::string> items;
    for (int k = 0; k < kPortCount; ++k)
        items.push_back(PortName(k));
    return items;
}

std::vector<std::string> BaudRateItems()
{
    std::vector<std::string> items;
    for (std::uint32_t rate : kBaudRates)
        items.push_back(std::to_string(rate));
    return items;
}

std::vector<std::string> DataBitsItems() { return ItemsOf(kDataBits); }
std::vector<std::string> ParityItems() { return ItemsOf(kParities); }
std::vector<std::string> StopBitsItems() { return ItemsOf(kStopBits); }

void ApplyPortName(TComm& Comm, int Index)
{
    if (Index >= 0 && Index < kPortCount)
        Comm.SetCommName(PortName(Index));
}

void ApplyBaudRate(TComm& Comm, int Index)
{
    if (const auto* rate = Row(kBaudRates, Index))
        Comm.SetBaudRate(*rate);
}

void ApplyDataBits(TComm& Comm, int Index)
{
    if (const auto* row = Row(kDataBits, Index); row && row->Value)
        Comm.SetByteSize(*row->Value);
}

void ApplyParity(TComm& Comm, int Index)
{
    if (const auto* row = Row(kParities, Index)) {
        Comm.SetParityCheck(row->Check);
        Comm.SetParity(row->Value);
    }
}

void ApplyStopBits(TComm& Comm, int Index)
{
    if (const auto* row = Row(kStopBits, Index))
        Comm.SetStopBits(row->Value);
}
