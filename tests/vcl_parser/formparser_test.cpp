#include "platform/vcl/FormParser.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace vcl;

namespace {

// A derived form as the IDE writes it: inherited blocks with child positions, events, nested
// panels, strings with codes and continuations, Chinese text both ways, sets, lists, a collection
// and an image list's binary data.
const char* const kForm = R"(inherited frmWriteOff: TfrmWriteOff
  Left = 192
  Top = -8
  Caption = #22351#36134#20914#38144
  Color = clBtnFace
  Font.Name = '宋体'
  Font.Style = [fsBold, fsItalic]
  Position = poScreenCenter
  OnCreate = FormCreate
  Scaled = False
  PixelsPerInch = 96
  Ratio = -2.5E-3
  Mask = $FF
  Hint = 'first line'#13#10'it''s the ' +
    'second' +
    #$4E2D'文'#55357#56832
  inherited pnlTop: TPanel [2]
    Align = alTop
    ActivePage = Form1.tsMain
    object lblTitle: TLabel
      Caption = '本期核销'
    end
  end
  object cboKind: TComboBox
    Items.Strings = ('甲' '乙'
      'third')
    Tags = (
      1
      -2
      $10)
    Anchors = []
  end
  object TImageList
    Bitmap = {
      494C0101
      0A0B}
  end
  inline fraCond: TfraCondition [0]
    object grdList: TDBGrid
      Columns = <
        item
          Expanded = False
          FieldName = 'CUST_NO'
          Title.Caption = '客户'
        end
        item [3]
          Width = 64
        end>
      Empty = <>
    end
  end
end
)";

const TFormValue& Prop(const TFormNode& node, const char* name) {
    const TFormProperty* p = node.FindProperty(name);
    if (!p) throw std::runtime_error(std::string("no property ") + name);
    return p->Value;
}

