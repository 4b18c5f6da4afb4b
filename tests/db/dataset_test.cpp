#include "DbTest.h"

#include "platform/rtl/TypInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using db::TDataSetState;
using db::TFieldType;
using dbtest::AddRow;
using dbtest::JobDataSet;
using dbtest::TDataSetHook;
using dbtest::TFieldHook;
using dbtest::TRecordingLink;

template <class F> std::string ErrorOf(F f) {
    try {
        f();
    } catch (const db::EDatabaseError& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return std::string("other error: ") + e.what();
    }
    return "no error";
}

struct DataSetTest : ::testing::Test {
    dbtest::TOwner Owner;
    db::TwwClientDataSet* Ds = JobDataSet(Owner.C);
    db::TField* F(const char* name) { return Ds->FieldByName(name); }
    void Fill(int n) {
        for (int i = 1; i <= n; ++i)
            AddRow(Ds, "Y", "61", std::to_string(i).c_str(), i * 10.0, i * 70.0);
    }
    std::string Column(const char* name) {
        std::string s;
        for (int i = 0; i < Ds->RecordCount(); ++i)
            s += (i ? "," : "") + F(name)->TextOf(i);
        return s;
    }
};

TEST_F(DataSetTest, NavigationKeepsBofEofAndRecNo) {
    EXPECT_TRUE(Ds->Active());
    EXPECT_TRUE(Ds->IsEmpty());
    EXPECT_TRUE(Ds->Bof() && Ds->Eof());
    EXPECT_EQ(Ds->RecNo(), 0);
    Ds->Next(); // nothing to move to
    Fill(5);
    Ds->First();
    EXPECT_TRUE(Ds->Bof());
    EXPECT_FALSE(Ds->Eof());
    EXPECT_EQ(F("TA002")->AsString(), "1");
    EXPECT_EQ(Ds->MoveBy(3), 3);
    EXPECT_EQ(Ds->RecNo(), 4);
    EXPECT_EQ(Ds->MoveBy(10), 1); // stops at the last record
    EXPECT_TRUE(Ds->Eof());
    Ds->Next();
    EXPECT_EQ(Ds->RecNo(), 5);
    Ds->Prior();
    EXPECT_FALSE(Ds->Eof());
    EXPECT_EQ(Ds->RecNo(), 4);
    EXPECT_EQ(Ds->MoveBy(-10), -3);
    EXPECT_TRUE(Ds->Bof());
    Ds->SetRecNo(3);
    EXPECT_EQ(F("TA002")->AsString(), "3");
    Ds->Last();
    EXPECT_TRUE(Ds->Eof());
    EXPECT_EQ(Ds->RecordCount(), 5);

    int walked = 0;
    for (Ds->First(); !Ds->Eof(); Ds->Next())
        ++walked;
    EXPECT_EQ(walked, 5);
}

TEST_F(DataSetTest, InsertGoesBeforeTheCurrentRecordAppendAtTheEnd) {
    Fill(3);
    Ds->SetRecNo(2);
    Ds->Insert();
    EXPECT_EQ(Ds->State(), TDataSetState::dsInsert);
    F("TA002")->SetAsString("new");
    Ds->Post();
    EXPECT_EQ(Ds->RecNo(), 2);
    EXPECT_EQ(Column("TA002"), "1,new,2,3");
    Ds->First();
    Ds->Append();
    F("TA002")->SetAsString("end");
    Ds->Post();
    EXPECT_EQ(Column("TA002"), "1,new,2,3,end");
    EXPECT_EQ(Ds->RecNo(), 5);
}

TEST_F(DataSetTest, MovingPostsAModifiedRecordAndDropsAnUntouchedInsert) {
    Fill(2);
    Ds->First();
    Ds->Edit();
    F("MA017")->SetAsString("reason");
    EXPECT_TRUE(Ds->Modified());
    Ds->Next(); // posts
    EXPECT_EQ(Ds->State(), TDataSetState::dsBrowse);
    Ds->First();
    EXPECT_EQ(F("MA017")->AsString(), "reason");

    Ds->Append();
    Ds->First(); // nothing typed: cancelled, not posted
    EXPECT_EQ(Ds->RecordCount(), 2);

    Ds->Edit();
    F("MA017")->SetAsString("dropped");
    Ds->Cancel();
    EXPECT_EQ(F("MA017")->AsString(), "reason");
}

