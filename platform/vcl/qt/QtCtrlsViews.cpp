// Views of the further control modules. Input goes back through the model: typed keys reach
// it through the common input filter; what a widget changes on its own (a choice in a list, a
// paste, a check box in a list view) is reported to the model, which then decides, and the
// widget shows what the model holds afterwards.
#include "platform/vcl/qt/QtCtrlsViews.h"

#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/qt/QtViews.h"

#include <QApplication>
#include <QBitmap>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTreeWidget>

namespace vcl::qt {

namespace {

QColor ToQColor(int color) {
    uint32_t rgb = ColorToRGB(TColor(uint32_t(color)));
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

void SetBaseColor(QWidget* w, int color) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    w->setPalette(pal);
}

// Sets FSyncing for the length of a scope, keeping an outer one.
class TSync {
public:
    explicit TSync(bool& flag) : FFlag(flag), FOld(flag) { flag = true; }
    ~TSync() { FFlag = FOld; }

private:
    bool& FFlag;
    bool FOld;
};

// ---- Masked edit ---------------------------------------------------------------------------

class TMaskEditView;

// Installed after the common filter, so it runs first: the model learns where the cursor is
// before it gets the key, and the cursor it leaves is shown once the key is through.
class TCursorSync : public QObject {
public:
    TCursorSync(TCustomMaskEdit& edit, std::function<void()> place)
        : FEdit(edit), FPlace(std::move(place)) {}
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* line = static_cast<QLineEdit*>(object);
        const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        const int length = line->hasSelectedText() ? int(line->selectedText().size()) : 0;
        FEdit.SetSelStart(start);
        FEdit.SetSelLength(length);
        QMetaObject::invokeMethod(
            this,
            [this, start, length] {
                // Only a cursor the model moved is put back; Qt's own moves stay.
                if (FEdit.SelStart() != start || FEdit.SelLength() != length) FPlace();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    TCustomMaskEdit& FEdit;
    std::function<void()> FPlace;
};

class TMaskEditView : public TWidgetView {
public:
    explicit TMaskEditView(TControl& c) : TWidgetView(c, new QLineEdit) {
        auto* edit = Edit();
        auto* sync = new TCursorSync(Model(), [this] { PlaceCursor(); });
        sync->setParent(edit);
        edit->installEventFilter(sync);
        // Pastes and edits Qt makes by itself arrive as a whole new edit text.
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& text) {
            if (FSyncing) return;
            Model().SetSelStart(Edit()->cursorPosition());
            Model().UserEditText(FromQString(text));
            UpdateText();
        });
    }

protected:
    void UpdateText() override {
        TSync s(FSyncing);
        QString text = ToQString(Model().EditText());
        if (Edit()->text() != text) Edit()->setText(text);
        PlaceCursor();
    }
    void UpdateState() override {
        Edit()->setReadOnly(Model().ReadOnly());
        Edit()->setMaxLength(32767); // the model holds the limit
    }
    void UpdateColor() override { SetBaseColor(Widget(), Control().Color()); }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(Widget()); }
    TCustomMaskEdit& Model() const { return static_cast<TCustomMaskEdit&>(Control()); }
    void PlaceCursor() {
        TSync s(FSyncing);
        int start = Model().SelStart(), length = Model().SelLength();
        // A masked edit overwrites: the cursor covers the character it replaces.
        if (Model().IsMasked() && length == 0 && start < Model().Mask().MaxChars()) length = 1;
        if (length > 0)
            Edit()->setSelection(start, length);
        else
            Edit()->setCursorPosition(start);
    }
};

// ---- Memo ----------------------------------------------------------------------------------

QString ToPlain(const std::string& text) {
    QString s = ToQString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

// Runs a function before a key reaches the common filter (installed after it).
class TBeforeKey : public QObject {
public:
    explicit TBeforeKey(std::function<void()> f) : FBefore(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) FBefore();
        return false;
    }

private:
    std::function<void()> FBefore;
};

class TMemoView : public TWidgetView {
public:
    explicit TMemoView(TControl& c) : TWidgetView(c, new QPlainTextEdit) {
        // The model counts a line break as two characters; Qt as one.
        auto* sync = new TBeforeKey([this] {
            QTextCursor cursor = Memo()->textCursor();
            const QString text = Memo()->toPlainText();
            auto model = [&](int pos) { return pos + int(text.left(pos).count(QChar('\n'))); };
            int start = model(cursor.selectionStart()), end = model(cursor.selectionEnd());
            Model().SetSelStart(start);
            Model().SetSelLength(end - start);
        });
        sync->setParent(Memo());
        Memo()->installEventFilter(sync);
        Memo()->viewport()->installEventFilter(sync);
        QObject::connect(Memo(), &QPlainTextEdit::textChanged, Memo(), [this] {
            if (FSyncing) return;
            QString plain = Memo()->toPlainText();
            plain.replace(QChar('\n'), QStringLiteral("\r\n"));
            Model().UserInput(FromQString(plain));
            if (Memo()->toPlainText() != ToPlain(Model().Text())) UpdateText();
        });
    }

protected:
    void UpdateText() override {
        TSync s(FSyncing);
        QString text = ToPlain(Model().Text());
        if (Memo()->toPlainText() != text) Memo()->setPlainText(text);
    }
    void UpdateState() override {
        Memo()->setReadOnly(Model().ReadOnly());
        Memo()->setLineWrapMode(Model().WordWrap() ? QPlainTextEdit::WidgetWidth
                                                   : QPlainTextEdit::NoWrap);
        TScrollStyle bars = Model().ScrollBars();
        bool h = bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth;
        bool v = bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth;
        Memo()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        Memo()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    void UpdateColor() override { SetBaseColor(Widget(), Control().Color()); }

private:
    QPlainTextEdit* Memo() const { return static_cast<QPlainTextEdit*>(Widget()); }
    TCustomMemo& Model() const { return static_cast<TCustomMemo&>(Control()); }
};

// ---- Radio button --------------------------------------------------------------------------

class TRadioButtonView : public TWidgetView {
public:
    explicit TRadioButtonView(TControl& c) : TWidgetView(c, new QRadioButton) {
        Button()->setAutoExclusive(false); // the model unchecks the others
        QObject::connect(Button(), &QRadioButton::clicked, Button(), [this] {
            if (FSyncing) return;
            static_cast<TRadioButton&>(Control()).ButtonClicked();
            UpdateState();
        });
    }

protected:
    void UpdateText() override {
        Button()->setText(ToQString(Control().Caption()));
        Button()->setShortcut(QKeySequence()); // the accelerator is the model's
    }
    void UpdateState() override {
        TSync s(FSyncing);
        auto& model = static_cast<TRadioButton&>(Control());
        Button()->setChecked(model.Checked());
        // Left-justified: the caption left of the button.
        Button()->setLayoutDirection(
            model.Alignment() == TAlignment::taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    }

private:
    QRadioButton* Button() const { return static_cast<QRadioButton*>(Widget()); }
};

// ---- Combo box -----------------------------------------------------------------------------

class TComboWidget : public QComboBox {
public:
    explicit TComboWidget(TCustomComboBox& model) : FModel(model) {
        setEditable(!model.IsListStyle());
    }
    void showPopup() override {
        FModel.SetDroppedDown(true);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        FModel.SetDroppedDown(false);
    }

private:
    TCustomComboBox& FModel;
};

class TComboBoxView : public TWidgetView {
public:
    explicit TComboBoxView(TControl& c)
        : TWidgetView(c, new TComboWidget(static_cast<TCustomComboBox&>(c))) {
        QObject::connect(Combo(), &QComboBox::activated, Combo(), [this](int index) {
            if (FSyncing) return;
            Model().UserSelect(index);
            UpdateState();
        });
        if (QLineEdit* edit = Combo()->lineEdit())
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& text) {
                if (FSyncing) return;
                Model().UserInput(FromQString(text));
            });
    }

protected:
    void UpdateText() override {
        TSync s(FSyncing);
        if (QLineEdit* edit = Combo()->lineEdit()) {
            QString text = ToQString(Model().Text());
            if (edit->text() != text) edit->setText(text);
        }
    }
    void UpdateState() override {
        TSync s(FSyncing);
        TStrings* items = Model().Items();
        bool same = Combo()->count() == items->Count();
        for (int i = 0; same && i < items->Count(); ++i)
            same = Combo()->itemText(i) == ToQString(items->Get(i));
        if (!same) {
            Combo()->clear();
            for (int i = 0; i < items->Count(); ++i)
                Combo()->addItem(ToQString(items->Get(i)));
        }
        Combo()->setMaxVisibleItems(Model().DropDownCount());
        Combo()->setCurrentIndex(Model().ItemIndex());
        UpdateText(); // setting the index rewrites the edit
        if (Model().DroppedDown() != Combo()->view()->isVisible()) {
            if (Model().DroppedDown())
                Combo()->QComboBox::showPopup();
            else
                Combo()->QComboBox::hidePopup();
        }
    }
    void UpdateColor() override { SetBaseColor(Widget(), Control().Color()); }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(Widget()); }
    TCustomComboBox& Model() const { return static_cast<TCustomComboBox&>(Control()); }
};

