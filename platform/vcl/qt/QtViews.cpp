#include "platform/vcl/qt/QtViews.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <unordered_map>

namespace vcl::qt {

void RegisterStdViews();     // QtStdViews.cpp
void InstallQtInteraction(); // QtInteraction.cpp

namespace {

std::unordered_map<const QWidget*, TControl*>& Controls() {
    static auto* map = new std::unordered_map<const QWidget*, TControl*>;
    return *map;
}

TWinControl* AsWinControl(TControl* c) {
    return c && c->InheritsFrom(TWinControl::StaticClassInfo()) ? static_cast<TWinControl*>(c)
                                                                : nullptr;
}

QWidget* ParentWidgetOf(const TControl& control) {
    TWinControl* parent = control.Parent();
    if (!parent || !parent->View()) return nullptr;
    return static_cast<QWidget*>(parent->View()->Native());
}

TControl* ControlAt(QObject* object) {
    for (auto* w = qobject_cast<QWidget*>(object); w; w = w->parentWidget()) {
        if (TControl* c = ControlOf(w)) return c;
        if (w->isWindow()) break;
    }
    return nullptr;
}

// The model's answer to where the focus is, put back on screen after a refused move.
void ShowModelFocus(TCustomForm* form) {
    if (!form) return;
    TWinControl* active = form->ActiveControl();
    if (!active || !active->View()) return;
    if (auto* w = static_cast<QWidget*>(active->View()->Native()))
        if (!w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
}

TMouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

// Every view's widget (and the widgets inside it) passes its input through here first.
class TInputFilter : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            return Key(object, static_cast<QKeyEvent*>(event));
        case QEvent::ShortcutOverride: {
            // Keys the model takes (Tab, Escape, Return) must reach it, not Qt's shortcuts.
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) event->accept();
            return false;
        }
        case QEvent::FocusIn:
            FocusIn(object);
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return Mouse(object, static_cast<QMouseEvent*>(event));
        default:
            return false;
        }
    }

private:
    static bool Key(QObject* object, QKeyEvent* event) {
        TWinControl* control = AsWinControl(ControlAt(object));
        if (!control) return false;
        TCustomForm* form = control->GetParentForm();
        TShiftState shift = ShiftStateOf(event->modifiers());
        if (uint16_t key = VirtualKeyOf(*event)) {
            uint16_t k = key;
            if (control->DoKeyDown(k, shift)) return true;
        }
        const QString text = event->text();
        if (!text.isEmpty()) {
            char32_t ch = text.toUcs4().value(0);
            if (shift.Contains(TShiftStateItem::ssAlt) && form && form->DialogChar(ch)) return true;
            char32_t k = ch;
            if (control->DoKeyPress(k)) return true;
        }
        // Traversal between controls belongs to the model.
        return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    }

    static void FocusIn(QObject* object) {
        TWinControl* control = AsWinControl(ControlAt(object));
        if (!control) return;
        TCustomForm* form = control->GetParentForm();
        if (!form || form == control || form->ActiveControl() == control) return;
        bool taken = control->CanFocus() && form->SetFocusedControl(control);
        if (!taken) ShowModelFocus(form);
    }

    static bool Mouse(QObject* object, QMouseEvent* event) {
        TControl* control = ControlOf(qobject_cast<QWidget*>(object));
        if (!control) return false;
        const QPoint p = event->position().toPoint();
        TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            control->MouseDown(ButtonOf(event->button()), shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonDblClick:
            shift.Include(TShiftStateItem::ssDouble);
            control->MouseDown(ButtonOf(event->button()), shift, p.x(), p.y());
            control->DblClick();
            break;
        case QEvent::MouseButtonRelease:
            control->MouseUp(ButtonOf(event->button()), shift, p.x(), p.y());
            // Self-drawn controls click as the VCL's do: released inside after a press.
            if (event->button() == Qt::LeftButton && p.x() >= 0 && p.y() >= 0 &&
                p.x() < control->Width() && p.y() < control->Height() &&
                static_cast<QWidget*>(object)->property("vclClicks").toBool())
                control->MouseClick();
            break;
        default:
            control->MouseMove(shift, p.x(), p.y());
            break;
        }
        return false;
    }
};

TInputFilter& Filter() {
    static auto* filter = new TInputFilter;
    return *filter;
}

class TPaintWidget : public QWidget {
public:
    TPaintWidget(TControl& control) : FControl(control) {}

protected:
    void paintEvent(QPaintEvent*) override {
        const QImage* image = FControl.PaintedImage();
        if (!image || image->isNull()) return;
        QPainter p(this);
        p.drawImage(0, 0, *image);
    }

private:
    TControl& FControl;
};

} // namespace

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string FromQString(const QString& text) {
    return text.toUtf8().toStdString();
}

