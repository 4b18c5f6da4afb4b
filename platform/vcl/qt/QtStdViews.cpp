// Views of the standard controls: forms, panels, group boxes, edits, buttons, check boxes,
// and the painted view for every control that draws itself.
#include "platform/vcl/qt/QtViews.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace vcl::qt {

namespace {

QColor ToQColor(int color) {
    uint32_t rgb = ColorToRGB(TColor(uint32_t(color)));
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// A top-level window: closing it asks the form, which decides (hide, free, or stay).
class TFormWidget : public QWidget {
public:
    explicit TFormWidget(TCustomForm& form) : FForm(form) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        FForm.Close();
    }

private:
    TCustomForm& FForm;
};

class TFormView : public TWidgetView {
public:
    explicit TFormView(TControl& c)
        : TWidgetView(c, new TFormWidget(static_cast<TCustomForm&>(c))) {}

protected:
    bool IsWindow() const override { return true; }
    void UpdateText() override { Widget()->setWindowTitle(ToQString(Control().Caption())); }
    void UpdateState() override {
        auto& form = static_cast<TCustomForm&>(Control());
        Qt::WindowFlags flags = Qt::Window;
        switch (form.BorderStyle()) {
        case TFormBorderStyle::bsNone:
            flags = Qt::Window | Qt::FramelessWindowHint;
            break;
        case TFormBorderStyle::bsDialog:
            flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
            break;
        case TFormBorderStyle::bsToolWindow:
        case TFormBorderStyle::bsSizeToolWin:
            flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
            break;
        default:
            flags |= Qt::WindowTitleHint;
            if (form.BorderIcons().Contains(TBorderIcon::biSystemMenu))
                flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (form.BorderIcons().Contains(TBorderIcon::biMinimize))
                flags |= Qt::WindowMinimizeButtonHint;
            if (form.BorderIcons().Contains(TBorderIcon::biMaximize))
                flags |= Qt::WindowMaximizeButtonHint;
            break;
        }
        if (form.FormStyle() == TFormStyle::fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
        if (Widget()->windowFlags() != flags) {
            bool shown = Widget()->isVisible();
            Widget()->setWindowFlags(flags); // hides the window
            if (shown) Widget()->show();
        }
        FixSize();
    }

public:
    void Update(TViewChange what) override {
        TWidgetView::Update(what);
        if (what == TViewChange::vcBounds) FixSize();
    }

private:
    // Only sizeable borders let the user resize the window.
    void FixSize() {
        auto& form = static_cast<TCustomForm&>(Control());
        const bool fixed = form.BorderStyle() != TFormBorderStyle::bsSizeable &&
                           form.BorderStyle() != TFormBorderStyle::bsSizeToolWin;
        if (fixed) {
            Widget()->setFixedSize(form.Width(), form.Height());
        } else {
            Widget()->setMinimumSize(0, 0);
            Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }
};

// A raised panel with its caption in the middle, as the VCL draws one.
class TPanelWidget : public QFrame {
public:
    explicit TPanelWidget(TControl& c) : FControl(c) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        if (FControl.Caption().empty()) return;
        QPainter p(this);
        p.setPen(ToQColor(int(uint32_t(FControl.Font()->GetColor()))));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, ToQString(FControl.Caption()));
    }

private:
    TControl& FControl;
};

class TPanelView : public TWidgetView {
public:
    explicit TPanelView(TControl& c) : TWidgetView(c, new TPanelWidget(c)) {}
};

class TContainerView : public TWidgetView {
public:
    explicit TContainerView(TControl& c) : TWidgetView(c, new QWidget) {}
};

class TGroupBoxView : public TWidgetView {
public:
    explicit TGroupBoxView(TControl& c) : TWidgetView(c, new QGroupBox) {}

protected:
    void UpdateText() override {
        static_cast<QGroupBox*>(Widget())->setTitle(ToQString(Control().Caption()));
    }
};

class TEditView : public TWidgetView {
public:
    explicit TEditView(TControl& c) : TWidgetView(c, new QLineEdit) {
        auto* edit = static_cast<QLineEdit*>(Widget());
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& text) {
            if (FSyncing) return;
            auto& model = static_cast<TCustomEdit&>(Control());
            model.UserInput(FromQString(text));
            // The model may refuse or cut what was typed.
            if (FromQString(static_cast<QLineEdit*>(Widget())->text()) != model.Text())
                UpdateText();
        });
    }

protected:
    void UpdateText() override {
        auto* edit = static_cast<QLineEdit*>(Widget());
        QString text = ToQString(Control().Text());
        if (edit->text() != text) edit->setText(text);
    }
    void UpdateState() override {
        auto& model = static_cast<TCustomEdit&>(Control());
        auto* edit = static_cast<QLineEdit*>(Widget());
        edit->setReadOnly(model.ReadOnly());
        // The model counts the maximum length; Qt's own limit stays off.
        edit->setMaxLength(32767);
    }
    void UpdateColor() override {
        QPalette pal = Widget()->palette();
        pal.setColor(QPalette::Base, ToQColor(Control().Color()));
        Widget()->setPalette(pal);
    }
};

// Buttons keep the "&" mark for the underline; the accelerator itself is the model's.
void SetButtonText(QAbstractButton* b, const std::string& caption) {
    b->setText(ToQString(caption));
    b->setShortcut(QKeySequence());
}

class TButtonView : public TWidgetView {
public:
    explicit TButtonView(TControl& c) : TWidgetView(c, new QPushButton) {
        auto* b = static_cast<QPushButton*>(Widget());
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, b, [this] {
            if (!FSyncing) Control().Click();
        });
    }

protected:
    void UpdateText() override {
        SetButtonText(static_cast<QAbstractButton*>(Widget()), Control().Caption());
    }
    void UpdateState() override {
        static_cast<QPushButton*>(Widget())->setDefault(static_cast<TButton&>(Control()).Default());
    }
    void UpdateColor() override {}
};

class TCheckBoxView : public TWidgetView {
public:
    explicit TCheckBoxView(TControl& c) : TWidgetView(c, new QCheckBox) {
        auto* b = static_cast<QCheckBox*>(Widget());
        b->setTristate(true);
        QObject::connect(b, &QCheckBox::clicked, b, [this] {
            if (FSyncing) return;
            static_cast<TCheckBox&>(Control()).Toggle();
            UpdateState(); // Qt's own step may differ from the model's
        });
    }

protected:
    void UpdateText() override {
        SetButtonText(static_cast<QAbstractButton*>(Widget()), Control().Caption());
    }
    void UpdateState() override {
        bool syncing = FSyncing;
        FSyncing = true;
        auto state = static_cast<TCheckBox&>(Control()).State();
        static_cast<QCheckBox*>(Widget())->setCheckState(
            state == TCheckBoxState::cbChecked  ? Qt::Checked
            : state == TCheckBoxState::cbGrayed ? Qt::PartiallyChecked
                                                : Qt::Unchecked);
        FSyncing = syncing;
    }
};

} // namespace

void RegisterStdViews() {
    RegisterStdCtrls();
    RegisterView<TWinControl, TContainerView>();
    RegisterSelfDrawnViewFactory([](TControl& c) -> TControlView* { return new TPaintView(c); });
    RegisterView<TCustomForm, TFormView>();
    RegisterView<TCustomPanel, TPanelView>();
    RegisterView<TGroupBox, TGroupBoxView>();
    RegisterView<TCustomEdit, TEditView>();
    RegisterView<TButton, TButtonView>();
    RegisterView<TCheckBox, TCheckBoxView>();
}

} // namespace vcl::qt
