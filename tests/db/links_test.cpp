#include "DbTest.h"

#include <gtest/gtest.h>

namespace {

using dbtest::AddRow;
using dbtest::JobDataSet;
using dbtest::TRecordingLink;

struct LinkTest : ::testing::Test {
    dbtest::TOwner Owner;
    db::TwwClientDataSet* Ds = JobDataSet(Owner.C);
    db::TDataSource* Source = vcl::Create<db::TDataSource>(Owner.C);
    TRecordingLink Link;
    LinkTest() {
        AddRow(Ds, "Y", "61", "1", 10, 70);
        AddRow(Ds, "Y", "61", "2", 20, 140);
        Ds->First();
        Source->SetDataSet(Ds);
        Link.SetDataSource(Source);
    }
};

TEST_F(LinkTest, LinksHearStateScrollAndFieldChanges) {
    EXPECT_TRUE(Link.Active());
    EXPECT_EQ(Link.Joined(), "active");
    Link.Log.clear();
    Ds->Next();
    Ds->Edit();
    Ds->FieldByName("MA017")->SetAsString("r");
    Ds->Post();
    EXPECT_EQ(Link.Joined(), "scrolled1 editing record:- record:MA017 update browsing changed");
    Link.Log.clear();
    Ds->Close();
    EXPECT_EQ(Link.Joined(), "inactive");
    EXPECT_FALSE(Link.Active());
}

TEST_F(LinkTest, DisabledControlsNestAndHearOneChangeAtTheEnd) {
    Link.Log.clear();
    Ds->DisableControls();
    Ds->DisableControls();
    Ds->Next();
    Ds->EnableControls();
    EXPECT_TRUE(Ds->ControlsDisabled());
    Ds->Prior();
    EXPECT_TRUE(Link.Log.empty());
    Ds->EnableControls();
    EXPECT_FALSE(Ds->ControlsDisabled());
    EXPECT_EQ(Link.Joined(), "changed");
    Ds->EnableControls(); // one too many: ignored
    EXPECT_FALSE(Ds->ControlsDisabled());
    Ds->DisableControls();
    EXPECT_TRUE(Ds->ControlsDisabled());
    Ds->EnableControls();
}

TEST_F(LinkTest, SourceEventsAndEnabled) {
    std::vector<std::string> log;
    dbtest::THook<rtl::TObject*, db::TField*> dataChange;
    dataChange.Fn = [&](rtl::TObject*, db::TField* f) {
        log.push_back("data:" + (f ? f->FieldName() : std::string("-")));
    };
    dbtest::THook<rtl::TObject*> stateChange;
    stateChange.Fn = [&](rtl::TObject*) { log.push_back("state"); };
    Source->OnDataChange = dataChange.Event();
    Source->OnStateChange = stateChange.Event();
    Ds->Edit();
    Ds->FieldByName("checked")->SetAsString("N");
    Ds->Cancel();
    EXPECT_EQ(log,
              (std::vector<std::string>{"state", "data:-", "data:checked", "state", "data:-"}));

    Link.Log.clear();
    Source->SetEnabled(false);
    EXPECT_EQ(Source->State(), db::TDataSetState::dsInactive);
    EXPECT_FALSE(Link.Active());
    Ds->Next();
    EXPECT_EQ(Link.Joined(), "inactive");
    Source->SetEnabled(true);
    EXPECT_TRUE(Link.Active());
}

TEST_F(LinkTest, EditThroughTheLinkFollowsAutoEdit) {
    Source->SetAutoEdit(false);
    EXPECT_FALSE(Link.Edit());
    EXPECT_EQ(Ds->State(), db::TDataSetState::dsBrowse);
    Source->SetAutoEdit(true);
    EXPECT_TRUE(Link.Edit());
    EXPECT_EQ(Ds->State(), db::TDataSetState::dsEdit);
    Ds->Cancel();
    Link.ReadOnly = true;
    EXPECT_FALSE(Link.Edit());
}

// A control that holds only a data source: its field link writes the typed text when the
// dataset posts or moves.
struct TEditControl : vcl::TComponent {
    db::TFieldDataLink Link;
    std::string Text;
    bool Shown = false;
    explicit TEditControl(vcl::TComponent* owner) : vcl::TComponent(owner) {
        Link.Control = this;
        Link.OnDataChange = rtl::MethodOf<&TEditControl::DataChange>(this);
        Link.OnUpdateData = rtl::MethodOf<&TEditControl::UpdateData>(this);
    }
    void DataChange(rtl::TObject*) {
        Text = Link.Field() ? Link.Field()->Text() : "";
        Shown = true;
    }
    void UpdateData(rtl::TObject*) { Link.Field()->SetText(Text); }
    void Type(const std::string& text) {
        if (!Link.Edit()) return;
        Text = text;
        Link.Modified();
    }
};

TEST_F(LinkTest, FieldLinkShowsAndWritesBack) {
    TEditControl edit(nullptr);
    edit.Link.SetFieldName("MA017");
    edit.Link.SetDataSource(Source);
    EXPECT_EQ(edit.Link.Field(), Ds->FieldByName("MA017"));
    EXPECT_EQ(edit.Text, " ");
    edit.Type("bad debt");
    EXPECT_EQ(Ds->State(), db::TDataSetState::dsEdit);
    Ds->Next(); // the pending text is written and posted
    Ds->First();
    EXPECT_EQ(Ds->FieldByName("MA017")->AsString(), "bad debt");
    EXPECT_EQ(edit.Text, "bad debt");
    EXPECT_TRUE(edit.Link.CanModify());
    Ds->FieldByName("MA017")->SetReadOnly(true);
    EXPECT_FALSE(edit.Link.CanModify());
}

TEST_F(LinkTest, FreeingEitherSideLeavesNoDanglingPointers) {
    auto* other = vcl::Create<db::TDataSource>(Owner.C);
    other->SetDataSet(Ds);
    TRecordingLink second;
    second.SetDataSource(other);
    other->Free();
    EXPECT_EQ(second.DataSource(), nullptr);
    EXPECT_FALSE(second.Active());

    Link.Log.clear();
    Ds->Free();
    EXPECT_EQ(Source->DataSet(), nullptr);
    EXPECT_FALSE(Link.Active());
    EXPECT_EQ(Link.Joined(), "inactive");
    {
        TRecordingLink shortLived;
        shortLived.SetDataSource(Source);
    } // removes itself from the source
    Source->Free();
    EXPECT_EQ(Link.DataSource(), nullptr);
}

TEST_F(LinkTest, FieldsOwnedElsewhereOutliveOrPrecedeTheirDataSet) {
    auto* cds = vcl::Create<db::TClientDataSet>(Owner.C);
    auto* field = vcl::Create<db::TStringField>(Owner.C);
    field->SetFieldName("A");
    field->SetDataSet(cds);
    cds->CreateDataSet();
    cds->Free();
    EXPECT_EQ(field->DataSet(), nullptr);
    EXPECT_TRUE(field->IsNull());
}

} // namespace

namespace {

TEST_F(LinkTest, SwitchingToAnotherOpenDataSetTellsTheLinks) {
    dbtest::TOwner otherForm;
    auto* other = dbtest::JobDataSet(otherForm.C);
    Link.Log.clear();
    Source->SetDataSet(other);
    EXPECT_EQ(Link.Joined(), "layout");
    EXPECT_EQ(Link.DataSet(), other);
}

} // namespace