TEST(FormParser, ReadsARealisticForm) {
    TFormNode root = ParseFormText(kForm, "WriteOff.dfm");
    EXPECT_EQ(root.Kind, TFormNodeKind::Inherited);
    EXPECT_EQ(root.Name, "frmWriteOff");
    EXPECT_EQ(root.ClassName, "TfrmWriteOff");
    EXPECT_EQ(root.Index, -1);
    EXPECT_EQ(root.Properties.size(), 13u);
    ASSERT_EQ(root.Children.size(), 4u);

    EXPECT_EQ(Prop(root, "Left").Integer, 192);
    EXPECT_EQ(Prop(root, "top").Integer, -8);
    EXPECT_EQ(Prop(root, "Caption").Text, "坏账冲销");
    EXPECT_EQ(Prop(root, "Color").Kind, TFormValueKind::Identifier);
    EXPECT_EQ(Prop(root, "Color").Text, "clBtnFace");
    EXPECT_EQ(Prop(root, "Font.Name").Text, "宋体");
    const TFormValue& style = Prop(root, "Font.Style");
    ASSERT_EQ(style.Kind, TFormValueKind::Set);
    ASSERT_EQ(style.Items.size(), 2u);
    EXPECT_EQ(style.Items[1].Text, "fsItalic");
    EXPECT_EQ(style.Items[1].Column, 25);
    EXPECT_EQ(Prop(root, "OnCreate").Text, "FormCreate");
    EXPECT_EQ(Prop(root, "Ratio").Kind, TFormValueKind::Float);
    EXPECT_DOUBLE_EQ(Prop(root, "Ratio").Float, -2.5e-3);
    EXPECT_EQ(Prop(root, "Mask").Integer, 255);
    EXPECT_EQ(Prop(root, "Hint").Text, "first line\r\nit's the second中文\xF0\x9F\x98\x80");
    EXPECT_EQ(root.Properties.back().Name, "Hint");
    EXPECT_EQ(root.Properties.back().Line, 14);
    EXPECT_EQ(root.Properties.back().Column, 3);
    EXPECT_EQ(root.Properties.back().Value.Column, 10);

    const TFormNode& top = root.Children[0];
    EXPECT_EQ(top.Kind, TFormNodeKind::Inherited);
    EXPECT_EQ(top.ClassName, "TPanel");
    EXPECT_EQ(top.Index, 2);
    EXPECT_EQ(top.Line, 17);
    EXPECT_EQ(top.Column, 3);
    EXPECT_EQ(Prop(top, "ActivePage").Text, "Form1.tsMain");
    ASSERT_EQ(top.Children.size(), 1u);
    EXPECT_EQ(Prop(top.Children[0], "Caption").Text, "本期核销");

    const TFormNode& cbo = *root.FindChild("CBOKIND");
    const TFormValue& items = Prop(cbo, "Items.Strings");
    ASSERT_EQ(items.Kind, TFormValueKind::List);
    ASSERT_EQ(items.Items.size(), 3u);
    EXPECT_EQ(items.Items[1].Text, "乙");
    // Columns count characters: "    Items.Strings = ('甲' '乙'" puts the second item at 26.
    EXPECT_EQ(items.Items[1].Line, 25);
    EXPECT_EQ(items.Items[1].Column, 26);
    EXPECT_EQ(items.Items[2].Line, 26);
    const TFormValue& tags = Prop(cbo, "Tags");
    ASSERT_EQ(tags.Items.size(), 3u);
    EXPECT_EQ(tags.Items[1].Integer, -2);
    EXPECT_EQ(tags.Items[2].Integer, 16);
    EXPECT_EQ(Prop(cbo, "Anchors").Kind, TFormValueKind::Set);
    EXPECT_TRUE(Prop(cbo, "Anchors").Items.empty());

    const TFormNode& images = root.Children[2];
    EXPECT_EQ(images.Name, "");
    EXPECT_EQ(images.ClassName, "TImageList");
    EXPECT_EQ(Prop(images, "Bitmap").Bytes,
              (std::vector<std::uint8_t>{0x49, 0x4C, 0x01, 0x01, 0x0A, 0x0B}));

    const TFormNode& frame = root.Children[3];
    EXPECT_EQ(frame.Kind, TFormNodeKind::Inline);
    EXPECT_EQ(frame.Index, 0);
    const TFormNode& grid = frame.Children.at(0);
    const TFormValue& columns = Prop(grid, "Columns");
    ASSERT_EQ(columns.Kind, TFormValueKind::Collection);
    ASSERT_EQ(columns.Collection.size(), 2u);
    const TFormCollectionItem& first = columns.Collection[0];
    EXPECT_EQ(first.Index, -1);
    EXPECT_EQ(first.Line, 41);
    EXPECT_EQ(first.Column, 9);
    ASSERT_EQ(first.Properties.size(), 3u);
    EXPECT_EQ(first.Properties[2].Name, "Title.Caption");
    EXPECT_EQ(first.Properties[2].Value.Text, "客户");
    EXPECT_EQ(columns.Collection[1].Index, 3);
    EXPECT_EQ(columns.Collection[1].Properties.at(0).Value.Integer, 64);
    EXPECT_TRUE(Prop(grid, "Empty").Collection.empty());
    EXPECT_EQ(Prop(grid, "Empty").Kind, TFormValueKind::Collection);
}

TEST(FormParser, RoundTripKeepsTheContent) {
    TFormNode first = ParseFormText(kForm, "WriteOff.dfm");
    std::string text = FormTextToString(first);
    TFormNode second = ParseFormText(text, "written");
    EXPECT_TRUE(SameContent(first, second)) << text;
    EXPECT_EQ(FormTextToString(second), text);

    // Equality is on content: a changed value deep down is seen.
    second.Children[3].Children[0].Properties[0].Value.Collection[1].Properties[0].Value.Integer =
        65;
    EXPECT_FALSE(SameContent(first, second));
}