TEST_F(DataSetTest, EditOnAnEmptyDataSetInserts) {
    Ds->Edit();
    EXPECT_EQ(Ds->State(), TDataSetState::dsInsert);
}

TEST_F(DataSetTest, DeleteMovesToTheNextRecord) {
    Fill(3);
    Ds->SetRecNo(2);
    Ds->Delete();
    EXPECT_EQ(Column("TA002"), "1,3");
    EXPECT_EQ(F("TA002")->AsString(), "3");
    Ds->Delete(); // the last one: the new last becomes current
    EXPECT_EQ(F("TA002")->AsString(), "1");
    Ds->Delete();
    EXPECT_TRUE(Ds->IsEmpty());
    EXPECT_EQ(ErrorOf([&] { Ds->Delete(); }),
              "cds01: Cannot perform this operation on an empty dataset");
}

TEST_F(DataSetTest, MisuseGetsTheVclErrors) {
    Fill(1);
    EXPECT_EQ(ErrorOf([&] { Ds->Post(); }), "cds01: Dataset not in edit or insert mode");
    EXPECT_EQ(ErrorOf([&] { F("MA017")->SetAsString("x"); }),
              "cds01: Dataset not in edit or insert mode");
    EXPECT_EQ(ErrorOf([&] { Ds->FieldByName("NOPE"); }), "cds01: Field 'NOPE' not found");
    EXPECT_EQ(Ds->FindField("ta002"), F("TA002"));
    EXPECT_EQ(ErrorOf([&] { Ds->CreateDataSet(); }),
              "cds01: Cannot perform this operation on an open dataset");
    F("TA001")->SetReadOnly(true);
    Ds->Edit();
    EXPECT_EQ(ErrorOf([&] { F("TA001")->SetAsString("x"); }),
              "cds01: Field 'TA001' cannot be modified");
    Ds->Cancel();
    Ds->SetReadOnly(true);
    EXPECT_EQ(ErrorOf([&] { Ds->Edit(); }), "cds01: Cannot modify a read-only dataset");
    Ds->Close();
    EXPECT_EQ(ErrorOf([&] { Ds->First(); }),
              "cds01: Cannot perform this operation on a closed dataset");
}

TEST_F(DataSetTest, EventsRunInVclOrder) {
    std::vector<std::string> log;
    std::vector<std::unique_ptr<TDataSetHook>> hooks;
    auto bind = [&](db::TDataSetNotifyEvent& ev, const char* name) {
        hooks.push_back(std::make_unique<TDataSetHook>());
        hooks.back()->Fn = [&log, name](db::TDataSet*) { log.push_back(name); };
        ev = hooks.back()->Event();
    };
    bind(Ds->BeforeInsert, "BeforeInsert");
    bind(Ds->AfterInsert, "AfterInsert");
    bind(Ds->OnNewRecord, "OnNewRecord");
    bind(Ds->BeforeEdit, "BeforeEdit");
    bind(Ds->AfterEdit, "AfterEdit");
    bind(Ds->BeforePost, "BeforePost");
    bind(Ds->AfterPost, "AfterPost");
    bind(Ds->BeforeCancel, "BeforeCancel");
    bind(Ds->AfterCancel, "AfterCancel");
    bind(Ds->BeforeDelete, "BeforeDelete");
    bind(Ds->AfterDelete, "AfterDelete");
    bind(Ds->BeforeScroll, "BeforeScroll");
    bind(Ds->AfterScroll, "AfterScroll");
    TFieldHook change;
    change.Fn = [&](db::TField* f) { log.push_back("OnChange:" + f->AsString()); };
    F("checked")->OnChange = change.Event();

    Ds->Append();
    F("checked")->SetAsString("Y");
    Ds->Post();
    Ds->Edit();
    F("checked")->SetAsString("N");
    Ds->First(); // posts on the way
    Ds->Edit();
    Ds->Cancel();
    Ds->Delete();
    const std::vector<std::string> expected = {
        "BeforeInsert", "BeforeScroll", "OnNewRecord",  "AfterInsert",  "AfterScroll",
        "OnChange:Y",   "BeforePost",   "AfterPost",    "BeforeEdit",   "AfterEdit",
        "OnChange:N",   "BeforePost",   "AfterPost",    "BeforeScroll", "AfterScroll",
        "BeforeEdit",   "AfterEdit",    "BeforeCancel", "AfterCancel",  "BeforeDelete",
        "BeforeScroll", "AfterDelete",  "AfterScroll"};
    EXPECT_EQ(log, expected);
}

