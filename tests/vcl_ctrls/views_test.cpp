// The views of the control modules, in a QApplication offscreen: model state shown, input
// routed back through the model.
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/qt/QtViews.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vcl;

namespace {

struct ViewsTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(qobject_cast<QApplication*>(QCoreApplication::instance()));
        qt::InstallQtViews();
        SetViewsEnabled(true);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override {
        delete Form;
        SetViewsEnabled(false);
    }
    template <class C> C* Make(int top) {
        auto* c = new C(Form);
        c->SetParent(Form);
        c->SetTop(top);
        return c;
    }
    template <class W> W* Widget(TControl* c) { return qobject_cast<W*>(qt::WidgetOf(*c)); }
    TForm* Form = nullptr;
};

TEST_F(ViewsTest, MaskedEditTypesThroughTheModel) {
    auto* edit = Make<TMaskEdit>(0);
    edit->SetEditMask("9999/99/99;1;_");
    auto* other = Make<TEdit>(30);
    Form->Show();
    auto* line = Widget<QLineEdit>(edit);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), "____/__/__");
    edit->SetFocus();
    line->setFocus();
    line->setCursorPosition(0);
    QTest::keyClicks(line, "2004x05");
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->EditText(), "2004/05/__");
    EXPECT_EQ(line->text(), "2004/05/__");
    EXPECT_EQ(line->selectionStart(), 8); // the overwrite cursor on the next position
    (void)other;
}

TEST_F(ViewsTest, ComboAndRadioShowTheModelAndReportChoices) {
    auto* combo = Make<TComboBox>(0);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->Items()->SetCommaText("一,二,三");
    combo->SetItemIndex(1);
    auto* a = Make<TRadioButton>(30);
    auto* b = Make<TRadioButton>(50);
    a->SetChecked(true);
    Form->Show();
    auto* qc = Widget<QComboBox>(combo);
    ASSERT_TRUE(qc);
    EXPECT_FALSE(qc->isEditable());
    EXPECT_EQ(qc->count(), 3);
    EXPECT_EQ(qc->currentText(), "二");
    emit qc->activated(2);
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->Items()->Add("四");
    EXPECT_EQ(qc->count(), 4);

    auto* qb = Widget<QRadioButton>(b);
    ASSERT_TRUE(qb);
    EXPECT_TRUE(Widget<QRadioButton>(a)->isChecked());
    qb->click();
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(Widget<QRadioButton>(a)->isChecked());
}

TEST_F(ViewsTest, MemoAndListView) {
    auto* memo = Make<TMemo>(0);
    memo->Lines()->SetText("one\r\ntwo");
    auto* list = Make<TListView>(100);
    list->SetViewStyle(TViewStyle::vsReport);
    list->SetCheckboxes(true);
    list->Columns()->Add()->SetCaption("Code");
    list->Columns()->Add()->SetCaption("Name");
    TListItem* item = list->Items()->Add();
    item->SetCaption("A1");
    item->SubItems()->Add("Alpha");
    Form->Show();

    auto* qm = Widget<QPlainTextEdit>(memo);
    ASSERT_TRUE(qm);
    EXPECT_EQ(qm->toPlainText(), "one\ntwo");
    qm->setPlainText("x\ny");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Text(), "x\r\ny");
    // Before a key reaches the model, the model learns where the caret is.
    QTextCursor cursor = qm->textCursor();
    cursor.setPosition(3);
    qm->setTextCursor(cursor);
    QTest::keyClick(qm, Qt::Key_Shift);
    EXPECT_EQ(memo->CaretPos(), (TPoint{1, 1}));

    auto* tree = Widget<QTreeWidget>(list);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->columnCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), "Alpha");
    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(item->Checked());
    item->SetSelected(true);
    EXPECT_TRUE(tree->selectionModel()->isRowSelected(0, {}));
    // A press beside the items goes to the model, which drops the selection.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      QPoint(5, tree->viewport()->height() - 3));
    EXPECT_FALSE(item->Selected());
    EXPECT_FALSE(tree->selectionModel()->isRowSelected(0, {}));
}

} // namespace
