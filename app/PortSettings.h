#pragma once
// The five settings lists of the main window as tables: what each list offers, in order, and
// what an item gives the serial component. An Apply function takes a list's index and sets
// that list's properties alone; an index the table does not map (-1 for nothing selected, or
// an item such as 4 or 9 data bits that the component cannot take) sets nothing, and the
// component keeps what it held.
//
// The parity list shows Even before Odd while the component's enumeration has Odd first:
// the table, not the index, decides.

#include "serial/Comm.h"

#include <string>
#include <vector>

std::vector<std::string> PortNameItems(); // "COM1" to "COM48"
std::vector<std::string> BaudRateItems(); // "75" to "1228800"
std::vector<std::string> DataBitsItems(); // "数据位4位" to "数据位9位"
std::vector<std::string> ParityItems();   // "无校验None", "偶校验Even", ...
std::vector<std::string> StopBitsItems(); // "停止位1", "停止位1.5", "停止位2"

// The items selected at every start: COM1, 9600, 8 data bits, no parity, 1 stop bit.
constexpr int DefaultPortNameIndex = 0;
constexpr int DefaultBaudRateIndex = 17;
constexpr int DefaultDataBitsIndex = 4;
constexpr int DefaultParityIndex = 0;
constexpr int DefaultStopBitsIndex = 0;

void ApplyPortName(TComm& Comm, int Index);
void ApplyBaudRate(TComm& Comm, int Index);
void ApplyDataBits(TComm& Comm, int Index);
void ApplyParity(TComm& Comm, int Index);
void ApplyStopBits(TComm& Comm, int Index);
