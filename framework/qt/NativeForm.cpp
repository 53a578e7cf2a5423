#include "framework/Forms.h"
#include "framework/qt/NativeWidget.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>

namespace {

// The window widget: the platform's close requests (title-bar button, system menu, Alt+F4)
// go through the same OnClose as Close does.
class TFormWidget final : public TNativeWidget<QWidget, TNativeForm> {
public:
    explicit TFormWidget(TForm* Form) : TNativeWidget(Form) {}

    void SetCaption(const std::string& Value) override
    {
        setWindowTitle(QString::fromStdString(Value));
    }

    void SetFixedSize(bool Value) override
    {
        if (Value) {
            setFixedSize(size());
        } else {
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }

    void SetTitleButtons(bool SystemMenu, bool Minimize, bool Maximize) override
    {
        Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (SystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (Minimize)
            flags |= Qt::WindowMinimizeButtonHint;
        if (Maximize)
            flags |= Qt::WindowMaximizeButtonHint;
        // Qt hides a window whose flags change; it stays as visible as it was.
        const bool visible = isVisible();
        setWindowFlags(flags);
        if (visible)
            show();
    }

    void CenterOnScreen() override
    {
        const QRect desktop = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        move(desktop.left() + (desktop.width() - frame.width()) / 2,
             desktop.top() + (desktop.height() - frame.height()) / 2);
    }

    void Close() override { close(); }

protected:
    void showEvent(QShowEvent* E) override
    {
        TNativeWidget::showEvent(E);
        if (auto* form = static_cast<TForm*>(Control()); form && !E->spontaneous())
            TControlDispatch::BeforeShow(*form);
    }
    void closeEvent(QCloseEvent* E) override
    {
        auto* form = static_cast<TForm*>(Control());
        if (form && !TControlDispatch::CloseQuery(*form))
            E->ignore();
        else
            E->accept();
    }
};

} // namespace

TNativeForm* NewNativeForm(TForm& Form) { return new TFormWidget(&Form); }
