#include "framework/StdCtrls.h"
#include "framework/qt/NativeWidget.h"

#include "platform/qt/QtBridge.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace {

// The button widget: Qt's push button does the pressing, releasing, clicking, Space and
// accelerator handling; the control does the painting.
class TButtonWidget final : public TNativeWidget<QPushButton, TNativeButton> {
public:
    explicit TButtonWidget(TButton* AButton) : TNativeWidget(AButton)
    {
        // Enter belongs to the window, which gives it to the active button.
        setAutoDefault(false);
        // Moves without a mouse button held reach the control too, as they do on the
        // classic platform; Qt drops them otherwise.
        setMouseTracking(true);
        connect(this, &QAbstractButton::clicked, this, [this] {
            if (TButton* button = Button())
                TControlDispatch::Clicked(*button);
        });
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        connect(app, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            TButton* button = Button();
            if (button && now && now->window() == window())
                TControlDispatch::FocusMoved(*button, ControlOf(now));
        });
    }

    // Qt's button text carries the accelerator; it never paints it.
    void SetCaption(const std::string& Value) override { setText(QString::fromStdString(Value)); }
    bool Pressed() const override { return isDown(); }

private:
    TButton* Button() const { return static_cast<TButton*>(Control()); }
};

// Background and text of a native text widget, and the font it shows.
void ApplyTextLook(QWidget& Widget, const TTextLook& Look)
{
    const QColor back(RedOf(Look.Back), GreenOf(Look.Back), BlueOf(Look.Back));
    const QColor text(RedOf(Look.Text), GreenOf(Look.Text), BlueOf(Look.Text));
    QPalette palette = Widget.palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
        palette.setColor(role, back);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, text);
    Widget.setPalette(palette);
    Widget.setFont(platform::QFontOf(Look.Font));
}

// The edit widget: Qt's line edit does the typing and the painting.
class TEditWidget final : public TNativeWidget<QLineEdit, TNativeEdit> {
public:
    explicit TEditWidget(TEdit* Edit) : TNativeWidget(Edit)
    {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    std::string Text() const override { return text().toStdString(); }
    void SetText(const std::string& Value) override
    {
        setText(QString::fromStdString(Value));
        setCursorPosition(0); // the start of a long text stays in view
    }
    void SetLook(const TTextLook& Look) override { ApplyTextLook(*this, Look); }

protected:
    void paintEvent(QPaintEvent* E) override { QLineEdit::paintEvent(E); }
};

// Every item of the dropped-down list is ItemHeight pixels high.
class TItemHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        return {QStyledItemDelegate::sizeHint(Option, Index).width(), Height};
    }

    int Height = 0;
};

// The combo box widget: Qt's combo box does the list, the typing and the painting; the
// operator's picks and edits come back as Picked and Typed, never what a program sets.
class TComboBoxWidget final : public TNativeWidget<QComboBox, TNativeComboBox> {
public:
    explicit TComboBoxWidget(TComboBox* Box) : TNativeWidget(Box)
    {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr); // typed text stays exactly as typed
        setItemDelegate(FDelegate = new TItemHeightDelegate(this));
        connect(this, &QComboBox::activated, this, [this](int Index) {
            if (TComboBox* box = ComboBox())
                TControlDispatch::Picked(*box, Index);
        });
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& Text) {
            if (TComboBox* box = ComboBox())
                TControlDispatch::Typed(*box, Text.toStdString());
        });
    }

    void AddItem(const std::string& Item) override
    {
        // Qt selects the first item added to an empty box; adding selects nothing here.
        const QString text = currentText();
        addItem(QString::fromStdString(Item));
        if (count() == 1) {
            setCurrentIndex(-1);
            setEditText(text);
        }
    }
    void SelectItem(int Index) override
    {
        setCurrentIndex(Index);
        if (Index < 0)
            setEditText(QString());
    }
    std::string Text() const override { return currentText().toStdString(); }
    // The popup takes the same look.
    void SetLook(const TTextLook& Look) override
    {
        ApplyTextLook(*this, Look);
        ApplyTextLook(*view(), Look);
    }
    void SetItemHeight(int Pixels) override { FDelegate->Height = Pixels; }
    void SetDropDownCount(int Items) override { setMaxVisibleItems(Items); }

protected:
    void paintEvent(QPaintEvent* E) override { QComboBox::paintEvent(E); }

private:
    TComboBox* ComboBox() const { return static_cast<TComboBox*>(Control()); }

    TItemHeightDelegate* FDelegate;
};

} // namespace

TNativeButton* NewNativeButton(TButton& Button) { return new TButtonWidget(&Button); }
TNativeEdit* NewNativeEdit(TEdit& Edit) { return new TEditWidget(&Edit); }
TNativeComboBox* NewNativeComboBox(TComboBox& Box) { return new TComboBoxWidget(&Box); }
