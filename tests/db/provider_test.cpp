#include "DbTest.h"

#include <gtest/gtest.h>

namespace {

// An application server with one provider of n rows [CODE, NAME, AMT, DAY].
class TFakeServer : public db::IAppServerProvider {
public:
    int Rows = 0;
    int Next = 0;
    std::vector<int> Asked;
    ole::Variant AS_GetRecords(const std::string& provider, int count, int& recsOut,
                               bool reset) override {
        if (provider != "pvdConSave") throw rtl::Exception("no provider " + provider);
        Asked.push_back(count);
        if (reset) Next = 0;
        std::vector<ole::Variant> rows;
        while (Next < Rows && (count < 0 || int(rows.size()) < count)) {
            const int i = ++Next;
            rows.push_back(ole::VarArrayOf({"S" + std::to_string(i),
                                            i % 2 ? ole::Variant::Null() : ole::Variant("name"),
                                            i * 1.5, ole::Variant::FromDate(45000 + i)}));
        }
        recsOut = int(rows.size());
        return ole::VarArrayOf(
            {ole::VarArrayOf(
                 {ole::VarArrayOf({"CODE", "String", 10}), ole::VarArrayOf({"NAME", "String", 20}),
                  ole::VarArrayOf({"AMT", "Float", 0}), ole::VarArrayOf({"DAY", "Date", 0})}),
             ole::VarArrayOf(rows)});
    }
};

struct TRemote : db::TCustomRemoteServer {
    using db::TCustomRemoteServer::TCustomRemoteServer;
    db::IAppServerProvider* Server = nullptr;
    db::IAppServerProvider* GetAppServerProvider() override { return Server; }
};

struct ProviderTest : ::testing::Test {
    dbtest::TOwner Owner;
    std::shared_ptr<TFakeServer> Server = std::make_shared<TFakeServer>();
    db::TClientDataSet* Cds = vcl::Create<db::TClientDataSet>(Owner.C);
    ProviderTest() {
        Cds->SetName("ClientDataSet1");
        Cds->SetProviderName("pvdConSave");
    }
};

TEST_F(ProviderTest, OpenTakesFieldsAndRowsFromThePacket) {
    Server->Rows = 3;
    Cds->SetAppServer(Server);
    Cds->Open();
    ASSERT_EQ(Cds->FieldCount(), 4);
    EXPECT_EQ(Cds->Fields(3)->DataType(), db::TFieldType::ftDate);
    EXPECT_EQ(Cds->RecordCount(), 3);
    EXPECT_EQ(Cds->FieldByName("CODE")->AsString(), "S1");
    EXPECT_TRUE(Cds->FieldByName("NAME")->IsNull());
    Cds->Last();
    EXPECT_DOUBLE_EQ(Cds->FieldByName("AMT")->AsFloat(), 4.5);
    EXPECT_DOUBLE_EQ(Cds->FieldByName("DAY")->AsDateTime(), 45003);
    // Closing and opening again reads the provider afresh.
    Server->Rows = 5;
    Cds->Close();
    Cds->Open();
    EXPECT_EQ(Cds->RecordCount(), 5);
}

TEST_F(ProviderTest, PacketsFetchedOnDemand) {
    Server->Rows = 7;
    Cds->SetAppServer(Server);
    Cds->SetPacketRecords(3);
    Cds->Open();
    EXPECT_EQ(Cds->RecordCount(), 3);
    Cds->MoveBy(4); // reaching the end fetches the next packet
    EXPECT_EQ(Cds->RecordCount(), 6);
    EXPECT_EQ(Cds->FieldByName("CODE")->AsString(), "S5");
    Cds->Last();
    EXPECT_EQ(Cds->RecordCount(), 7);
    EXPECT_EQ(Cds->GetNextPacket(), 0);
    EXPECT_EQ(Server->Asked, (std::vector<int>{3, 3, 3}));

    Cds->Close();
    Cds->SetFetchOnDemand(false);
    Cds->Open();
    Cds->Last();
    EXPECT_EQ(Cds->RecordCount(), 3);
    EXPECT_EQ(Cds->GetNextPacket(), 3);
}

TEST_F(ProviderTest, PersistentFieldsAndAnIndexOverThePacket) {
    Server->Rows = 4;
    auto* code = vcl::Create<db::TStringField>(Owner.C);
    code->SetFieldName("CODE");
    code->SetSize(2); // the packet's texts are cut to the field
    code->SetDataSet(Cds);
    auto* amt = vcl::Create<db::TFloatField>(Owner.C);
    amt->SetFieldName("AMT");
    amt->SetDataSet(Cds);
    Cds->SetIndexFieldNames("AMT");
    TRemote remote(nullptr);
    remote.Server = Server.get();
    Cds->SetRemoteServer(&remote);
    Cds->Open();
    EXPECT_EQ(Cds->FieldCount(), 2);
    EXPECT_EQ(code->AsString(), "S1");
    Cds->Close();

    Cds->SetIndexFieldNames("");
    auto* missing = vcl::Create<db::TStringField>(Owner.C);
    missing->SetFieldName("CREATOR");
    missing->SetDataSet(Cds);
    try {
        Cds->Open();
        FAIL() << "opened without CREATOR";
    } catch (const db::EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "ClientDataSet1: Field 'CREATOR' not found");
    }
    EXPECT_FALSE(Cds->Active());
}

TEST_F(ProviderTest, FailuresLeaveTheDataSetClosed) {
    try {
        Cds->Open();
        FAIL();
    } catch (const db::EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "ClientDataSet1: No application server for provider 'pvdConSave'");
    }
    {
        TRemote remote(nullptr);
        Cds->SetRemoteServer(&remote);
    } // freed: the dataset forgets it
    EXPECT_EQ(Cds->RemoteServer(), nullptr);

    struct TBadServer : db::IAppServerProvider {
        ole::Variant AS_GetRecords(const std::string&, int, int&, bool) override {
            return ole::Variant("not a packet");
        }
    };
    Cds->SetAppServer(std::make_shared<TBadServer>());
    EXPECT_THROW(Cds->Open(), db::EDatabaseError);
    EXPECT_FALSE(Cds->Active());
    EXPECT_EQ(Cds->FieldCount(), 0);
}

// The adapter over a late-bound application server object.
class TServerObject : public ole::TAutoObject {
public:
    TFakeServer Inner;
    TServerObject() {
        Method("AS_GetRecords", 4, [this](Args& a) {
            int recs = 0;
            ole::Variant r =
                Inner.AS_GetRecords(ole::ArgValue(a, 0).AsString(), ole::ArgValue(a, 1).AsInteger(),
                                    recs, ole::ArgValue(a, 3).AsBoolean());
            ole::SetOutArg(a, 2, recs);
            return r;
        });
    }
};

TEST_F(ProviderTest, DispatchAdapterCallsTheServerByName) {
    auto object = std::make_shared<TServerObject>();
    object->Inner.Rows = 2;
    Cds->SetAppServer(db::DispatchAppServer(object));
    Cds->SetPacketRecords(2);
    Cds->Open();
    EXPECT_EQ(Cds->RecordCount(), 2);
    EXPECT_EQ(Cds->GetNextPacket(), 0); // two asked, two came: the server may have more
    EXPECT_EQ(object->Inner.Asked.size(), 2u);
}

} // namespace
