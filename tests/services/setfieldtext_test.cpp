#include "services/LibStrs.h"

#include "platform/db/DBClient.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct SetFieldTextTest : ::testing::Test {
    vcl::TComponent* Owner = new vcl::TComponent(nullptr);
    db::TClientDataSet* Ds = vcl::Create<db::TClientDataSet>(Owner);
    SetFieldTextTest() {
        Ds->SetName("cds01");
        Ds->FieldDefs().Add("TA001", db::TFieldType::ftString, 10);
        Ds->FieldDefs().Add("NOTE", db::TFieldType::ftMemo);
        Ds->FieldDefs().Add("RATE", db::TFieldType::ftFloat);
        Ds->FieldDefs().Add("CNT", db::TFieldType::ftInteger);
        Ds->CreateDataSet();
        for (int i = 0; i < Ds->FieldCount(); ++i)
            Ds->Fields(i)->SetReadOnly(true);
        Ds->Append();
    }
    ~SetFieldTextTest() override { Owner->Free(); }
    db::TField* F(const char* name) { return Ds->FieldByName(name); }
};

TEST_F(SetFieldTextTest, WritesReadOnlyFieldsAndRestoresTheFlag) {
    EXPECT_TRUE(SetFieldText(F("TA001"), "61", false));
    EXPECT_EQ(F("TA001")->AsString(), "61");
    EXPECT_TRUE(F("TA001")->ReadOnly());
    F("TA001")->SetReadOnly(false);
    EXPECT_TRUE(SetFieldText(F("TA001"), "6A", true));
    EXPECT_FALSE(F("TA001")->ReadOnly());
    EXPECT_FALSE(SetFieldText(nullptr, "x", false));
}

TEST_F(SetFieldTextTest, NumbersAsTypedAndTheirErrors) {
    static_cast<db::TFloatField*>(F("RATE"))->SetDisplayFormat("#.0000000");
    EXPECT_TRUE(SetFieldText(F("RATE"), "1,234.5", true));
    EXPECT_DOUBLE_EQ(F("RATE")->AsFloat(), 1234.5);
    EXPECT_TRUE(SetFieldText(F("CNT"), "42", false));
    EXPECT_EQ(F("CNT")->AsInteger(), 42);
    EXPECT_TRUE(SetFieldText(F("RATE"), "", true));
    EXPECT_TRUE(F("RATE")->IsNull());
    EXPECT_THROW(SetFieldText(F("RATE"), "abc", true), db::EDatabaseError);
    EXPECT_TRUE(F("RATE")->ReadOnly()); // restored after the error too
    EXPECT_THROW(SetFieldText(F("CNT"), "1,2,3", true), db::EDatabaseError);
}

TEST_F(SetFieldTextTest, NeverSplitsADoubleByteCharacter) {
    struct {
        const char* Acp;
        const char* Straddling; // nine letters and a two-byte character
        const char* Six;        // six two-byte characters
        const char* Five;
    } cases[] = {{"936", "abcdefghi坏", "坏账原因金额", "坏账原因金"},
                 {"950", "abcdefghi壞", "壞賬原因金額", "壞賬原因金"}};
    for (const auto& c : cases) {
        testing_support::EnvGuard env("ORVANE_ACP", c.Acp);
        // The tenth byte starts the character: the first nine bytes are stored.
        SetFieldText(F("TA001"), c.Straddling, false);
        EXPECT_EQ(F("TA001")->AsString(), "abcdefghi") << c.Acp;
        SetFieldText(F("TA001"), c.Six, false);
        EXPECT_EQ(F("TA001")->AsString(), c.Five) << c.Acp;
        SetFieldText(F("TA001"), "abcdefghijkl", false); // single bytes: cut at the size
        EXPECT_EQ(F("TA001")->AsString(), "abcdefghij") << c.Acp;
    }
    const std::string longText(300, 'x');
    SetFieldText(F("NOTE"), longText, false); // memos are not cut
    EXPECT_EQ(F("NOTE")->AsString(), longText);
}

} // namespace
