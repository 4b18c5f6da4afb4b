#include "services/CompProps.h"

#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

namespace {
struct Sink : rtl::TObject {
    int Clicks = 0;
    void Click(rtl::TObject*) { ++Clicks; }
};
} // namespace

TEST(CompProps, ByNameAndSilentWhenMissing) {
    vcl::TEdit* ed = vcl::Create<vcl::TEdit>(nullptr);
    EXPECT_TRUE(HasProperty(ed, "MaxLength"));
    EXPECT_FALSE(HasProperty(ed, "Checked"));
    EXPECT_FALSE(HasProperty(nullptr, "Text"));
    EXPECT_FALSE(HasProperty(ed, ""));

    SetStrProperty(ed, "Text", "客户");
    EXPECT_EQ(GetStrProperty(ed, "text"), "客户");
    SetOrdProperty(ed, "MaxLength", 12);
    EXPECT_EQ(GetOrdProperty(ed, "MaxLength"), 12);
    EXPECT_EQ(GetOrdProperty(ed, "Visible"), 1);

    // Missing components, names and properties, and properties of another kind: nothing.
    SetStrProperty(ed, "Checked", "x");
    SetStrProperty(nullptr, "Text", "x");
    SetOrdProperty(ed, "Text", 5);
    EXPECT_EQ(GetStrProperty(ed, "MaxLength"), "");
    EXPECT_EQ(GetOrdProperty(ed, "Nothing"), 0);
    EXPECT_EQ(GetStrProperty(ed, "Text"), "客户");

    Sink sink;
    rtl::TMethod m = rtl::MethodOf<&Sink::Click>(&sink).M;
    SetMethodProperty(ed, "OnChange", m);
    EXPECT_TRUE(GetMethodProperty(ed, "OnChange") == m);
    ed->SetText("变更");
    EXPECT_EQ(sink.Clicks, 1);
    EXPECT_FALSE(GetMethodProperty(ed, "OnNothing").Assigned());
    SetMethodProperty(ed, "OnNothing", m);
    ed->Free();
}
