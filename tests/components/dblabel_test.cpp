#include "tests/components/Fixture.h"

#include "components/DBLabel.h"

#include "platform/db/DBClient.h"

using namespace vcl;
using namespace components;

namespace {

// A control with the published DataSource and DataField a data-aware control has.
class TProbeDBControl : public TWinControl {
    RTL_DECLARE_CLASS(TProbeDBControl, TWinControl)
public:
    using TWinControl::TWinControl;
    db::TDataSource* DataSource() const { return FSource; }
    void SetDataSource(db::TDataSource* s) { FSource = s; }
    const std::string& DataField() const { return FField; }
    void SetDataField(const std::string& f) { FField = f; }
    db::TDataSource* FSource = nullptr;
    std::string FField;
};

} // namespace

#include "platform/rtl/ClassBuilder.h"

RTL_BEGIN_CLASS(TProbeDBControl, TWinControl)
c.Obj("DataSource", &TProbeDBControl::DataSource, &TProbeDBControl::SetDataSource);
c.Str("DataField", &TProbeDBControl::DataField, &TProbeDBControl::SetDataField);
RTL_END_CLASS

namespace {

TEST_F(ComponentsTest, DBLabelAlignsBesideItsControl) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    auto* label = new TDBLabel(Form);
    label->SetParent(Form);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 60, 13);
    EXPECT_EQ(label->Caption(), "挂靠标签");

    struct Case {
        TPos Pos;
        int Gap, Left, Top, Width, Height;
        int WantLeft, WantTop;
    } cases[] = {
        {TPos::psLeft, 4, 121, 179, 86, 21, 121 - 60 - 4, 179 + 10 - 6},
        {TPos::psRight, 4, 121, 179, 86, 21, 121 + 86 + 4, 183},
        {TPos::psTop, 2, 121, 179, 86, 21, 121, 179 - 13 - 2},
        {TPos::psBottom, 2, 121, 179, 86, 21, 121, 179 + 21 + 2},
        {TPos::psLeft, 4, 10, 100, 86, 13, 0, 100}, // narrower than label + gap: left 0
        {TPos::psTop, 4, 10, 5, 86, 21, 10, 0},     // above the top: top 0
        {TPos::psLeft, 4, 200, 3, 86, 1, 136, 0},   // centred above the top: 0
    };
    for (const Case& c : cases) {
        label->SetFocusControl(nullptr);
        edit->SetBounds(c.Left, c.Top, c.Width, c.Height);
        label->SetPos(c.Pos);
        label->SetGap(c.Gap);
        label->SetFocusControl(edit);
        EXPECT_EQ(label->Left(), c.WantLeft) << int(c.Pos) << " at " << c.Left;
        EXPECT_EQ(label->Top(), c.WantTop) << int(c.Pos) << " at " << c.Top;
    }
    label->SetAutoAlign(false);
    edit->SetBounds(300, 200, 86, 21);
    label->SetPos(TPos::psRight);
    EXPECT_EQ(label->Left(), 136); // stays where it was
}

TEST_F(ComponentsTest, DBLabelRefusesASecondLabelForOneControl) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    auto* first = new TDBLabel(Form);
    first->SetParent(Form);
    first->SetFocusControl(edit);
    auto* second = new TDBLabel(Form);
    second->SetParent(Form);
    second->SetFocusControl(edit);
    EXPECT_EQ(second->FocusControl(), nullptr);
    ASSERT_EQ(Responder->Dialogs.size(), 1u);
    EXPECT_EQ(Responder->Dialogs[0].Text, "不能同时有两个 DBLabel 指到同一个 Control.");
    EXPECT_EQ(Responder->Dialogs[0].Type, TMsgDlgType::mtError);
    first->SetFocusControl(edit); // the same binding again: nothing happens
    EXPECT_EQ(Responder->Dialogs.size(), 1u);
    delete edit;
    EXPECT_EQ(first->FocusControl(), nullptr);
}

TEST_F(ComponentsTest, DBLabelTakesItsCaptionFromTheDataField) {
    db::TClientDataSet data(nullptr);
    data.FieldDefs().Add("MQ003", db::TFieldType::ftString, 10);
    data.CreateDataSet();
    data.FieldByName("MQ003")->SetDisplayLabel("客户编号");
    db::TDataSource source(nullptr);
    source.SetDataSet(&data);

    auto* control = new TProbeDBControl(Form);
    control->SetParent(Form);
    control->SetDataSource(&source);
    control->SetDataField("MQ003");
    auto* label = new TDBLabel(Form);
    label->SetParent(Form);
    label->SetFocusControl(control);
    EXPECT_EQ(label->Caption(), "客户编号");

    control->SetDataField("NOPE"); // no such field: the caption stays
    label->SetCaption("原样");
    label->RefreshCaption();
    EXPECT_EQ(label->Caption(), "原样");
    label->SetAutoCaption(false);
    control->SetDataField("MQ003");
    label->RefreshCaption();
    EXPECT_EQ(label->Caption(), "原样");
    delete control;
}

} // namespace