TEST_F(DataSetTest, ValuesSetInOnNewRecordDoNotCountAsATypedRecord) {
    TDataSetHook newRecord;
    newRecord.Fn = [&](db::TDataSet*) { F("checked")->SetAsString("Y"); };
    Ds->OnNewRecord = newRecord.Event();
    Ds->Append();
    EXPECT_EQ(F("checked")->AsString(), "Y");
    EXPECT_FALSE(Ds->Modified());
    Ds->First();
    EXPECT_TRUE(Ds->IsEmpty());
}

TEST_F(DataSetTest, ARefusedPostKeepsTheEdit) {
    Fill(1);
    TDataSetHook refuse;
    refuse.Fn = [](db::TDataSet*) { throw rtl::EAbort("Operation aborted"); };
    Ds->BeforePost = refuse.Event();
    Ds->Edit();
    F("MA017")->SetAsString("typed");
    EXPECT_THROW(Ds->Post(), rtl::EAbort);
    EXPECT_EQ(Ds->State(), TDataSetState::dsEdit);
    EXPECT_EQ(F("MA017")->AsString(), "typed");
}

TEST_F(DataSetTest, RequiredAndValidatedFields) {
    auto* cds = vcl::Create<db::TClientDataSet>(Owner.C);
    cds->SetName("cdsReq");
    cds->FieldDefs().Add("CODE", TFieldType::ftString, 4, true);
    cds->FieldDefs().Add("QTY", TFieldType::ftInteger);
    cds->CreateDataSet();
    cds->Append();
    EXPECT_EQ(ErrorOf([&] { cds->Post(); }), "cdsReq: Field 'CODE' must have a value");

    TFieldHook validate;
    validate.Fn = [](db::TField* f) {
        if (f->AsInteger() < 0) db::DatabaseError("negative quantity");
    };
    db::TField* qty = cds->FieldByName("QTY");
    qty->OnValidate = validate.Event();
    qty->SetAsInteger(5);
    EXPECT_EQ(ErrorOf([&] { qty->SetAsInteger(-1); }), "negative quantity");
    EXPECT_EQ(qty->AsInteger(), 5); // the refused value is not kept
}

TEST_F(DataSetTest, NumericFieldsReadTypedTextOrRefuseIt) {
    auto* cds = vcl::Create<db::TClientDataSet>(Owner.C);
    cds->SetName("cdsNum");
    cds->FieldDefs().Add("AMT", TFieldType::ftFloat);
    cds->FieldDefs().Add("CNT", TFieldType::ftInteger);
    cds->FieldDefs().Add("SML", TFieldType::ftSmallint);
    cds->FieldDefs().Add("OK", TFieldType::ftBoolean);
    cds->CreateDataSet();
    cds->Append();
    db::TField* amt = cds->FieldByName("AMT");
    db::TField* cnt = cds->FieldByName("CNT");
    db::TField* sml = cds->FieldByName("SML");
    amt->SetEditText("1,234.5");
    EXPECT_DOUBLE_EQ(amt->AsFloat(), 1234.5);
    amt->SetEditText("");
    EXPECT_TRUE(amt->IsNull());
    EXPECT_EQ(amt->DisplayText(), "");
    struct {
        db::TField* Field;
        const char* Text;
        const char* Error;
    } bad[] = {
        {amt, "abc", "cdsNum: 'abc' is not a valid floating point value for field 'AMT'"},
        {amt, "1,2,3", "cdsNum: '1,2,3' is not a valid floating point value for field 'AMT'"},
        {cnt, "1.5", "cdsNum: '1.5' is not a valid integer value for field 'CNT'"},
        {cnt, "x1", "cdsNum: 'x1' is not a valid integer value for field 'CNT'"},
        {sml, "40000",
         "cdsNum: 40000 is not a valid value for field 'SML'. The allowed range is -32768 to "
         "32767"},
        {cds->FieldByName("OK"), "maybe",
         "cdsNum: 'maybe' is not a valid boolean value for field 'OK'"},
    };
    for (const auto& b : bad)
        EXPECT_EQ(ErrorOf([&] { b.Field->SetText(b.Text); }), b.Error);
    EXPECT_TRUE(amt->IsNull()); // refused texts change nothing
    cnt->SetText("1,000");
    EXPECT_EQ(cnt->AsInteger(), 1000);
    cds->FieldByName("OK")->SetText("t");
    EXPECT_TRUE(cds->FieldByName("OK")->AsBoolean());
    EXPECT_EQ(cds->FieldByName("OK")->AsString(), "True");
}