// ---- List box ------------------------------------------------------------------------------

class TListBoxView : public TWidgetView {
public:
    explicit TListBoxView(TControl& c) : TWidgetView(c, new QListWidget) {
        // The model selects; the widget only shows.
        List()->setSelectionMode(QAbstractItemView::NoSelection);
        QObject::connect(List(), &QListWidget::itemPressed, List(), [this](QListWidgetItem* item) {
            if (FSyncing) return;
            Model().UserSelect(List()->row(item), ShiftStateOf(QApplication::keyboardModifiers()));
            UpdateState();
        });
    }

protected:
    void UpdateState() override {
        TSync s(FSyncing);
        TStrings* items = Model().Items();
        if (List()->count() != items->Count()) {
            List()->clear();
            for (int i = 0; i < items->Count(); ++i)
                List()->addItem(ToQString(items->Get(i)));
        }
        for (int i = 0; i < items->Count(); ++i) {
            QListWidgetItem* item = List()->item(i);
            if (item->text() != ToQString(items->Get(i))) item->setText(ToQString(items->Get(i)));
            QModelIndex index = List()->model()->index(i, 0);
            List()->selectionModel()->select(index, Model().Selected(i)
                                                        ? QItemSelectionModel::Select
                                                        : QItemSelectionModel::Deselect);
        }
        if (Model().ItemIndex() >= 0) List()->scrollToItem(List()->item(Model().ItemIndex()));
    }
    void UpdateColor() override { SetBaseColor(Widget(), Control().Color()); }

private:
    QListWidget* List() const { return static_cast<QListWidget*>(Widget()); }
    TCustomListBox& Model() const { return static_cast<TCustomListBox&>(Control()); }
};

