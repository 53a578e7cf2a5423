#pragma once
// The station's one window: the last frame sent and the last block received, the packet
// counter, five lists of line settings, six test buttons, the exit button and the chart of
// the last block's samples. It owns the serial component Comm1 and the timer Timer1.
//
// Its handlers run on the user-interface thread only; none of them catches anything, so any
// exception (a port that cannot be opened, above all) reaches the application's error dialog
// and the window stays open. Creating the window runs FormCreate the same way: a port that
// cannot be opened at start-up is reported, and the window is created all the same.

#include "app/Protocol.h"
#include "buttons/cxButtons.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"
#include "serial/Comm.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

extern const char* const ApplicationTitle; // "Ostrel_SMT for Brazil"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* Owner);
    ~TForm1() override;

    // In creation order.
    TLabel* Label1;
    TLabel* Label2;
    TComboBox* ComboBox1;
    TComboBox* ComboBox2;
    TComboBox* ComboBox3;
    TComboBox* ComboBox4;
    TcxButton* Button9;
    TcxButton* Button1;
    TcxButton* Button2;
    TcxButton* Button3;
    TcxButton* Button4;
    TComboBox* ComboBox5;
    TEdit* Edit1;
    TEdit* Edit2;
    TcxButton* Button5;
    TcxButton* Button6;
    TChart* Chart1;
    TLineSeries* Series1;
    TTimer* Timer1;
    TComm* Comm1;

    void FormCreate(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Comm1ReceiveData(TObject* Sender, const void* Buffer, std::uint16_t BufferLength);
    void Timer1Timer(TObject* Sender);
    void ComboBox1Change(TObject* Sender);
    void ComboBox2Change(TObject* Sender);
    void ComboBox3Change(TObject* Sender);
    void ComboBox4Change(TObject* Sender);
    void ComboBox5Change(TObject* Sender);
    void Button9Click(TObject* Sender);

    std::int32_t PacketCount() const { return FPacketCount; }

private:
    void CreateControls();
    // Button m of the test buttons: beep, show frame m, send it.
    void SendTest(int Code);
    // A list changed: close the port, apply that list's setting alone, open the port again.
    void SettingChanged(const TComboBox& List, void (*Apply)(TComm&, int));

    std::array<TTestFrame, TestCommandCount> FCommands{};
    std::vector<std::uint8_t> FResponse; // the last block
    std::vector<std::int32_t> FSamples;  // its samples
    std::int32_t FPacketCount = 0;
};
