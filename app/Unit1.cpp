#include "app/Unit1.h"

#include "app/PortSettings.h"
#include "app/StationChart.h"
#include "framework/Application.h"
#include "platform/Sound.h"

const char* const ApplicationTitle = "Ostrel_SMT for Brazil";

namespace {

const char* const kKeypadCaption = "KEYPAD";
const char* const kChecksumFailedCaption = "校验失败！";
constexpr unsigned kFailureShownMs = 5000;
// Twice the largest block the receive path delivers.
constexpr std::size_t kResponseBufferSize = 4096;

template <class TControl>
TControl* Place(TForm1* Form, TControl* Control, int Left, int Top, int Width, int Height,
                int TabOrder = -1)
{
    Control->SetParent(Form);
    Control->SetBounds(Left, Top, Width, Height);
    if (TabOrder >= 0)
        Control->SetTabOrder(TabOrder);
    return Control;
}

void FillList(TComboBox& List, const std::vector<std::string>& Items)
{
    for (const std::string& item : Items)
        List.Items().Add(item);
}

} // namespace

TForm1::TForm1(TComponent* Owner) : TForm(Owner)
{
    FResponse.reserve(kResponseBufferSize);
    FSamples.reserve(kResponseBufferSize / 2);
    CreateControls();
    Application->Guard([this] { FormCreate(this); });
}

TForm1::~TForm1() = default;

void TForm1::CreateControls()
{
    SetCaption(ApplicationTitle);
    SetBounds(0, 0, 465, 277);
    SetBorderStyle(bsSingle);
    SetBorderIcons({.SystemMenu = true, .Minimize = true, .Maximize = false});
    SetPosition(poScreenCenter);
    SetColor(clSkyBlue);

    // Sized by its caption, which is spaced to stand above the five lists.
    Label1 = Place(this, new TLabel(this), 8, 32, 403, 13);
    Label1->SetCaption("COM Port ：         Baud Rate ：        Data Bit ：           "
                       "Parity Check ：    Stop Bit ：");
    Label2 = new TLabel(this);
    Label2->SetAutoSize(false);
    Place(this, Label2, 205, 12, 41, 13);
    Label2->Font().SetColor(clRed);
    Label2->SetAlignment(taRightJustify);

    const auto list = [this](int Left, int Width, int TabOrder, void (TForm1::*Handler)(TObject*)) {
        auto* box = Place(this, new TComboBox(this), Left, 48, Width, 21, TabOrder);
        box->SetColor(clBlue);
        box->Font().SetColor(clLime);
        box->SetItemHeight(13);
        box->SetDropDownCount(8);
        box->OnChange = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
        return box;
    };
    const auto button = [this](int Left, int TabOrder, const char* Caption,
                               void (TForm1::*Handler)(TObject*)) {
        auto* b = Place(this, new TcxButton(this), Left, 80, 60, 25, TabOrder);
        b->SetCaption(Caption);
        b->OnClick = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
        return b;
    };
    const auto edit = [this](int Left, int Width, int TabOrder, TColor Color) {
        auto* e = Place(this, new TEdit(this), Left, 8, Width, 21, TabOrder);
        e->SetColor(Color);
        e->Font().SetColor(clBlue);
        return e;
    };

    ComboBox1 = list(8, 83, 0, &TForm1::ComboBox1Change);
    ComboBox2 = list(97, 83, 1, &TForm1::ComboBox2Change);
    ComboBox3 = list(186, 83, 2, &TForm1::ComboBox3Change);
    ComboBox4 = list(276, 90, 3, &TForm1::ComboBox4Change);
    Button9 = button(398, 4, "退出", &TForm1::Button9Click);
    Button9->SetCancel(true);
    Button1 = button(8, 5, kKeypadCaption, &TForm1::Button1Click);
    Button2 = button(73, 6, "MIC", &TForm1::Button2Click);
    Button3 = button(138, 7, "ALERT", &TForm1::Button3Click);
    Button4 = button(203, 8, "SIM", &TForm1::Button4Click);
    ComboBox5 = list(372, 83, 9, &TForm1::ComboBox5Change);
    Edit1 = edit(8, 193, 10, clBtnFace);
    Edit2 = edit(248, 209, 11, cl3DLight);
    Button5 = button(268, 12, "SD", &TForm1::Button5Click);
    Button6 = button(333, 13, "RESET", &TForm1::Button6Click);
    Chart1 = Place(this, new TChart(this), 8, 112, 449, 161, 14);
    Series1 = SetupStationChart(*Chart1, this);

    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(kFailureShownMs);
    Timer1->SetOnTimer([this](TObject* Sender) { Timer1Timer(Sender); });

    Comm1 = new TComm(this);
    Comm1->SetCommName("COM2"); // the stored name; start-up applies the list's COM1
    Comm1->OnReceiveData = [this](TObject* Sender, const void* Buffer, std::uint16_t Length) {
        Comm1ReceiveData(Sender, Buffer, Length);
    };
}

