// The Qt side of the controls: each control's view is a widget made on demand, kept in step
// with the model, and sending the user's input back through the model (clicks, text, keys
// through the form's key preview, focus requests through the form).
#pragma once

#include "platform/vcl/Controls.h"

#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace vcl::qt {

// Turns views on for this process and installs the Qt dialogs as the interaction service.
// Needs a QApplication; safe to call again.
void InstallQtViews();

// The widget of a control (made, with its parents', when missing); null without views.
QWidget* WidgetOf(TControl& control);

// The model's control behind a widget made by a view; null for other widgets.
TControl* ControlOf(const QWidget* widget);

// Translates a Qt key into the virtual key and shift state the model understands (0 when the
// key has no virtual key).
uint16_t VirtualKeyOf(const QKeyEvent& event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});

// A view over one widget. It follows bounds, visibility, enabling, font, colour, hint and
// focus; derived views add what their control holds (text, checked state, items).
class TWidgetView : public TControlView {
public:
    TWidgetView(TControl& control, QWidget* widget);
    ~TWidgetView() override;
    void Update(TViewChange what) override;
    void* Native() const override { return FWidget.data(); }
    QWidget* Widget() const { return FWidget.data(); }
    TControl& Control() const { return FControl; }

protected:
    virtual void UpdateText() {}
    virtual void UpdateState() {}
    virtual void UpdateColor();
    // Whether the widget is a window of its own (forms): bounds then place the window.
    virtual bool IsWindow() const { return false; }
    // True while the view itself pushes model state into the widget, so that the widget's
    // change signals are not taken for user input.
    bool FSyncing = false;

private:
    void UpdateParent();
    TControl& FControl;
    QPointer<QWidget> FWidget;
};

// Registers the factory of a view class for a control class (and everything derived from it).
template <class Control, class View> void RegisterView() {
    RegisterViewFactory(Control::StaticClassInfo(),
                        [](TControl& c) -> TControlView* { return new View(c); });
}

// A widget that shows what the model's Paint draws (labels, self-drawn controls).
class TPaintView : public TWidgetView {
public:
    explicit TPaintView(TControl& control);
};

// Qt text from a model caption, and the caption with "&" marks kept for buttons.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

} // namespace vcl::qt