TEST(FormParser, WritesTheNormalisedForm) {
    // Keywords in any case, everything on two lines, spacing of every sort.
    const char* input = "OBJECT Form1: TForm1 "
                        "Caption='it''s'#13#10#9'x'+'中' Big=1e20 One=1.0 Big2 = $FFFFFFFFFFFFFFFF"
                        " S=[ a , 3 ] L=() E=<> B={} T=(1('x'))"
                        " C=<item [2] X=1 end ITEM end> D={000102030405060708090A0B0C0D0E0F"
                        "101112131415161718191A1B1C1D1E1F20}\nInherited b: TButton [1] End end";
    TFormNode root = ParseFormText(input, "x");
    EXPECT_EQ(FormTextToString(root),
              "object Form1: TForm1\n"
              "  Caption = 'it''s'#13#10#9'x中'\n"
              "  Big = 1E+20\n"
              "  One = 1.0\n"
              "  Big2 = -1\n"
              "  S = [a, 3]\n"
              "  L = ()\n"
              "  E = <>\n"
              "  B = {}\n"
              "  T = (\n"
              "    1\n"
              "    (\n"
              "      'x'))\n"
              "  C = <\n"
              "    item [2]\n"
              "      X = 1\n"
              "    end\n"
              "    item\n"
              "    end>\n"
              "  D = {\n"
              "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
              "    20}\n"
              "  inherited b: TButton [1]\n"
              "  end\n"
              "end\n");
}

TEST(FormParser, WriterRefusesWhatTheFormatCannotHold) {
    TFormNode root;
    root.ClassName = "TForm";
    root.Properties.push_back({"S", 0, 0, {}});
    root.Properties[0].Value.Kind = TFormValueKind::String;
    root.Properties[0].Value.Text = "\xC3";
    EXPECT_THROW(FormTextToString(root), rtl::EConvertError);
    root.Properties[0].Value.Kind = TFormValueKind::Float;
    root.Properties[0].Value.Float = std::numeric_limits<double>::infinity();
    EXPECT_THROW(FormTextToString(root), rtl::EConvertError);
}