// ---- List view -----------------------------------------------------------------------------

class TListViewWidget : public QTreeWidget {
public:
    explicit TListViewWidget(TCustomListView& model) : FModel(model) {}
    bool Syncing = false;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QTreeWidget::mousePressEvent(event);
        if (Syncing || event->button() != Qt::LeftButton) return;
        QTreeWidgetItem* item = itemAt(event->position().toPoint());
        FModel.UserClick(item ? indexOfTopLevelItem(item) : -1, ShiftStateOf(event->modifiers()));
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTreeWidget::mouseDoubleClickEvent(event);
        QTreeWidgetItem* item = itemAt(event->position().toPoint());
        FModel.UserDblClick(item ? indexOfTopLevelItem(item) : -1);
    }

private:
    TCustomListView& FModel;
};

class TListViewView : public TWidgetView {
public:
    explicit TListViewView(TControl& c)
        : TWidgetView(c, new TListViewWidget(static_cast<TCustomListView&>(c))) {
        Tree()->setRootIsDecorated(false);
        Tree()->setSelectionMode(QAbstractItemView::NoSelection);
        Tree()->setEditTriggers(QAbstractItemView::NoEditTriggers); // the model starts edits
        QObject::connect(Tree()->header(), &QHeaderView::sectionClicked, Tree(), [this](int i) {
            if (!FSyncing) Model().UserColumnClick(i);
        });
        QObject::connect(Tree(), &QTreeWidget::itemChanged, Tree(),
                         [this](QTreeWidgetItem* item, int column) { Changed(item, column); });
    }

protected:
    void UpdateState() override {
        TSync s(FSyncing);
        static_cast<TListViewWidget*>(Tree())->Syncing = true;
        TCustomListView& m = Model();
        const bool report = m.ViewStyle() == TViewStyle::vsReport;
        const int columns = report ? std::max(1, m.Columns()->Count()) : 1;
        Tree()->setColumnCount(columns);
        Tree()->setHeaderHidden(!report || !m.ShowColumnHeaders());
        QStringList labels;
        for (int i = 0; i < columns; ++i)
            labels << (i < m.Columns()->Count() ? ToQString(m.Column(i)->Caption()) : QString());
        Tree()->setHeaderLabels(labels);
        for (int i = 0; report && i < m.Columns()->Count(); ++i)
            if (m.Column(i)->Width() >= 0) Tree()->setColumnWidth(i, m.Column(i)->Width());
        TListItems* items = m.Items();
        while (Tree()->topLevelItemCount() > items->Count())
            delete Tree()->takeTopLevelItem(Tree()->topLevelItemCount() - 1);
        while (Tree()->topLevelItemCount() < items->Count())
            Tree()->addTopLevelItem(new QTreeWidgetItem);
        for (int i = 0; i < items->Count(); ++i) {
            TListItem* li = items->Item(i);
            QTreeWidgetItem* qi = Tree()->topLevelItem(i);
            qi->setText(0, ToQString(li->Caption()));
            for (int col = 1; col < columns; ++col) {
                TStrings* sub = li->SubItems();
                qi->setText(col, col - 1 < sub->Count() ? ToQString(sub->Get(col - 1)) : QString());
                if (col < m.Columns()->Count()) {
                    TAlignment a = m.Column(col)->Alignment();
                    Qt::Alignment q = a == TAlignment::taRightJustify ? Qt::AlignRight
                                      : a == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                      : Qt::AlignLeft;
                    qi->setTextAlignment(col, q | Qt::AlignVCenter);
                }
            }
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (m.Checkboxes()) flags |= Qt::ItemIsUserCheckable;
            if (m.ItemEditing() == li) flags |= Qt::ItemIsEditable;
            qi->setFlags(flags);
            if (m.Checkboxes())
                qi->setCheckState(0, li->Checked() ? Qt::Checked : Qt::Unchecked);
            else
                qi->setData(0, Qt::CheckStateRole, QVariant());
            QModelIndex index = Tree()->model()->index(i, 0);
            Tree()->selectionModel()->select(
                index,
                (li->Selected() ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                    QItemSelectionModel::Rows);
            if (li->Focused())
                Tree()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        static_cast<TListViewWidget*>(Tree())->Syncing = false;
        if (TListItem* editing = m.ItemEditing())
            Tree()->editItem(Tree()->topLevelItem(editing->Index()), 0);
    }
    void UpdateColor() override { SetBaseColor(Widget(), Control().Color()); }

private:
    QTreeWidget* Tree() const { return static_cast<QTreeWidget*>(Widget()); }
    TCustomListView& Model() const { return static_cast<TCustomListView&>(Control()); }
    void Changed(QTreeWidgetItem* qi, int column) {
        if (FSyncing || column != 0) return;
        int i = Tree()->indexOfTopLevelItem(qi);
        if (i < 0 || i >= Model().Items()->Count()) return;
        TListItem* li = Model().Items()->Item(i);
        if (Model().ItemEditing() == li) {
            Model().EndEditCaption(FromQString(qi->text(0)));
            UpdateState();
            return;
        }
        bool checked = qi->checkState(0) == Qt::Checked;
        if (Model().Checkboxes() && checked != li->Checked()) {
            Model().UserToggleCheck(i);
            UpdateState();
        }
    }
};

// ---- Bit button ----------------------------------------------------------------------------

// The glyph's image for the state, its transparent colour left out.
QIcon GlyphIcon(const TButtonGlyph& glyph, bool enabled) {
    TSize size = glyph.ImageSize();
    if (size.cx == 0) return {};
    TBitmap picture;
    picture.SetSize(size.cx, size.cy);
    TColor key = glyph.Glyph()->GetTransparentColor();
    picture.Canvas()->Brush()->SetColor(key);
    picture.Canvas()->FillRect({0, 0, size.cx, size.cy});
    glyph.DrawImage(*picture.Canvas(), {0, 0},
                    enabled ? TButtonState::bsUp : TButtonState::bsDisabled);
    QImage image = picture.Image().convertToFormat(QImage::Format_ARGB32);
    uint32_t rgb = ColorToRGB(key);
    QRgb transparent = qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (transparent & 0xFFFFFF)) image.setPixel(x, y, 0);
    return QIcon(QPixmap::fromImage(image));
}

class TBitBtnView : public TWidgetView {
public:
    explicit TBitBtnView(TControl& c) : TWidgetView(c, new QPushButton) {
        Button()->setAutoDefault(false);
        QObject::connect(Button(), &QPushButton::clicked, Button(), [this] {
            if (!FSyncing) Control().Click();
        });
    }

protected:
    void UpdateText() override {
        Button()->setText(ToQString(Control().Caption()));
        Button()->setShortcut(QKeySequence());
    }
    void UpdateState() override {
        auto& model = static_cast<TBitBtn&>(Control());
        Button()->setDefault(model.Default());
        Button()->setIcon(GlyphIcon(model.ButtonGlyph(), model.Enabled()));
        TSize size = model.ButtonGlyph().ImageSize();
        if (size.cx > 0) Button()->setIconSize(QSize(size.cx, size.cy));
        Button()->setLayoutDirection(
            model.Layout() == TButtonLayout::blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
    }
    void UpdateColor() override {}

private:
    QPushButton* Button() const { return static_cast<QPushButton*>(Widget()); }
};

[[maybe_unused]] const bool gRegistered = [] {
    RegisterCtrlsViews();
    return true;
}();

} // namespace

void RegisterCtrlsViews() {
    RegisterView<TCustomMaskEdit, TMaskEditView>();
    RegisterView<TCustomMemo, TMemoView>();
    RegisterView<TRadioButton, TRadioButtonView>();
    RegisterView<TCustomComboBox, TComboBoxView>();
    RegisterView<TCustomListBox, TListBoxView>();
    RegisterView<TCustomListView, TListViewView>();
    RegisterView<TBitBtn, TBitBtnView>();
}

} // namespace vcl::qt