TControl* ControlOf(const QWidget* widget) {
    auto it = Controls().find(widget);
    return it == Controls().end() ? nullptr : it->second;
}

QWidget* WidgetOf(TControl& control) {
    if (!ViewsEnabled()) return nullptr;
    if (!control.View()) {
        if (TWinControl* w = AsWinControl(&control))
            w->HandleNeeded();
        else if (control.Parent())
            control.Parent()->HandleNeeded();
    }
    return control.View() ? static_cast<QWidget*>(control.View()->Native()) : nullptr;
}

uint16_t VirtualKeyOf(const QKeyEvent& event) {
    const int k = event.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return uint16_t('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return uint16_t('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return uint16_t(0x70 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    default:
        return 0;
    }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s.Include(TShiftStateItem::ssShift);
    if (modifiers & Qt::ControlModifier) s.Include(TShiftStateItem::ssCtrl);
    if (modifiers & Qt::AltModifier) s.Include(TShiftStateItem::ssAlt);
    if (buttons & Qt::LeftButton) s.Include(TShiftStateItem::ssLeft);
    if (buttons & Qt::RightButton) s.Include(TShiftStateItem::ssRight);
    if (buttons & Qt::MiddleButton) s.Include(TShiftStateItem::ssMiddle);
    return s;
}

// ---------------------------------------------------------------------------------------------

TWidgetView::TWidgetView(TControl& control, QWidget* widget) : FControl(control), FWidget(widget) {
    Controls()[widget] = &control;
    widget->installEventFilter(&Filter());
    for (QWidget* inner : widget->findChildren<QWidget*>())
        inner->installEventFilter(&Filter());
    if (TWinControl* w = AsWinControl(&control))
        widget->setFocusPolicy(w->TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    else
        widget->setFocusPolicy(Qt::NoFocus);
}

TWidgetView::~TWidgetView() {
    if (FWidget) {
        Controls().erase(FWidget.data());
        delete FWidget.data();
    }
}

void TWidgetView::UpdateParent() {
    if (IsWindow()) return;
    QWidget* parent = ParentWidgetOf(FControl);
    if (FWidget->parentWidget() != parent) FWidget->setParent(parent);
}

void TWidgetView::UpdateColor() {
    QPalette pal = FWidget->palette();
    uint32_t rgb = ColorToRGB(TColor(uint32_t(FControl.Color())));
    QColor c(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    // The role the widget fills its background with (Button for buttons and check boxes).
    pal.setColor(FWidget->backgroundRole(), c);
    pal.setColor(QPalette::Window, c);
    FWidget->setPalette(pal);
    FWidget->setAutoFillBackground(true);
}

void TWidgetView::Update(TViewChange what) {
    if (!FWidget) return;
    const bool all = what == TViewChange::vcAll;
    FSyncing = true;
    if (all) UpdateParent();
    if (all || what == TViewChange::vcBounds) {
        if (IsWindow())
            FWidget->setGeometry(FControl.Left(), FControl.Top(), FControl.Width(),
                                 FControl.Height());
        else
            FWidget->setGeometry(FControl.Left(), FControl.Top(), FControl.Width(),
                                 FControl.Height());
    }
    if (all || what == TViewChange::vcEnabled) FWidget->setEnabled(FControl.Enabled());
    if (all || what == TViewChange::vcFont) FWidget->setFont(FControl.Font()->ToQFont());
    if (all || what == TViewChange::vcColor) UpdateColor();
    if (all || what == TViewChange::vcHint)
        FWidget->setToolTip(FControl.ShowHint() ? ToQString(FControl.Hint()) : QString());
    if (all || what == TViewChange::vcText) UpdateText();
    if (all || what == TViewChange::vcState) UpdateState();
    if (all || what == TViewChange::vcVisible) FWidget->setVisible(FControl.Visible());
    if (what == TViewChange::vcFocus && !FWidget->hasFocus() && FWidget->isVisible())
        FWidget->setFocus(Qt::OtherFocusReason);
    FWidget->update();
    FSyncing = false;
}

TPaintView::TPaintView(TControl& control) : TWidgetView(control, new TPaintWidget(control)) {
    Widget()->setProperty("vclClicks", true);
    Widget()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void InstallQtViews() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    RegisterStdViews();
    InstallQtInteraction();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        Screen().Width = screen->geometry().width();
        Screen().Height = screen->geometry().height();
    }
    // Posted messages are delivered from Qt's event loop.
    Application().WakeUp = [] {
        QMetaObject::invokeMethod(
            qApp, [] { Application().ProcessMessages(); }, Qt::QueuedConnection);
    };
    SetViewsEnabled(true);
}

} // namespace vcl::qt
