#include "services/TranslatorU.h"

#include "tests/support/TestSupport.h"

#include "platform/win/DynLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

using testing_support::EnvGuard;

namespace {

struct TranslatorFixture : ::testing::Test {
    EnvGuard LibPath{"ORVANE_LIBRARY_PATH", KTLANGUAGE_DIR};
    vcl::TComponent Owner{nullptr};
};

TEST_F(TranslatorFixture, ConvertsTheSuitesWordsBothWays) {
    TTranslator* t = vcl::Create<TTranslator>(&Owner);
    EXPECT_EQ(t->Owner(), &Owner);
    const struct {
        const char* Simplified;
        const char* Traditional;
    } words[] = {
        {"客户", "客戶"},
        {"部门", "部門"},
        {"业务员", "業務員"},
        {"币别", "幣別"},
        {"坏账", "壞賬"},
        {"冲销", "沖銷"},
        {"应收", "應收"},
        {"日期", "日期"},
        {"金额", "金額"},
        {"确定", "確定"},
        {"取消", "取消"},
        {"查询", "查詢"},
        {"说明", "說明"},
        {"后台处理", "後臺處理"},
        {"直接处理", "直接處理"},
        {"下一步", "下一步"},
        {"核销", "核銷"},
        {"审核", "審核"},
        {"处理完毕! ", "處理完畢! "},
        {"为", "為"},
        {"着", "著"},
        {"被通知人 OK 123", "被通知人 OK 123"},
    };
    for (const auto& w : words) {
        EXPECT_EQ(t->GBtoBIG5(w.Simplified), w.Traditional) << w.Simplified;
        EXPECT_EQ(t->BIG5toGB(w.Traditional), w.Simplified) << w.Traditional;
    }
    EXPECT_EQ(t->GBtoBIG5(""), "");
    EXPECT_EQ(t->BIG5toGB(""), "");
    // Zero bytes and long texts pass whole.
    const std::string withZero("客户\0部门", 13);
    EXPECT_EQ(t->GBtoBIG5(withZero), std::string("客戶\0部門", 13));
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += "应收账款冲销说明;";
    EXPECT_EQ(t->BIG5toGB(t->GBtoBIG5(many)), many);
}

TEST_F(TranslatorFixture, ARefusedTextRaisesWithTheEntryAndTheText) {
    TTranslator* t = vcl::Create<TTranslator>(&Owner);
    try {
        t->GBtoBIG5("abc\xFF");
        FAIL() << "no error";
    } catch (const rtl::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("GBtoBIG5: the text is not UTF-8"), std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos);
    }
}

TEST_F(TranslatorFixture, TheLibrarysBufferContract) {
    win::HMODULE lib = win::LoadLibrary("Ktlanguage");
    ASSERT_TRUE(lib);
    auto toBig5 = reinterpret_cast<TKtConvertProc>(win::GetProcAddress(lib, "GBtoBIG5"));
    ASSERT_TRUE(toBig5);
    const std::string in = "客户说明"; // 12 bytes, and 12 converted
    char small[12];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(toBig5(in.data(), in.size(), small, sizeof small), 12);
    EXPECT_EQ(small[0], '\0'); // nothing written but an empty text
    char exact[13];
    EXPECT_EQ(toBig5(in.data(), in.size(), exact, sizeof exact), 12);
    EXPECT_STREQ(exact, "客戶說明");
    EXPECT_EQ(toBig5(in.data(), in.size(), nullptr, 0), 12);
    EXPECT_EQ(toBig5("\xC0\x80", 2, exact, sizeof exact), -1);
    win::FreeLibrary(lib);
}

TEST_F(TranslatorFixture, ConversionsFromSeveralThreadsAgree) {
    TTranslator* t = vcl::Create<TTranslator>(&Owner);
    const std::string text = "客户部门业务员币别坏账冲销应收日期金额确定取消查询说明";
    const std::string expected = t->GBtoBIG5(text);
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int k = 0; k < 4; ++k)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i)
                if (t->GBtoBIG5(text) != expected || t->BIG5toGB(expected) != text) ++wrong;
        });
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(wrong, 0);
}

std::string CreationError(vcl::TComponent* owner) {
    try {
        vcl::Create<TTranslator>(owner);
    } catch (const rtl::Exception& e) {
        return e.what();
    }
    return "created";
}

TEST_F(TranslatorFixture, LoadErrorsAbortTheCreation) {
    testing_support::TempDir empty;
    {
        EnvGuard nowhere("ORVANE_LIBRARY_PATH", empty.Path());
        EXPECT_EQ(CreationError(&Owner), "Load Library Ktlanguage.so Error!");
    }
    {
        EnvGuard half("ORVANE_LIBRARY_PATH", KTLANGUAGE_HALF_DIR);
        EXPECT_EQ(CreationError(&Owner), "Get Library Procedure Address Error!");
    }
    EXPECT_EQ(Owner.ComponentCount(), 0);
    EXPECT_EQ(TTranslator::LibraryFile(), "Ktlanguage.so");
}

// An owner that creates its translator in its constructor, as the code-page converter does:
// the error leaves the owner's constructor, so the owner (and a form built around it) is not
// created.
class TTranslatingPart : public vcl::TComponent {
public:
    explicit TTranslatingPart(vcl::TComponent* owner)
        : vcl::TComponent(owner), Translator(vcl::Create<TTranslator>(this)) {}
    TTranslator* Translator;
};

TEST_F(TranslatorFixture, AnOwnerThatCreatesItsTranslatorFailsWithIt) {
    testing_support::TempDir empty;
    EnvGuard nowhere("ORVANE_LIBRARY_PATH", empty.Path());
    EXPECT_THROW(new TTranslatingPart(&Owner), rtl::Exception);
    EXPECT_EQ(Owner.ComponentCount(), 0);
}

} // namespace
