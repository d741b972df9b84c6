#include "app/Cp1252.h"

#include <gtest/gtest.h>

namespace velinor::app {
namespace {

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    const auto back = Utf8ToCp1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, TheCodePageDiffersFromLatin1Between0x80And0x9F) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");       // euro sign
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");           // Y with diaeresis
    EXPECT_EQ(Cp1252ToUtf8("\x84"), "\xE2\x80\x9E");       // low double quote
    EXPECT_EQ(Cp1252ToUtf8("\xE4\xDF"), "\xC3\xA4\xC3\x9F");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x93"), std::optional<std::string>("\x96"));  // en dash
}

TEST(Cp1252, CharactersOutsideTheCodePageAreRefused) {
    EXPECT_FALSE(Utf8ToCp1252("\xC4\x80").has_value());           // A with macron, U+0100
    EXPECT_FALSE(Utf8ToCp1252("ok \xE6\x97\xA5").has_value());     // CJK after plain text
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80").has_value());    // emoji
}

TEST(Cp1252, MalformedUtf8IsRefused) {
    EXPECT_FALSE(Utf8ToCp1252("\x80").has_value());               // lone continuation byte
    EXPECT_FALSE(Utf8ToCp1252("\xC0\x80").has_value());           // overlong NUL
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value());               // truncated
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x82").has_value());           // truncated three-byte form
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80").has_value());       // surrogate
    EXPECT_FALSE(Utf8ToCp1252("\xC3\x28").has_value());           // bad continuation
}

}  // namespace
}  // namespace velinor::app