TEST(FormParser, ScalarValues) {
    struct Case {
        const char* value;
        TFormValueKind kind;
        long long integer;
        double real;
        std::string text;
    };
    const Case cases[] = {
        {"9223372036854775807", TFormValueKind::Integer, INT64_MAX, 0, ""},
        {"-9223372036854775808", TFormValueKind::Integer, INT64_MIN, 0, ""},
        {"$7fffffff", TFormValueKind::Integer, 0x7FFFFFFF, 0, ""},
        {"$FFFFFFFFFFFFFFFF", TFormValueKind::Integer, -1, 0, ""},
        {"1e5", TFormValueKind::Float, 0, 1e5, ""},
        {"0.1", TFormValueKind::Float, 0, 0.1, ""},
        {"''", TFormValueKind::String, 0, 0, ""},
        {"#0'a'", TFormValueKind::String, 0, 0, std::string("\0a", 2)},
        {"#65#$42 + 'C'", TFormValueKind::String, 0, 0, "ABC"},
        {"''''", TFormValueKind::String, 0, 0, "'"},
        {"'\t'", TFormValueKind::String, 0, 0, "\t"},
        {"TRUE", TFormValueKind::Identifier, 0, 0, "TRUE"},
        {"A.B.C", TFormValueKind::Identifier, 0, 0, "A.B.C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::string text = std::string("object A: TA\r\n  V = ") + c.value + "\r\nend\r\n";
        TFormNode root = ParseFormText(text, "x");
        ASSERT_EQ(root.Properties.size(), 1u);
        const TFormValue& v = root.Properties[0].Value;
        EXPECT_EQ(v.Kind, c.kind);
        EXPECT_EQ(v.Line, 2);
        EXPECT_EQ(v.Column, 7);
        if (c.kind == TFormValueKind::Integer) {
            EXPECT_EQ(v.Integer, c.integer);
        } else if (c.kind == TFormValueKind::Float) {
            EXPECT_DOUBLE_EQ(v.Float, c.real);
        } else {
            EXPECT_EQ(v.Text, c.text);
        }
    }
}

TEST(FormParser, SkipsTheByteOrderMark) {
    TFormNode root = ParseFormText("\xEF\xBB\xBFobject A: TA end", "x");
    EXPECT_EQ(root.Column, 1);
    EXPECT_EQ(root.Name, "A");
}

TEST(FormParser, MalformedInputNamesThePosition) {
    struct Case {
        std::string text;
        int line;
        int column;
        const char* detail;
    };
    const std::string nul(1, '\0');
    const Case cases[] = {
        {"", 1, 1, "'object' expected but end of file found"},
        {"\xFF\xFEo\0", 1, 1, "'object' expected but byte $FF found"},
        {"form A: TA\nend", 1, 1, "'object' expected but 'form' found"},
        {"object A: TA\n  Items = (\n    'a'\nend", 4, 1, "')' expected but 'end' found"},
        {"object A: TA\n  Left = 1\n", 3, 1, "'end' expected but end of file found"},
        {"object A: TA\n  Caption 'x'\nend", 2, 11, "'=' expected but string found"},
        {"object A: TA\n  Caption = 'abc\nend", 2, 13, "unterminated string"},
        {"object A: TA\n  Caption = '中文' 5\nend", 2, 18, "'end' expected but '5' found"},
        {"object A: TA\n  Caption = end\nend", 2, 13, "value expected but 'end' found"},
        {"object A: TA\n  C = 'a' +\n  Left = 1\nend", 3, 3, "string expected but 'Left' found"},
        {"object A: TA\n  C = '" + nul + "'\nend", 2, 8, "character #0 in string"},
        {"object A: TA\n  C = 'ok\xC3('\nend", 2, 10, "invalid UTF-8 in string"},
        {"object A: TA\n  C = 'a'#\nend", 2, 10, "character code expected after '#'"},
        {"object A: TA\n  C = #1114112\nend", 2, 7, "character code out of range"},
        {"object A: TA\n  C = 'x'#55357'a'\nend", 2, 10, "unpaired surrogate"},
        {"object A: TA\n  C = #56832\nend", 2, 7, "unpaired surrogate"},
        {"object A: TA\n  V = 9223372036854775808\nend", 2, 7, "integer out of range"},
        {"object A: TA\n  V = $10000000000000000\nend", 2, 7, "integer out of range"},
        {"object A: TA\n  V = 1e999\nend", 2, 7, "number out of range"},
        {"object A: TA\n  V = 1.5s\nend", 2, 7, "invalid number '1.5s'"},
        {"object A: TA\n  V = 12.\nend", 2, 7, "invalid number"},
        {"object A: TA\n  V = -x\nend", 2, 7, "invalid number"},
        {"object A: TA\n  V = $\nend", 2, 7, "hexadecimal digits expected"},
        {"object A: TA\n  S = [a,]\nend", 2, 10, "set element expected but ']' found"},
        {"object A: TA\n  S = [a b]\nend", 2, 10, "']' expected but 'b' found"},
        {"object A: TA\n  C = < foo >\nend", 2, 9, "'item' expected but 'foo' found"},
        {"object A: TA\n  C = <item\n  X = 1\n", 4, 1, "'end' expected but end of file found"},
        {"object A: TA\n  C = <", 2, 8, "'>' expected but end of file found"},
        {"object A: TA\n  B = {0A1\n  }\nend", 2, 7, "odd number of hex digits"},
        {"object A: TA\n  B = {0A\n   1G}\nend", 3, 5, "'G' is not hex"},
        {"object A: TA\n  B = {0A", 2, 10, "'}' expected but end of file found"},
        {"object A: TA [-1]\nend", 1, 15, "index expected but '-1' found"},
        {"object A: TA [1\nend", 2, 1, "']' expected but 'end' found"},
        {"object A: TA\n  object B: TB end\n  Left = 1\nend", 3, 3, "'end' expected but 'Left'"},
        {"object A: TA\n  Font. = 1\nend", 2, 8, "identifier expected but white space found"},
        {"object : TA\nend", 1, 8, "identifier expected but ':' found"},
        {"object A: TA\nend\nobject B: TB\nend", 3, 1, "end of file expected but 'object'"},
        {"object A: TA\n  V = 1\r" + nul + "\nend", 3, 1, "'end' expected but character #0 found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseFormText(c.text, "Forms.dfm");
            ADD_FAILURE() << "no error";
        } catch (const EFormParseError& e) {
            EXPECT_EQ(e.Line, c.line);
            EXPECT_EQ(e.Column, c.column);
            EXPECT_NE(e.Message().find(c.detail), std::string::npos) << e.Message();
            EXPECT_EQ(e.Message().rfind("Forms.dfm(" + std::to_string(c.line) + ":" +
                                            std::to_string(c.column) + "): ",
                                        0),
                      0u)
                << e.Message();
        }
    }
}

TEST(FormParser, ErrorCarriesTheVclClassNameAndResource) {
    try {
        ParseFormText("object A: TA\n  Items = (\n    'a'\n  end", "Forms.dfm");
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.ClassName(), "EParserError");
        EXPECT_STREQ(e.what(), "Forms.dfm(4:3): ')' expected but 'end' found");
        EXPECT_EQ(dynamic_cast<const EFormParseError&>(e).ResourceName, "Forms.dfm");
    }
}

