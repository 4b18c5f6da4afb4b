// Views of the standard controls: forms, panels, group boxes, edits, buttons, check boxes,
// and the painted view for every control that draws itself.
#include "platform/vcl/qt/QtViews.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

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

class TRadioButtonView : public TWidgetView {
public:
    explicit TRadioButtonView(TControl& c) : TWidgetView(c, new QRadioButton) {
        auto* b = static_cast<QRadioButton*>(Widget());
        b->setAutoExclusive(false); // the model unchecks the others
        QObject::connect(b, &QRadioButton::clicked, b, [this] {
            if (FSyncing) return;
            static_cast<TRadioButton&>(Control()).ButtonClicked();
            UpdateState();
        });
    }

protected:
    void UpdateText() override {
        SetButtonText(static_cast<QAbstractButton*>(Widget()), Control().Caption());
    }
    void UpdateState() override {
        bool syncing = FSyncing;
        FSyncing = true;
        auto& model = static_cast<TRadioButton&>(Control());
        auto* b = static_cast<QRadioButton*>(Widget());
        b->setChecked(model.Checked());
        b->setLayoutDirection(model.Alignment() == TAlignment::taLeftJustify ? Qt::RightToLeft
                                                                             : Qt::LeftToRight);
        FSyncing = syncing;
    }
};

QString ItemText(TStrings& items, int i) {
    return ToQString(items[i]);
}

class TComboBoxView : public TWidgetView {
public:
    explicit TComboBoxView(TControl& c) : TWidgetView(c, new QComboBox) {
        auto* box = static_cast<QComboBox*>(Widget());
        box->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(box, qOverload<int>(&QComboBox::activated), box, [this](int index) {
            if (!FSyncing) static_cast<TCustomComboBox&>(Control()).UserSelect(index);
        });
        Rewire();
    }

protected:
    void UpdateText() override {
        auto* box = static_cast<QComboBox*>(Widget());
        QString text = ToQString(Control().Text());
        if (box->isEditable() && box->currentText() != text) box->setEditText(text);
    }
    void UpdateState() override {
        bool syncing = FSyncing;
        FSyncing = true;
        auto& model = static_cast<TCustomComboBox&>(Control());
        auto* box = static_cast<QComboBox*>(Widget());
        bool editable = !model.IsListStyle();
        if (box->isEditable() != editable) {
            box->setEditable(editable);
            Rewire();
        }
        QStringList items;
        for (int i = 0; i < model.Items()->Count(); ++i)
            items << ItemText(*model.Items(), i);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        if (items != shown) {
            box->clear();
            box->addItems(items);
        }
        box->setMaxVisibleItems(model.DropDownCount());
        box->setCurrentIndex(model.ItemIndex());
        if (editable) box->setEditText(ToQString(model.Text()));
        FSyncing = syncing;
    }
    void UpdateColor() override {
        QPalette pal = Widget()->palette();
        pal.setColor(QPalette::Base, ToQColor(Control().Color()));
        Widget()->setPalette(pal);
    }

private:
    // The line edit of an editable combo reports typing.
    void Rewire() {
        auto* box = static_cast<QComboBox*>(Widget());
        if (QLineEdit* line = box->lineEdit()) {
            WatchInput(line);
            QObject::connect(line, &QLineEdit::textEdited, box, [this](const QString& text) {
                if (!FSyncing)
                    static_cast<TCustomComboBox&>(Control()).UserInput(FromQString(text));
            });
        }
    }
};

class TMemoView : public TWidgetView {
public:
    explicit TMemoView(TControl& c) : TWidgetView(c, new QPlainTextEdit) {
        auto* memo = static_cast<QPlainTextEdit*>(Widget());
        QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [this] {
            if (FSyncing) return;
            auto* memo = static_cast<QPlainTextEdit*>(Widget());
            QString text = memo->toPlainText();
            text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
            static_cast<TCustomEdit&>(Control()).UserInput(FromQString(text));
        });
    }

protected:
    void UpdateText() override {
        auto* memo = static_cast<QPlainTextEdit*>(Widget());
        QString text = ToQString(Control().Text());
        text.remove(QLatin1Char('\r'));
        if (memo->toPlainText() != text) memo->setPlainText(text);
    }
    void UpdateState() override {
        auto& model = static_cast<TCustomMemo&>(Control());
        auto* memo = static_cast<QPlainTextEdit*>(Widget());
        memo->setReadOnly(model.ReadOnly());
        memo->setLineWrapMode(model.WordWrap() ? QPlainTextEdit::WidgetWidth
                                               : QPlainTextEdit::NoWrap);
        auto bars = model.ScrollBars();
        bool v = bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth;
        bool h = bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth;
        memo->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        memo->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    void UpdateColor() override {
        QPalette pal = Widget()->palette();
        pal.setColor(QPalette::Base, ToQColor(Control().Color()));
        Widget()->setPalette(pal);
    }
};

class TListBoxView : public TWidgetView {
public:
    explicit TListBoxView(TControl& c) : TWidgetView(c, new QListWidget) {
        auto* list = static_cast<QListWidget*>(Widget());
        list->setSelectionMode(QAbstractItemView::NoSelection); // the model's selection is shown
        QObject::connect(list, &QListWidget::itemPressed, list, [this](QListWidgetItem* item) {
            if (FSyncing || !item) return;
            auto* list = static_cast<QListWidget*>(Widget());
            static_cast<TCustomListBox&>(Control()).UserSelect(
                list->row(item), ShiftStateOf(QApplication::keyboardModifiers()));
            UpdateState();
        });
    }

protected:
    void UpdateState() override {
        bool syncing = FSyncing;
        FSyncing = true;
        auto& model = static_cast<TCustomListBox&>(Control());
        auto* list = static_cast<QListWidget*>(Widget());
        const int n = model.Items()->Count();
        bool same = list->count() == n;
        for (int i = 0; same && i < n; ++i)
            same = list->item(i)->text() == ItemText(*model.Items(), i);
        if (!same) {
            list->clear();
            for (int i = 0; i < n; ++i)
                list->addItem(ItemText(*model.Items(), i));
        }
        const QPalette& pal = list->palette();
        for (int i = 0; i < n; ++i) {
            QListWidgetItem* item = list->item(i);
            bool on = model.Selected(i);
            item->setBackground(on ? pal.highlight() : QBrush());
            item->setForeground(on ? pal.highlightedText() : QBrush());
        }
        if (model.ItemIndex() >= 0 && model.ItemIndex() < n)
            list->scrollToItem(list->item(model.ItemIndex()));
        FSyncing = syncing;
    }
    void UpdateColor() override {
        QPalette pal = Widget()->palette();
        pal.setColor(QPalette::Base, ToQColor(Control().Color()));
        Widget()->setPalette(pal);
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
    RegisterView<TRadioButton, TRadioButtonView>();
    RegisterView<TCustomComboBox, TComboBoxView>();
    RegisterView<TCustomMemo, TMemoView>();
    RegisterView<TCustomListBox, TListBoxView>();
}

} // namespace vcl::qt
