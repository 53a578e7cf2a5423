// The real window on the offscreen platform, its port a pseudo-terminal linked as COM1: what
// only Qt's widgets and a pseudo-terminal show (the window's limits, the line's settings as
// the device sees them, the dropped-down lists, the error box). Clicking all six buttons is
// the end-to-end test's part.
#include "tests/app/StationFixture.h"

#include "framework/qt/NativeWidget.h"
#include "tests/serial/posix/PtyPosix.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <termios.h>

namespace {

class StationWidgets : public StationWindow {
protected:
    void Create()
    {
        StationWindow::Create();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(NativeWidgetOf(*Form)));
    }

    // Picks an item with the mouse in the dropped-down list.
    static void Pick(TComboBox& List, int Index)
    {
        auto* box = static_cast<QComboBox*>(NativeWidgetOf(List));
        box->showPopup();
        QAbstractItemView* view = box->view();
        const QModelIndex item = view->model()->index(Index, 0);
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        WaitFor([&] { return !view->isVisible(); }, 1000);
    }
};

TEST_F(StationWidgets, TheLineStartsAt9600AndTheWindowIsFixedAndSkyBlue)
{
    Create();
    EXPECT_EQ(cfgetospeed(&static_cast<const termios&>(LineSettings(*Line))), speed_t(B9600));
    QWidget* window = NativeWidgetOf(*Form);
    EXPECT_EQ(window->minimumSize(), QSize(465, 277)); // the operator cannot resize it
    EXPECT_EQ(window->maximumSize(), QSize(465, 277));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    // Between the edits the window shows its sky blue.
    EXPECT_EQ(window->grab().toImage().pixel(203, 20) & 0xFFFFFF, 0xA6CAF0u);
}

TEST_F(StationWidgets, APickReopensWithThatSettingAloneAndTypingReopensAtEveryEdit)
{
    Create();
    Receive({0x00});
    Openings = 0;
    Pick(*Form->ComboBox4, 2);  // "奇校验Odd"
    Pick(*Form->ComboBox2, 21); // "19200"
    EXPECT_TRUE(WaitFor([&] { return Openings == 2; }));
    EXPECT_TRUE(Errors.empty());
    const termios line = LineSettings(*Line);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & (PARODD | CSIZE | CSTOPB), tcflag_t(PARODD | CS8));

    // Text that is no item selects nothing: the port reopens unchanged.
    QLineEdit* field = static_cast<QComboBox*>(NativeWidgetOf(*Form->ComboBox1))->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, "CO");
    EXPECT_TRUE(WaitFor([&] { return Openings == 4; }));
    EXPECT_EQ(Form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(Form->Comm1->CommName(), "COM1");

    Receive({0x00});
    EXPECT_EQ(Form->Label2->Caption(), "2"); // the counter goes on across port changes
    EXPECT_EQ(Openings, 4);
}

// A start without COM1: one beep, then the platform's modal error box, then the window. Test
// frames are refused until a pick opens a port; a pick that fails shows the box once more.
TEST_F(StationWidgets, AStartWithoutCom1ShowsTheErrorBoxAfterTheBeepAndRefusesFramesTillAGoodPick)
{
    Application->OnException = nullptr;
    const std::string title = Application->Title();
    Application->SetTitle(ApplicationTitle);
    LinkPort(Dir, "COM1", PortPath(Dir) + "/absent");
    LinkPort(Dir, "COM3", PortPath(Dir) + "/unplugged");
    TPty other(Dir, "COM2");
    QStringList seen;
    const auto answerTheBox = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen << QString("%1|%2|%3|%4|%5|%6")
                        .arg(box->windowTitle(), box->text())
                        .arg(box->icon() == QMessageBox::Critical)
                        .arg(box->standardButtons() == QMessageBox::Ok)
                        .arg(box->isModal())
                        .arg(Beeps());
            box->button(QMessageBox::Ok)->click();
        });
    };
    answerTheBox();
    Create();
    Application->SetTitle(title);
    EXPECT_EQ(seen, QStringList{"Ostrel_SMT for Brazil|Error opening serial port.|1|1|1|1"});
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->ComboBox3->Text(), "数据位8位");

    Click(*Form->Button1); // refused, but it beeps and shows its frame all the same
    EXPECT_EQ(Beeps(), 2u);
    EXPECT_EQ(Form->Edit1->Text(), "AA55010000000000");

    answerTheBox();
    Pick(*Form->ComboBox1, 2);
    EXPECT_EQ(seen.size(), 2);
    EXPECT_FALSE(Form->Comm1->Opened());
    Pick(*Form->ComboBox1, 1);
    EXPECT_EQ(seen.size(), 2);
    Click(*Form->Button6);
    EXPECT_EQ(other.Read(8, 3000), (TBytes{0xAA, 0x55, 0x06, 0, 0, 0, 0, 0x05}));
}

// The title-bar button closes the window without ClosePort; freeing the window still lets the
// port go, so the next program can open it.
TEST_F(StationWidgets, ClosingByTheTitleBarLeavesThePortToTheComponentToRelease)
{
    Create();
    NativeWidgetOf(*Form)->close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Form->Comm1->Opened());
    EXPECT_EQ(Beeps(), 1u);
    Form.reset();
    TComm next(nullptr);
    EXPECT_NO_THROW(next.OpenPort());
}

} // namespace