void TForm1::FormCreate(TObject*)
{
    FillList(*ComboBox1, PortNameItems());
    FillList(*ComboBox2, BaudRateItems());
    FillList(*ComboBox3, DataBitsItems());
    FillList(*ComboBox4, ParityItems());
    FillList(*ComboBox5, StopBitsItems());

    ComboBox1->SetItemIndex(DefaultPortNameIndex);
    ComboBox2->SetItemIndex(DefaultBaudRateIndex);
    ComboBox3->SetItemIndex(DefaultDataBitsIndex);
    ComboBox4->SetItemIndex(DefaultParityIndex);
    ComboBox5->SetItemIndex(DefaultStopBitsIndex);

    platform::MessageBeep(0);

    ApplyPortName(*Comm1, ComboBox1->ItemIndex());
    ApplyBaudRate(*Comm1, ComboBox2->ItemIndex());
    ApplyDataBits(*Comm1, ComboBox3->ItemIndex());
    ApplyParity(*Comm1, ComboBox4->ItemIndex());
    ApplyStopBits(*Comm1, ComboBox5->ItemIndex());

    for (int code = 1; code <= TestCommandCount; ++code)
        FCommands[std::size_t(code - 1)] = BuildTestFrame(std::uint8_t(code));

    Comm1->OpenPort();
}

void TForm1::SendTest(int Code)
{
    const TTestFrame& frame = FCommands[std::size_t(Code - 1)];
    platform::MessageBeep(0);
    Edit1->SetText(ResponseHexText(frame.data(), frame.size()));
    // A refused byte (the port is closed) ends the frame; the window looks the same either way.
    SendTestFrame(*Comm1, frame);
}

void TForm1::Button1Click(TObject*) { SendTest(1); }
void TForm1::Button2Click(TObject*) { SendTest(2); }
void TForm1::Button3Click(TObject*) { SendTest(3); }
void TForm1::Button4Click(TObject*) { SendTest(4); }
void TForm1::Button5Click(TObject*) { SendTest(5); }
void TForm1::Button6Click(TObject*) { SendTest(6); }

void TForm1::Comm1ReceiveData(TObject*, const void* Buffer, std::uint16_t BufferLength)
{
    // The bytes are the component's and valid only during this call: copy them first. The
    // buffer takes any count, so a block longer than the receive path's 2048 bytes is still
    // handled whole.
    const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
    FResponse.assign(bytes, bytes + BufferLength);

    FPacketCount = NextPacketCount(FPacketCount);
    Label2->SetCaption(std::to_string(FPacketCount));
    Button1->SetCaption(kKeypadCaption); // the red font colour stays until the timer
    Series1->Clear();
    Series1->SetActive(true);
    Edit2->SetText(ResponseHexText(FResponse.data(), FResponse.size()));

    // One beep per block, passing or not.
    platform::MessageBeep(0);
    if (!ResponseChecksumOk(FResponse.data(), FResponse.size())) {
        Button1->SetCaption(kChecksumFailedCaption);
        Button1->Font().SetColor(clRed);
        // Already running after an earlier failure: it keeps counting from that one.
        Timer1->SetEnabled(true);
    }

    FSamples = DecodeSamples(FResponse.data(), FResponse.size());
    for (std::int32_t sample : FSamples)
        Series1->Add(double(sample), "", clDefault);
}

void TForm1::Timer1Timer(TObject*)
{
    Button1->SetCaption(kKeypadCaption);
    Button1->Font().SetColor(clWindowText);
    Timer1->SetEnabled(false);
}

void TForm1::SettingChanged(const TComboBox& List, void (*Apply)(TComm&, int))
{
    if (!Button1->Enabled())
        return;
    Comm1->ClosePort();
    Apply(*Comm1, List.ItemIndex());
    Comm1->OpenPort();
}

void TForm1::ComboBox1Change(TObject*) { SettingChanged(*ComboBox1, ApplyPortName); }
void TForm1::ComboBox2Change(TObject*) { SettingChanged(*ComboBox2, ApplyBaudRate); }
void TForm1::ComboBox3Change(TObject*) { SettingChanged(*ComboBox3, ApplyDataBits); }
void TForm1::ComboBox4Change(TObject*) { SettingChanged(*ComboBox4, ApplyParity); }
void TForm1::ComboBox5Change(TObject*) { SettingChanged(*ComboBox5, ApplyStopBits); }

void TForm1::Button9Click(TObject*)
{
    platform::MessageBeep(0);
    Comm1->ClosePort();
    Close();
}
