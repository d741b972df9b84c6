#include <gtest/gtest.h>

#include "platform/script/ControlNames.h"
#include "platform/script/LogText.h"
#include "platform/script/Script.h"

namespace velinor::platform {
namespace {

Script Parse(std::string_view text) {
    ScriptParse parsed = ParseScript(text);
    EXPECT_FALSE(parsed.error) << parsed.error->Describe();
    return parsed.script;
}

ScriptError ErrorOf(std::string_view text) {
    ScriptParse parsed = ParseScript(text);
    EXPECT_TRUE(parsed.error) << "accepted: " << text;
    EXPECT_TRUE(parsed.script.commands.empty());
    return parsed.error.value_or(ScriptError{});
}

TEST(ScriptParse, ReadsEveryCommandOfTheLanguage) {
    Script script = Parse(
        "# a comment line\n"
        "click BtnOpen\n"
        "set 167 -20   # trailing comment\n"
        "type TxtMark \"Hello \\\"you\\\" \\\\ there\"\n"
        "select LstExplorer 3 0 2\n"
        "select LstExplorer all\n"
        "key \"Ctrl+A\"\n"
        "pointer 10 -5\n"
        "hover ImgSource\n"
        "toolbar TbEnglish\n"
        "drop \"/tmp/a b.jpg\" \"/tmp/c.jpg\"\n"
        "close\n"
        "close 5\n"
        "\n"
        "answer open \"/x/y.jpg\"\n"
        "answer open cancel\n"
        "answer save \"/x/out.png\" 2\n"
        "answer folder \"/x/\"\n"
        "answer colour 0x0000FF\n"
        "answer font \"Liberation Sans\" 10.5 bold underline colour 0xFF0000 italic strikeout\n"
        "answer font cancel\n"
        "answer message no\n"
        "answer quality 8\n"
        "answer picker 3 4\n"
        "answer picker close\n"
        "answer cancel-batch 2\n"
        "print text BtnOpen\n"
        "print state SpinTexWidth\n"
        "print visible BoxLogo\n"
        "print enabled BtnBatchStart\n"
        "print items LstBatch\n"
        "print geometry ImgSource\n"
        "print status\n"
        "print image 45\n"
        "save-image 64 \"/tmp/out.png\"\n");
    const auto& c = script.commands;
    ASSERT_EQ(c.size(), 33u);
    EXPECT_EQ(c[0].kind, CommandKind::Click);
    EXPECT_EQ(c[0].control, ControlId::BtnOpen);
    EXPECT_EQ(c[0].line, 2);
    EXPECT_EQ(c[1].control, ControlId::SpinTexWidth) << "a number names the control too";
    EXPECT_EQ(c[1].numbers, std::vector<int>{-20});
    EXPECT_EQ(c[2].strings[0], "Hello \"you\" \\ there");
    EXPECT_EQ(c[3].numbers, (std::vector<int>{3, 0, 2}));
    EXPECT_TRUE(c[4].all);
    EXPECT_EQ(c[5].keys, (std::vector<Key>{Key::Control, Key::A}));
    EXPECT_EQ(c[6].numbers, (std::vector<int>{10, -5}));
    EXPECT_EQ(c[7].kind, CommandKind::Hover);
    EXPECT_EQ(c[8].toolbarItem, ToolbarItem::TbEnglish);
    EXPECT_EQ(c[9].strings, (std::vector<std::string>{"/tmp/a b.jpg", "/tmp/c.jpg"}));
    EXPECT_EQ(c[10].numbers, std::vector<int>{0}) << "close without a window closes window 0";
    EXPECT_EQ(c[11].numbers, std::vector<int>{5});
    EXPECT_EQ(c[12].kind, CommandKind::AnswerOpen);
    EXPECT_FALSE(c[12].cancel);
    EXPECT_TRUE(c[13].cancel);
    EXPECT_EQ(c[14].strings[0], "/x/out.png");
    EXPECT_EQ(c[14].numbers[0], 2);
    EXPECT_EQ(c[15].kind, CommandKind::AnswerFolder);
    EXPECT_EQ(c[16].numbers[0], 0xFF);
    const FontAnswer& font = c[17].font;
    EXPECT_EQ(font.face, "Liberation Sans");
    EXPECT_EQ(font.sizeTenths, 105);
    EXPECT_TRUE(font.bold && font.italic && font.underline && font.strikeOut);
    EXPECT_EQ(font.colour, 0xFF0000u);
    EXPECT_TRUE(c[17].fontColourGiven);
    EXPECT_TRUE(c[18].cancel);
    EXPECT_EQ(c[19].message, MessageAnswer::No);
    EXPECT_EQ(c[20].numbers[0], 8);
    EXPECT_EQ(c[21].numbers, (std::vector<int>{3, 4}));
    EXPECT_TRUE(c[22].cancel);
    EXPECT_EQ(c[23].kind, CommandKind::AnswerCancelBatch);
    EXPECT_EQ(c[24].kind, CommandKind::PrintText);
    EXPECT_EQ(c[27].kind, CommandKind::PrintEnabled);
    EXPECT_EQ(c[28].control, ControlId::LstBatch);
    EXPECT_EQ(c[30].kind, CommandKind::PrintStatus);
    EXPECT_EQ(c[31].numbers[0], 45);
    EXPECT_EQ(c[32].kind, CommandKind::SaveImage);
    EXPECT_EQ(c[32].line, 35);
}

TEST(ScriptParse, KeyNamesRunFromF1ToF12AndCombineWithPlus) {
    std::vector<Key> keys;
    for (const char* good : {"F1", "F9", "F10", "F12", "Shift+F12", "Ctrl+Alt+Delete", "Esc", "x", "7"}) {
        EXPECT_TRUE(ParseKeys(good, keys)) << good;
    }
    EXPECT_TRUE(ParseKeys("Ctrl+F12", keys));
    EXPECT_EQ(keys, std::vector<Key>{Key::Control}) << "only the keys the program reads are kept";
    for (const char* bad : {"F0", "F13", "F1x", "Ctrl+", "+A", "", "Ctrl++A", "F012"}) {
        EXPECT_FALSE(ParseKeys(bad, keys)) << bad;
        EXPECT_TRUE(keys.empty()) << bad;
    }
    EXPECT_EQ(Parse("key \"F12\"\n").commands.size(), 1u);
}

TEST(ScriptParse, AcceptsWindowsLineEndsAndAByteOrderMark) {
    Script script = Parse("\xEF\xBB\xBF" "click BtnOpen\r\ntype TxtMark \"a\\r\\n\"\r\n");
    ASSERT_EQ(script.commands.size(), 2u);
    EXPECT_EQ(script.commands[1].strings[0], "a\r\n");
    EXPECT_EQ(script.commands[1].line, 2);
}

TEST(ScriptParse, AMalformedLineIsReportedWithItsNumberAndText) {
    struct Case {
        const char* script;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"click BtnOpen\nclik BtnOpen\n", 2, "unknown command \"clik\""},
        {"click BtnOpn", 1, "unknown control \"BtnOpn\""},
        {"\n\nset SpinTexWidth ten", 3, "is not a number"},
        {"type TxtMark \"open", 1, "unterminated string"},
        {"type TxtMark \"a\\qb\"", 1, "unknown escape"},
        {"type TxtMark hello", 1, "in double quotes"},
        {"click BtnOpen BtnSave", 1, "unexpected \"BtnSave\""},
        {"set SpinTexWidth", 1, "missing value"},
        {"select LstBatch", 1, "missing entry index"},
        {"select LstBatch -1", 1, "out of range"},
        {"answer colour 0x1000000", 1, "out of range"},
        {"answer colour 0xZZ", 1, "is not a number"},
        {"answer message maybe", 1, "yes, no or ok"},
        {"answer font \"Arial\" big", 1, "font size"},
        {"answer font \"Arial\" 10 heavy", 1, "unknown font style"},
        {"answer save \"/x.png\"", 1, "missing pattern index"},
        {"answer picker close 3", 1, "unexpected"},
        {"answer sound \"x\"", 1, "unknown answer"},
        {"print colour BtnOpen", 1, "cannot print"},
        {"key \"Ctrl+Hyper\"", 1, "unknown keys"},
        {"toolbar TbFrench", 1, "unknown toolbar item"},
        {"drop", 1, "missing path"},
        {"set 0 1", 1, "unknown control \"0\""},
        {"set SpinTexWidth 99999999999", 1, "out of range"},
        {"fault overflow", 1, "unknown fault \"overflow\""},
        {"fault", 1, "missing fault"},
    };
    for (const Case& c : cases) {
        ScriptError error = ErrorOf(c.script);
        EXPECT_EQ(error.line, c.line) << c.script;
        EXPECT_NE(error.message.find(c.says), std::string::npos) << c.script << " -> " << error.message;
        std::string described = error.Describe();
        EXPECT_EQ(described.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << described;
        EXPECT_NE(described.find(error.text), std::string::npos) << "the message quotes the line: " << described;
    }
}

TEST(ScriptParse, EveryControlNameRoundTrips) {
    int named = 0;
    for (int number = 1; number <= 300; ++number) {
        auto id = static_cast<ControlId>(number);
        std::string name = ControlIdName(id);
        if (name == std::to_string(number)) continue;
        ++named;
        EXPECT_EQ(ControlIdFromName(name), id) << name;
    }
    EXPECT_EQ(named, 140) << "every control of the program has its name";
    EXPECT_EQ(ControlIdName(static_cast<ControlId>(999)), "999");
    EXPECT_FALSE(ControlIdFromName("btnopen")) << "names are exact";
    EXPECT_EQ(ToolbarItemFromName("157"), ToolbarItem::TbEnglish);
    EXPECT_EQ(ToolbarItemName(ToolbarItem::TbGerman), "TbGerman");
}

TEST(LogText, QuotesKeepEveryEntryOnOneLine) {
    EXPECT_EQ(Quote("plain"), "\"plain\"");
    EXPECT_EQ(Quote("say \"hi\"\\\r\n\t"), "\"say \\\"hi\\\"\\\\\\r\\n\\t\"");
    EXPECT_EQ(Quote("Öffnen"), "\"Öffnen\"") << "other bytes pass unchanged";
    EXPECT_EQ(Hex6(0xFF), "0x0000FF");
    EXPECT_EQ(Hex6(0xE5E5E5), "0xE5E5E5");
}

}  // namespace
}  // namespace velinor::platform