TEST_F(DataSetTest, DisplayAndEditFormats) {
    AddRow(Ds, "Y", "61", "1", 1234.5, 0.05);
    auto* amount = static_cast<db::TFloatField*>(F("TA0293031"));
    EXPECT_EQ(amount->DisplayText(), "1234.5");
    amount->SetDisplayFormat("#,##0.00");
    EXPECT_EQ(amount->DisplayText(), "1,234.50");
    EXPECT_EQ(amount->EditText(), "1,234.50"); // no edit format: the display format
    amount->SetEditFormat("0.000");
    EXPECT_EQ(amount->EditText(), "1234.500");
    EXPECT_EQ(amount->AsString(), "1234.5");
    // What the field shows for editing reads back unchanged.
    amount->SetEditFormat("");
    Ds->Edit();
    amount->SetEditText(amount->EditText());
    Ds->Post();
    EXPECT_DOUBLE_EQ(amount->AsFloat(), 1234.5);
    EXPECT_EQ(amount->AsVariant().BaseType(), ole::varDouble);
}

TEST_F(DataSetTest, OnGetTextSeesTheRecordItIsAskedFor) {
    Fill(3);
    dbtest::THook<db::TField*, std::string&, bool> getText;
    getText.Fn = [](db::TField* f, std::string& text, bool display) {
        text = (display ? "No." : "") + f->AsString();
    };
    F("TA002")->OnGetText = getText.Event();
    Ds->First();
    EXPECT_EQ(Column("TA002"), "No.1,No.2,No.3");
    EXPECT_EQ(F("TA002")->AsString(), "1"); // the cursor did not move
    EXPECT_EQ(F("TA002")->Text(), "1");
}

TEST_F(DataSetTest, StringFieldsCutToWholeCharactersOfTheCodePage) {
    struct {
        const char* Acp;
        const char* Straddling; // nine letters and a two-byte character: 11 bytes
        const char* Exact;      // four two-byte characters and two letters: 10 bytes
    } cases[] = {{"936", "abcdefghi坏", "坏账原因ab"}, {"950", "abcdefghi壞", "壞賬原因ab"}};
    for (const auto& c : cases) {
        testing_support::EnvGuard env("ORVANE_ACP", c.Acp);
        Ds->Append();
        F("TA001")->SetAsString(c.Straddling); // TA001 holds 10 bytes
        EXPECT_EQ(F("TA001")->AsString(), "abcdefghi") << c.Acp;
        F("TA001")->SetAsString(c.Exact);
        EXPECT_EQ(F("TA001")->AsString(), c.Exact) << c.Acp;
        F("checked")->SetAsString("YES");
        EXPECT_EQ(F("checked")->AsString(), "Y");
        Ds->Cancel();
    }
}

TEST_F(DataSetTest, BookmarksSurviveChangesButNotDeletion) {
    Fill(4);
    Ds->SetRecNo(3);
    const db::TBookmark mark = Ds->GetBookmark();
    Ds->First();
    Ds->Insert();
    F("TA002")->SetAsString("0");
    Ds->Post();
    Ds->GotoBookmark(mark);
    EXPECT_EQ(F("TA002")->AsString(), "3");
    EXPECT_EQ(Ds->RecNo(), 4);
    Ds->Delete();
    EXPECT_FALSE(Ds->BookmarkValid(mark));
    AddRow(Ds, "Y", "61", "reuses", 0, 0); // may reuse the freed place, not the bookmark
    EXPECT_FALSE(Ds->BookmarkValid(mark));
    EXPECT_EQ(ErrorOf([&] { Ds->GotoBookmark(mark); }), "cds01: Record not found");
    EXPECT_FALSE(Ds->BookmarkValid(db::TBookmark{}));
}