std::string Nested(int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "object O: T\n";
    for (int i = 0; i < levels; ++i)
        text += "end\n";
    return text;
}

TEST(FormParser, BoundsTheNesting) {
    TFormNode root = ParseFormText(Nested(kMaxFormNesting), "x");
    const TFormNode* n = &root;
    int depth = 1;
    while (!n->Children.empty())
        n = &n->Children[0], ++depth;
    EXPECT_EQ(depth, kMaxFormNesting);

    try {
        ParseFormText(Nested(kMaxFormNesting + 1), "x");
        FAIL();
    } catch (const EFormParseError& e) {
        EXPECT_EQ(e.Line, kMaxFormNesting + 1);
        EXPECT_NE(e.Message().find("nesting deeper than 256 levels"), std::string::npos);
    }

    // Lists and collections count towards the same bound, and far deeper input only fails.
    std::string lists = "object A: T\n V = " + std::string(1'000'000, '(');
    EXPECT_THROW(ParseFormText(lists, "x"), EFormParseError);
    std::string mixed = "object A: T\n V = ";
    for (int i = 0; i < 200; ++i)
        mixed += "<item V = (";
    EXPECT_THROW(ParseFormText(mixed, "x"), EFormParseError);
}

TEST(FormParser, LongLinesStayLinear) {
    // A megabyte on one line: one string, then a list of a quarter million numbers whose
    // columns are all asked for.
    std::string big(1 << 20, 'x');
    TFormNode root = ParseFormText("object A: T\n V = '" + big + "'\nend", "x");
    EXPECT_EQ(root.Properties[0].Value.Text.size(), big.size());

    std::string list = "object A: T V = (";
    for (int i = 0; i < 250'000; ++i)
        list += "1 ";
    list += ") end";
    root = ParseFormText(list, "x");
    ASSERT_EQ(root.Properties[0].Value.Items.size(), 250'000u);
    EXPECT_EQ(root.Properties[0].Value.Items.back().Column, 18 + 2 * 249'999);

    EXPECT_THROW(ParseFormText("object A: T\n V = '" + big, "x"), EFormParseError);
}

} // namespace
