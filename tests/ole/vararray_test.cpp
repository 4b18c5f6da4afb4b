#include "platform/ole/Variant.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

using namespace ole;

namespace {

// Fills a 2-D array with row * 100 + column, so a misplaced element shows its true address.
void FillGrid(Variant& a) {
    for (int i = VarArrayLowBound(a, 1); i <= VarArrayHighBound(a, 1); ++i)
        for (int j = VarArrayLowBound(a, 2); j <= VarArrayHighBound(a, 2); ++j)
            a.At({i, j}) = i * 100 + j;
}

void ExpectGrid(const Variant& a) {
    for (int i = VarArrayLowBound(a, 1); i <= VarArrayHighBound(a, 1); ++i)
        for (int j = VarArrayLowBound(a, 2); j <= VarArrayHighBound(a, 2); ++j)
            EXPECT_EQ(a.At({i, j}).AsInteger(), i * 100 + j) << i << "," << j;
}

} // namespace

TEST(VarArray, BoundsOfTheShapesInUse) {
    const int n = 3;
    struct Case {
        const char* Label;
        std::vector<int> Bounds;
    } cases[] = {
        {"0-based list", {0, 3}},
        {"environment 1..12", {1, 12}},
        {"server list 2 x n", {0, 1, 0, n - 1}},
        {"settings 4 x 8", {0, 3, 0, 7}},
        {"negative low bound", {-2, 2}},
        {"empty", {0, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        Variant a = VarArrayCreate(c.Bounds);
        ASSERT_TRUE(VarIsArray(a));
        int dims = static_cast<int>(c.Bounds.size() / 2);
        ASSERT_EQ(VarArrayDimCount(a), dims);
        for (int d = 1; d <= dims; ++d) {
            EXPECT_EQ(VarArrayLowBound(a, d), c.Bounds[2 * d - 2]);
            EXPECT_EQ(VarArrayHighBound(a, d), c.Bounds[2 * d - 1]);
            EXPECT_EQ(VarArrayLength(a, d), c.Bounds[2 * d - 1] - c.Bounds[2 * d - 2] + 1);
        }
        EXPECT_THROW(VarArrayLowBound(a, dims + 1), rtl::EVariantBadIndexError);
        EXPECT_THROW(VarArrayHighBound(a, 0), rtl::EVariantBadIndexError);
    }
    Variant list = VarArrayOf({"a", 2, 3.5});
    EXPECT_EQ(VarArrayLowBound(list, 1), 0);
    EXPECT_EQ(VarArrayHighBound(list, 1), 2);
    EXPECT_EQ(VarArrayHighBound(VarArrayOf({}), 1), -1);
    EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
    EXPECT_THROW(VarArrayLowBound(Variant(1), 1), rtl::EVariantError);
}

TEST(VarArray, ElementsAreAddressedByEveryIndex) {
    Variant servers = VarArrayCreate({0, 1, 0, 4});
    FillGrid(servers);
    ExpectGrid(servers);
    Variant env = VarArrayCreate({1, 12});
    for (int i = 1; i <= 12; ++i)
        env[i] = "item" + std::to_string(i);
    EXPECT_EQ(env[1].AsString(), "item1");
    EXPECT_EQ(env[12].AsString(), "item12");

    struct Bad {
        const char* Label;
        std::vector<int> Index;
    } bad[] = {
        {"below low", {-1, 0}},   {"above high row", {2, 0}},      {"above high column", {0, 5}},
        {"too few indices", {0}}, {"too many indices", {0, 0, 0}},
    };
    for (const auto& b : bad)
        EXPECT_THROW(servers.At(b.Index.data(), static_cast<int>(b.Index.size())),
                     rtl::EVariantBadIndexError)
            << b.Label;
    EXPECT_THROW(env[0], rtl::EVariantBadIndexError);
    EXPECT_THROW(env[13], rtl::EVariantBadIndexError);
    try {
        env[13];
    } catch (const rtl::EVariantBadIndexError& e) {
        EXPECT_NE(std::string(e.what()).find("13"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("1..12"), std::string::npos) << e.what();
    }
    Variant text("abc");
    EXPECT_THROW(text[0], rtl::EVariantError);
}

TEST(VarArray, TypedElementsStartAsTheirZero) {
    struct Case {
        uint16_t Type;
        uint16_t ElementKind;
    } cases[] = {{varInteger, varInteger}, {varOleStr, varOleStr},    {varBoolean, varBoolean},
                 {varDouble, varDouble},   {varVariant, varEmpty},    {varString, varString},
                 {varInt64, varInt64},     {varCurrency, varCurrency}};
    for (const auto& c : cases) {
        Variant a = VarArrayCreate({0, 1}, c.Type);
        EXPECT_EQ(a.VarType(), varArray | c.Type) << VarTypeAsText(c.Type);
        EXPECT_EQ(a[1].VarType(), c.ElementKind) << VarTypeAsText(c.Type);
    }
    EXPECT_EQ(VarArrayCreate({0, 0}, varOleStr)[0].AsString(), "");
}

TEST(VarArray, CreateRefusesBadShapes) {
    struct Case {
        const char* Label;
        std::vector<int> Bounds;
        uint16_t Type;
    } cases[] = {
        {"no bounds", {}, varVariant},
        {"odd count", {0, 1, 2}, varVariant},
        {"high below low - 1", {5, 3}, varVariant},
        {"too large", {0, 100000, 0, 100000}, varVariant},
        {"int overflow in length", {INT32_MIN, INT32_MAX}, varVariant},
        {"null elements", {0, 1}, varNull},
        {"flagged element type", {0, 1}, varArray | varVariant},
    };
    for (const auto& c : cases)
        EXPECT_THROW(VarArrayCreate(c.Bounds, c.Type), rtl::EVariantArrayCreateError) << c.Label;
}

TEST(VarArray, RedimChangesTheLastDimensionAndKeepsElements) {
    Variant a = VarArrayOf({1, 2, 3});
    VarArrayRedim(a, 4);
    EXPECT_EQ(VarArrayHighBound(a, 1), 4);
    EXPECT_EQ(a[2].AsInteger(), 3);
    EXPECT_TRUE(VarIsEmpty(a[4]));
    VarArrayRedim(a, 0);
    EXPECT_EQ(VarArrayLength(a), 1);
    EXPECT_EQ(a[0].AsInteger(), 1);
    VarArrayRedim(a, -1);
    EXPECT_EQ(VarArrayLength(a), 0);
    EXPECT_THROW(VarArrayRedim(a, -2), rtl::EVariantArrayCreateError);

    // 2 x n grows by columns without moving a single element.
    Variant grid = VarArrayCreate({0, 1, 1, 3});
    FillGrid(grid);
    VarArrayRedim(grid, 6);
    EXPECT_EQ(VarArrayHighBound(grid, 2), 6);
    EXPECT_EQ(grid.At({1, 3}).AsInteger(), 103);
    EXPECT_TRUE(VarIsEmpty(grid.At({1, 6})));
    VarArrayRedim(grid, 2);
    ExpectGrid(grid);

    Variant typed = VarArrayCreate({1, 1}, varInteger);
    VarArrayRedim(typed, 3);
    EXPECT_EQ(typed[3].VarType(), varInteger);

    Variant scalar(5);
    EXPECT_THROW(VarArrayRedim(scalar, 3), rtl::EVariantError);
}

TEST(VarArray, CopiesAreIndependentValues) {
    Variant a = VarArrayOf({1, 2});
    Variant b = a;
    b[0] = "changed";
    EXPECT_EQ(a[0].AsInteger(), 1);
    EXPECT_EQ(b[0].AsString(), "changed");
    VarArrayRedim(b, 5);
    EXPECT_EQ(VarArrayHighBound(a, 1), 1);

    // Condition data: an array of arrays; a copy's inner array is its own too.
    Variant cond = VarArrayOf({VarArrayOf({"env1", "env2"}), VarArrayOf({})});
    Variant sent = cond;
    sent[0][1] = "recoded";
    EXPECT_EQ(cond[0][1].AsString(), "env2");
    EXPECT_EQ(sent[0][1].AsString(), "recoded");
    EXPECT_EQ(sent[0][0].AsString(), "env1");
    EXPECT_TRUE(VarIsArray(sent[1]));

    // Reading through a const copy never detaches or alters the original.
    const Variant view = cond;
    EXPECT_EQ(view[0][0].AsString(), "env1");

    // Replacing an array by one of its own elements.
    cond = cond[0];
    EXPECT_EQ(VarArrayHighBound(cond, 1), 1);
    EXPECT_EQ(cond[1].AsString(), "env2");
    Variant moved = VarArrayOf({VarArrayOf({7})});
    moved = std::move(moved[0]);
    EXPECT_EQ(moved[0].AsInteger(), 7);
}
