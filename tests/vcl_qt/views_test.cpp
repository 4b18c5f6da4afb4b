#include "platform/vcl/qt/QtViews.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include "platform/rtl/ClassBuilder.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

void RegisterViewTestResources();

using namespace vcl;

namespace {

struct QtEnvironment : ::testing::Environment {
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "test_vcl_qt";
        static char* argv[] = {arg0, nullptr};
        App = new QApplication(argc, argv);
        qt::InstallQtViews();
        RegisterViewTestResources();
    }
    QApplication* App = nullptr;
};
const auto* const Env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class TfrmViewBase : public TForm {
    RTL_DECLARE_CLASS(TfrmViewBase, TForm)
public:
    using TForm::TForm;
    void FormKeyDown(TObject*, uint16_t& key, TShiftState) {
        if (key == VK_F2) {
            Log += "F2;";
            key = 0;
        }
    }
    void btnOkClick(TObject*) {
        Log += "ok;";
        SetModalResult(mrOk);
    }
    void edCustomerExit(TObject*) {
        Log += "exit;";
        if (edCustomer->Text().empty()) edCustomer->SetFocus(); // a required field
    }
    TEdit* edCustomer = nullptr;
    TButton* btnOk = nullptr;
    TLabel* lblCustomer = nullptr;
    std::string Log;
};

RTL_BEGIN_CLASS(TfrmViewBase, TForm)
c.Field("edCustomer", &TfrmViewBase::edCustomer);
c.Field("btnOk", &TfrmViewBase::btnOk);
c.Field("lblCustomer", &TfrmViewBase::lblCustomer);
c.Method<&TfrmViewBase::FormKeyDown>("FormKeyDown");
c.Method<&TfrmViewBase::btnOkClick>("btnOkClick");
c.Method<&TfrmViewBase::edCustomerExit>("edCustomerExit");
RTL_END_CLASS

class TfrmViewProbe : public TfrmViewBase {
    RTL_DECLARE_CLASS(TfrmViewProbe, TfrmViewBase)
public:
    using TfrmViewBase::TfrmViewBase;
    void FormClose(TObject*, TCloseAction& a) { a = TCloseAction::caFree; }
    TEdit* edDate = nullptr;
    TCheckBox* chkAll = nullptr;
    TEdit* edNote = nullptr;
    bool* Freed = nullptr;
    ~TfrmViewProbe() override {
        if (Freed) *Freed = true;
    }
};

RTL_BEGIN_CLASS(TfrmViewProbe, TfrmViewBase)
c.Field("edDate", &TfrmViewProbe::edDate);
c.Field("chkAll", &TfrmViewProbe::chkAll);
c.Field("edNote", &TfrmViewProbe::edNote);
RTL_END_CLASS

QWidget* W(TControl* c) {
    return qt::WidgetOf(*c);
}

struct ViewsTest : ::testing::Test {
    ViewsTest() {
        Form = Create<TfrmViewProbe>(nullptr);
        Form->Show();
        QWidget* window = W(Form);
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    ~ViewsTest() override { delete Form; }
    TfrmViewProbe* Form;
};

// Where the rendered pictures go, for a person to look at.
QString RenderPath(const char* name) {
    QString dir = qEnvironmentVariable("ORVANE_RENDER_DIR", QDir::tempPath());
    QDir().mkpath(dir);
    return dir + "/" + name;
}

int DarkPixels(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 100) ++n;
    return n;
}

TEST_F(ViewsTest, WidgetsStandWhereTheResourcesPutThemAndCaptionsAreDrawn) {
    QWidget* window = W(Form);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("坏账冲销 - 条件"));
    EXPECT_EQ(W(Form->edDate)->geometry(), QRect(120, 48, 120, 21));
    EXPECT_EQ(W(Form->edDate)->parentWidget(),
              W(static_cast<TControl*>(Form->FindComponent("pnlMain"))));
    EXPECT_EQ(W(Form->edNote)->mapTo(window, QPoint(0, 0)), QPoint(16 + 12, 112 + 28));
    EXPECT_EQ(static_cast<QLineEdit*>(W(Form->edCustomer))->text(), "C001");

    QImage shot = window->grab().toImage();
    shot.save(RenderPath("views-probe.png"));
    // The label's Chinese caption is drawn: dark strokes inside its bounds, none left of it.
    TLabel* label = Form->lblCustomer;
    QRect caption(label->Left(), label->Top(), label->Width(), label->Height());
    EXPECT_GT(DarkPixels(shot, caption), 20);
    EXPECT_EQ(DarkPixels(shot, QRect(2, 20, 10, 14)), 0);
    // The check box caption sits right of its box.
    QRect check(Form->chkAll->Left() + 20, 84, 120, 17);
    EXPECT_GT(DarkPixels(shot, check), 20);
}