TEST_F(DataSetTest, LocateAndLookupOnSeveralFields) {
    Fill(3);
    AddRow(Ds, "N", "6A", "2", 99, 1);
    Ds->First();
    EXPECT_TRUE(Ds->Locate("TA001;TA002", ole::VarArrayOf({"6A", "2"})));
    EXPECT_EQ(Ds->RecNo(), 4);
    EXPECT_TRUE(Ds->Locate("TA002", "2"));
    EXPECT_EQ(Ds->RecNo(), 2);
    EXPECT_FALSE(Ds->Locate("TA001;TA002", ole::VarArrayOf({"6a", "2"})));
    EXPECT_EQ(Ds->RecNo(), 2); // not found: stays
    EXPECT_TRUE(Ds->Locate("TA001;TA002", ole::VarArrayOf({"6a", "2"}),
                           {db::TLocateOption::loCaseInsensitive}));
    EXPECT_TRUE(Ds->Locate("TA001", "6", {db::TLocateOption::loPartialKey}));
    EXPECT_EQ(Ds->RecNo(), 1);
    EXPECT_TRUE(Ds->Locate("TA0293031", 30.0));
    EXPECT_EQ(Ds->RecNo(), 3);
    EXPECT_EQ(Ds->Lookup("TA001;TA002", ole::VarArrayOf({"6A", "2"}), "TA0293031"),
              ole::Variant(99.0));
    EXPECT_TRUE(Ds->Lookup("TA002", "none", "TA001").IsNull());
    EXPECT_EQ(ErrorOf([&] { Ds->Locate("TA001;TA002", "6A"); }),
              "cds01: 2 key fields but 1 values");
}

TEST_F(DataSetTest, IndexKeepsRecordsSorted) {
    AddRow(Ds, "Y", "6B", "2", 1, 1);
    AddRow(Ds, "Y", "61", "9", 1, 1);
    AddRow(Ds, "Y", "6B", "1", 1, 1);
    Ds->SetIndexFieldNames("TA001;TA002");
    EXPECT_EQ(Column("TA002"), "9,1,2");
    AddRow(Ds, "Y", "61", "3", 1, 1); // goes to its place and stays current
    EXPECT_EQ(Column("TA002"), "3,9,1,2");
    EXPECT_EQ(F("TA002")->AsString(), "3");
    Ds->SetRecNo(4);
    Ds->Edit();
    F("TA001")->SetAsString("60");
    Ds->Post();
    EXPECT_EQ(Column("TA002"), "2,3,9,1");
    EXPECT_EQ(Ds->RecNo(), 1);

    Ds->IndexDefs().push_back({"Index1", "TA002"});
    Ds->SetIndexName("Index1");
    EXPECT_EQ(Column("TA002"), "1,2,3,9");
    EXPECT_EQ(ErrorOf([&] { Ds->SetIndexName("Index9"); }), "cds01: Index 'Index9' not found");
    EXPECT_EQ(Ds->IndexName(), "Index1");
    EXPECT_EQ(ErrorOf([&] { Ds->SetIndexFieldNames("NOPE"); }), "cds01: Field 'NOPE' not found");
}

TEST_F(DataSetTest, EmptyDataSetAndReopenAfterCreate) {
    Fill(3);
    Ds->EmptyDataSet();
    EXPECT_TRUE(Ds->IsEmpty());
    Fill(2);
    EXPECT_EQ(Ds->RecordCount(), 2);
    Ds->Close();
    EXPECT_EQ(Ds->FieldCount(), 0); // fields made from the definitions go with the data
    EXPECT_EQ(ErrorOf([&] { Ds->Open(); }), "cds01: Missing data provider or data packet");
    Ds->CreateDataSet();
    EXPECT_EQ(Ds->FieldCount(), 7);
    EXPECT_TRUE(Ds->IsEmpty());
}

TEST_F(DataSetTest, PersistentFieldsComeFromTheOwnerAndSetPropertiesByName) {
    db::RegisterDB();
    auto* cds = vcl::Create<db::TClientDataSet>(Owner.C);
    cds->SetName("ClientDataSet1");
    const rtl::TClassInfo* cls = rtl::GetClass("TStringField");
    ASSERT_NE(cls, nullptr);
    auto* name = static_cast<db::TField*>(vcl::CreateComponent(*cls, Owner.C));
    name->SetParentComponent(cds); // as a form resource nests it
    rtl::SetStrProp(name, "FieldName", "NCONDITION");
    rtl::SetOrdProp(name, "Size", 40);
    rtl::SetStrProp(name, "DisplayLabel", "Scheme");
    rtl::SetOrdProp(name, "DisplayWidth", 14);
    rtl::SetOrdProp(name, "Visible", 0);
    auto* amount = vcl::Create<db::TFloatField>(Owner.C);
    amount->SetFieldName("AMT");
    amount->SetDataSet(cds);
    rtl::SetStrProp(amount, "DisplayFormat", "#,##0.00");
    rtl::SetStrProp(amount, "EditFormat", "0.00");
    cds->CreateDataSet();
    EXPECT_EQ(cds->FieldDefs().Count(), 2);
    EXPECT_EQ(name->DisplayLabel(), "Scheme");
    EXPECT_EQ(name->DisplayWidth(), 14);
    EXPECT_FALSE(name->Visible());
    cds->Append();
    name->SetAsString(std::string(50, 'x'));
    amount->SetAsFloat(1234.5);
    cds->Post();
    EXPECT_EQ(name->AsString().size(), 40u);
    EXPECT_EQ(amount->DisplayText(), "1,234.50");
    EXPECT_EQ(amount->EditText(), "1234.50");
    cds->Close();
    EXPECT_EQ(cds->FieldCount(), 2); // persistent fields stay
    name->Free();
    EXPECT_EQ(cds->FieldCount(), 1);
}

TEST_F(DataSetTest, ControlTypesOfTheGridPackage) {
    std::string type, params;
    ASSERT_TRUE(Ds->FieldControlType("CHECKED", type, params));
    EXPECT_EQ(type, "CheckBox");
    EXPECT_EQ(params, "Y;N");
    EXPECT_FALSE(Ds->FieldControlType("MA017", type, params));
    EXPECT_NE(rtl::GetPropInfo(Ds, "ControlType"), nullptr);
}

// The write-off job's totals: a recount after every post with controls disabled, walking
// the rows and returning to where it was; ticking all rows posts each one by moving on.
TEST_F(DataSetTest, RecountAfterEveryPostWhileTickingAllRows) {
    double total = 0;
    int recounts = 0;
    TDataSetHook afterPost;
    afterPost.Fn = [&](db::TDataSet* ds) {
        ++recounts;
        total = 0;
        ds->DisableControls();
        const db::TBookmark here = ds->GetBookmark();
        for (ds->First(); !ds->Eof(); ds->Next())
            if (ds->FieldByName("checked")->AsString() == "Y")
                total += ds->FieldByName("TA0293031")->AsFloat();
        ds->GotoBookmark(here);
        ds->EnableControls();
    };
    Ds->AfterPost = afterPost.Event();
    Fill(4); // 10 + 20 + 30 + 40
    EXPECT_EQ(recounts, 4);
    EXPECT_DOUBLE_EQ(total, 100);
    EXPECT_EQ(Ds->RecNo(), 4);

    db::TDataSource source(nullptr);
    source.SetDataSet(Ds);
    TRecordingLink link;
    link.SetDataSource(&source);
    link.Log.clear();
    int changes = 0;
    TFieldHook onChange;
    onChange.Fn = [&](db::TField*) { ++changes; };
    F("checked")->OnChange = onChange.Event();
    recounts = 0;
    Ds->DisableControls();
    for (Ds->First(); !Ds->Eof(); Ds->Next()) {
        Ds->Edit();
        F("checked")->SetAsString("N");
    }
    Ds->EnableControls();
    EXPECT_EQ(Ds->State(), TDataSetState::dsBrowse); // the last row was posted at Eof too
    EXPECT_EQ(recounts, 4);
    EXPECT_EQ(changes, 4); // field events still run with controls disabled
    EXPECT_DOUBLE_EQ(total, 0);
    EXPECT_EQ(link.Joined(), "changed"); // one notice when the controls come back
}

} // namespace