TEST_F(ViewsTest, TypingTabsAndKeysGoThroughTheModel) {
    Form->edCustomer->SetFocus();
    QApplication::processEvents();
    QWidget* customer = W(Form->edCustomer);
    EXPECT_TRUE(customer->hasFocus());

    QTest::keyClicks(customer, "2");
    EXPECT_EQ(Form->edCustomer->Text(), "C0012");
    QTest::keyClick(customer, Qt::Key_Tab);
    EXPECT_EQ(Form->ActiveControl(), Form->edDate);
    EXPECT_TRUE(W(Form->edDate)->hasFocus());
    EXPECT_EQ(Form->Log, "exit;");

    QTest::keyClick(W(Form->edDate), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Form->ActiveControl(), Form->edCustomer);

    QTest::keyClick(customer, Qt::Key_F2); // the form's key preview takes it
    EXPECT_EQ(Form->Log, "exit;F2;");
    QTest::keyClick(customer, Qt::Key_A, Qt::AltModifier); // the check box's accelerator
    EXPECT_EQ(Form->ActiveControl(), Form->chkAll);
    EXPECT_TRUE(Form->chkAll->Checked());

    QTest::mouseClick(W(Form->btnOk), Qt::LeftButton);
    EXPECT_EQ(Form->Log, "exit;F2;exit;ok;");
}

TEST_F(ViewsTest, AnExitHandlerThatKeepsTheFocusKeepsItOnScreen) {
    Form->edCustomer->SetFocus();
    Form->edCustomer->SetText("");
    QApplication::processEvents();
    QTest::keyClick(W(Form->edCustomer), Qt::Key_Tab);
    EXPECT_EQ(Form->ActiveControl(), Form->edCustomer);
    QApplication::processEvents();
    EXPECT_TRUE(W(Form->edCustomer)->hasFocus());

    // A click into another edit is a focus request the same check refuses.
    QTest::mouseClick(W(Form->edDate), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Form->ActiveControl(), Form->edCustomer);
    EXPECT_TRUE(W(Form->edCustomer)->hasFocus());
}

TEST_F(ViewsTest, ModelChangesReachTheWidgets) {
    Form->edDate->SetText("2026/12/11");
    EXPECT_EQ(static_cast<QLineEdit*>(W(Form->edDate))->text(), "2026/12/11");
    Form->edDate->SetEnabled(false);
    EXPECT_FALSE(W(Form->edDate)->isEnabled());
    Form->chkAll->SetVisible(false);
    EXPECT_FALSE(W(Form->chkAll)->isVisible());
    Form->edDate->SetBounds(130, 50, 100, 23);
    EXPECT_EQ(W(Form->edDate)->geometry(), QRect(130, 50, 100, 23));
    Form->Font()->SetHeight(-16);
    EXPECT_EQ(W(Form->edNote)->font().pixelSize(), 16);
}

TEST(Views, ClosingTheWindowFreesTheFormThroughTheModel) {
    bool freed = false;
    auto* form = Create<TfrmViewProbe>(nullptr);
    form->Freed = &freed;
    form->FOnClose = rtl::MethodOf<&TfrmViewProbe::FormClose>(form);
    form->Show();
    W(form)->close();
    EXPECT_FALSE(freed); // the release is posted
    for (int i = 0; i < 10 && !freed; ++i)
        QApplication::processEvents();
    EXPECT_TRUE(freed);
}

TEST(Views, ModalRunEndsWithTheModalResult) {
    auto* form = Create<TfrmViewProbe>(nullptr);
    QTimer::singleShot(50, [&] { QTest::mouseClick(W(form->btnOk), Qt::LeftButton); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(W(form)->isVisible());
    delete form;
}

} // namespace

namespace {

TEST(Views, ListControlsFollowTheModelBothWays) {
    auto* form = Create<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto* a = new TRadioButton(form);
    auto* b = new TRadioButton(form);
    a->SetParent(form);
    b->SetParent(form);
    a->SetBounds(10, 10, 100, 17);
    b->SetBounds(10, 30, 100, 17);
    a->SetCaption("日");
    b->SetCaption("周");
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 60, 150, 21);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* s : {"人民币", "美元", "港币"})
        combo->Items()->Add(s);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(10, 90, 200, 60);
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->SetBounds(220, 10, 150, 100);
    list->Items()->Add("甲");
    list->Items()->Add("乙");
    form->Show();
    QApplication::processEvents();

    QTest::mouseClick(W(b), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_TRUE(b->Checked());
    a->SetChecked(true);
    EXPECT_TRUE(static_cast<QAbstractButton*>(W(a))->isChecked());
    EXPECT_FALSE(static_cast<QAbstractButton*>(W(b))->isChecked());

    auto* qcombo = static_cast<QComboBox*>(W(combo));
    EXPECT_EQ(qcombo->count(), 3);
    combo->SetItemIndex(1);
    EXPECT_EQ(qcombo->currentText(), QString::fromUtf8("美元"));
    qcombo->activated(2); // what the drop-down reports when the user picks an item
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "港币");

    memo->Lines()->Add("第一行");
    memo->Lines()->Add("第二行");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(W(memo))->toPlainText(),
              QString::fromUtf8("第一行\n第二行"));
    memo->SetFocus();
    QTest::keyClicks(W(memo), "x");
    EXPECT_EQ(memo->Lines()->Count(), 2);

    auto* qlist = static_cast<QListWidget*>(W(list));
    QRect second = qlist->visualItemRect(qlist->item(1));
    QTest::mouseClick(qlist->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(list->ItemIndex(), 1);
    delete form;
}

} // namespace