namespace {

TEST_F(DataSetTest, DatesMemosAndTypedTextHandlers) {
    auto* cds = vcl::Create<db::TClientDataSet>(Owner.C);
    cds->SetName("cdsMisc");
    cds->FieldDefs().Add("DAY", TFieldType::ftDate);
    cds->FieldDefs().Add("AT", TFieldType::ftDateTime);
    cds->FieldDefs().Add("NOTE", TFieldType::ftMemo);
    cds->CreateDataSet();
    cds->Append();
    db::TField* day = cds->FieldByName("DAY");
    day->SetText("2026/12/11");
    EXPECT_DOUBLE_EQ(day->AsDateTime(), rtl::EncodeDate(2026, 12, 11));
    EXPECT_EQ(day->AsString(), "2026/12/11");
    static_cast<db::TDateTimeField*>(day)->SetDisplayFormat("yyyymmdd");
    EXPECT_EQ(day->DisplayText(), "20261211");
    EXPECT_EQ(day->AsVariant().BaseType(), ole::varDate);
    cds->FieldByName("AT")->SetText("2026-02-03 14:05");
    EXPECT_NEAR(cds->FieldByName("AT")->AsDateTime(),
                rtl::EncodeDate(2026, 2, 3) + (14 * 60 + 5) / 1440.0, 1e-9);
    EXPECT_EQ(ErrorOf([&] { day->SetText("2026/02/30"); }),
              "cdsMisc: '2026/02/30' is not a valid date and time value for field 'DAY'");

    db::TField* note = cds->FieldByName("NOTE");
    EXPECT_EQ(note->DisplayText(), "(memo)");
    note->SetAsString("long text");
    EXPECT_EQ(note->DisplayText(), "(MEMO)");
    EXPECT_EQ(note->Text(), "long text");

    dbtest::THook<db::TField*, const std::string&> setText;
    setText.Fn = [](db::TField* f, const std::string& text) { f->SetAsString("[" + text + "]"); };
    note->OnSetText = setText.Event();
    note->SetText("typed");
    EXPECT_EQ(note->AsString(), "[typed]");
}

TEST_F(DataSetTest, ActiveFromAResourceOpensWhenLoadingEnds) {
    auto* cds = vcl::Create<db::TClientDataSet>(Owner.C);
    cds->FieldDefs().Add("A", TFieldType::ftString, 5);
    cds->BeginLoading();
    rtl::SetOrdProp(cds, "Active", 1);
    EXPECT_FALSE(cds->Active());
    cds->EndLoading();
    EXPECT_TRUE(cds->Active());
    EXPECT_TRUE(cds->IsEmpty());
}

} // namespace

namespace {

TEST_F(DataSetTest, GridRowsShowTheRecordBeingInsertedInItsPlace) {
    Fill(3);
    Ds->SetRecNo(2);
    Ds->Insert();
    F("TA002")->SetAsString("new");
    EXPECT_EQ(Ds->RecordCount(), 3);
    ASSERT_EQ(Ds->DisplayRecordCount(), 4);
    EXPECT_EQ(Ds->RecNo(), 2);
    std::string rows;
    for (int i = 0; i < Ds->DisplayRecordCount(); ++i)
        rows += F("TA002")->TextOf(i) + " ";
    EXPECT_EQ(rows, "1 new 2 3 ");
    Ds->Cancel();
    EXPECT_EQ(Ds->DisplayRecordCount(), 3);
    EXPECT_EQ(F("TA002")->TextOf(1), "2");
    Ds->Edit();
    F("TA002")->SetAsString("edited");
    EXPECT_EQ(F("TA002")->TextOf(1), "edited");
    EXPECT_EQ(F("TA002")->TextOf(2), "3");
    Ds->Cancel();
}

} // namespace
