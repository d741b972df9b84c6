#include "app/KeyValueFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <random>

#include "TestFolder.h"

namespace velinor::app {
namespace {

using testing::TestFolder;

class KeyValueRead : public ::testing::Test {
protected:
    // Writes bytes as lang.prf and opens it.
    void Open(const std::string& bytes) {
        TestFolder::Write("lang.prf", bytes);
        ASSERT_TRUE(file.OpenForRead("lang.prf"));
    }
    std::string Read(const std::string& group, const std::string& key) {
        file.SelectGroup(group);
        return file.ReadString(key, "default");
    }

    TestFolder folder;
    KeyValueFile file;
};

// One lookup each: a file's text, the group selected, the key asked for and what it yields
// ("default" when the key is not found there).
struct Lookup {
    const char* what;
    std::string text;
    const char* group;
    const char* key;
    const char* expected;
};

TEST_F(KeyValueRead, LookupsFollowTheFormatsRules) {
    using namespace std::string_literals;
    const Lookup lookups[] = {
        {"group and key match without case", "[German]\r\n  7   =  Open   \r\n", "german", "7", "Open   "},
        {"a name key without case", "[german]\r\nVerzeichnis = /home/ute/\r\n", "GERMAN", "verzeichnis", "/home/ute/"},
        {"LF line ends", "[g]\n1 = one\n2 = two", "g", "1", "one"},
        {"a last line without end (LF)", "[g]\n1 = one\n2 = two", "g", "2", "two"},
        {"CR LF line ends", "[g]\r\n1 = one\r\n2 = two", "g", "1", "one"},
        {"a last line without end (CR LF)", "[g]\r\n1 = one\r\n2 = two", "g", "2", "two"},
        {"a comment that looks like a key", "[german]\r\n;7 = commented\r\n8 = real\r\n", "german", "7", "default"},
        {"a key after an indented comment", "[german]\r\n   ; 8 = indented comment\r\n8 = real\r\n", "german", "8", "real"},
        {"the next group ends the selected one", "[german]\r\n1 = eins\r\n[english]\r\n7 = seven\r\n", "german", "7", "default"},
        {"a key of the selected group", "[german]\r\n1 = eins\r\n[english]\r\n7 = seven\r\n", "german", "1", "eins"},
        {"a key of the later group", "[german]\r\n1 = eins\r\n[english]\r\n7 = seven\r\n", "english", "7", "seven"},
        {"a key of the earlier group", "[german]\r\n1 = eins\r\n[english]\r\n7 = seven\r\n", "english", "1", "default"},
        {"group names match whole", "[germanx]\r\n1 = wrong\r\n[germ]\r\n1 = short\r\n[german]\r\n", "german", "1", "default"},
        {"a leading zero is another key", "[german]\r\n07 = leading zero\r\n", "german", "7", "default"},
        {"a longer key is another key", "[german]\r\n17 = longer key\r\n1x = suffix\r\n", "german", "1", "default"},
        {"a longer key is found whole", "[german]\r\n17 = longer key\r\n", "german", "17", "longer key"},
        {"a tab before a key is not blank", "[g]\r\n\t7 = tab before key\r\n", "g", "7", "default"},
        {"a tab after the equals sign is kept", "[g]\r\n8 =\tvalue\r\n", "g", "8", "\tvalue"},
        {"an empty value", "[g]\r\n1 =\r\n", "g", "1", ""},
        {"an empty value of spaces", "[g]\r\n2 =    \r\n", "g", "2", ""},
        {"an empty value without spaces", "[g]\r\n3=\r\n", "g", "3", ""},
        {"'=' and ';' inside a value", "[g]\r\n1 = a=b ; not a comment\r\n", "g", "1", "a=b ; not a comment"},
        {"a line without '=' is an empty value", "[g]\r\n2\r\n3 = three\r\n", "g", "2", ""},
        {"the line after one without '='", "[g]\r\n2\r\n3 = three\r\n", "g", "3", "three"},
        {"the first of repeated keys wins", "[g]\r\nk = first\r\nK = second\r\n", "g", "k", "first"},
        {"a header without closing bracket", "[german\r\n1 = eins\r\n", "german", "1", "eins"},
        {"Windows bytes become UTF-8", "[german]\r\n7 = Bild \xF6" "ffnen \x80 \xDF\r\n", "german", "7",
         "Bild \xC3\xB6" "ffnen \xE2\x82\xAC \xC3\x9F"},
        {"the text before a zero byte", "[g]\r\n1 = one\r\n\0\r\n2 = two\r\n"s, "g", "1", "one"},
        {"nothing after a zero byte", "[g]\r\n1 = one\r\n\0\r\n2 = two\r\n"s, "g", "2", "default"},
    };
    for (const Lookup& lookup : lookups) {
        Open(lookup.text);
        EXPECT_EQ(Read(lookup.group, lookup.key), lookup.expected) << lookup.what;
    }
}

TEST_F(KeyValueRead, AMissingGroupYieldsDefaultsForEveryKey) {
    Open("1 = before any group\r\n[german]\r\n1 = eins\r\n");
    EXPECT_FALSE(file.SelectGroup("english"));
    EXPECT_EQ(file.ReadString("1", "error"), "error");
}

TEST_F(KeyValueRead, WithoutAGroupOnlyTheLinesBeforeTheFirstHeaderCount) {
    Open("Language = English\r\nBildname = urlaub\r\n[german]\r\n1 = eins\r\n");
    EXPECT_EQ(file.ReadString("language", "German"), "English");
    EXPECT_EQ(file.ReadString("1", "none"), "none");
    ASSERT_TRUE(file.SelectGroup("german"));
    ASSERT_TRUE(file.SelectGroup(""));
    EXPECT_EQ(file.ReadString("Bildname", ""), "urlaub");
}

TEST_F(KeyValueRead, MissingAndEmptyFiles) {
    EXPECT_FALSE(file.OpenForRead("nothing.ini"));
    EXPECT_EQ(file.ReadString("1", "default"), "default");
    Open("");
    EXPECT_EQ(Read("", "1"), "default");
}

// Random files built from the format's own characters: reading must stay inside the text and
// never return a line end as part of a value.
TEST_F(KeyValueRead, ArbitraryBytesAreReadSafely) {
    const std::string alphabet = "[]=; \t\r\n7Gg\xE4\x80";
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 64, ' ');
        for (char& c : bytes) c = alphabet[random() % alphabet.size()];
        Open(bytes);
        for (const char* group : {"", "g", "G7"}) {
            file.SelectGroup(group);
            for (const char* key : {"7", "g", "G7", "[", ";"}) {
                const std::string value = file.ReadString(key, "");
                EXPECT_EQ(value.find_first_of("\r\n"), std::string::npos) << round;
            }
        }
    }
}

class KeyValueWrite : public ::testing::Test {
protected:
    TestFolder folder;
    KeyValueFile file;
};

TEST_F(KeyValueWrite, LinesEndWithCrLfInCallOrder) {
    ASSERT_TRUE(file.CreateForWrite("out.ini"));
    EXPECT_TRUE(file.WriteGroup("german"));
    EXPECT_TRUE(file.WriteString("Language", "English"));
    EXPECT_TRUE(file.WriteString("Bildname", ""));
    EXPECT_TRUE(file.WriteString("", "dropped"));
    EXPECT_TRUE(file.WriteString("Verzeichnis", "/a b/  "));
    EXPECT_TRUE(file.ClosePrefs());
    EXPECT_EQ(TestFolder::Read("out.ini"),
              "[german]\r\nLanguage = English\r\nBildname = \r\nVerzeichnis = /a b/  \r\n");
}

TEST_F(KeyValueWrite, TextIsStoredAsWindowsBytes) {
    ASSERT_TRUE(file.CreateForWrite("out.ini"));
    EXPECT_TRUE(file.WriteString("k", "M\xC3\xBC" "ller \xE2\x82\xAC"));
    file.ClosePrefs();
    EXPECT_EQ(TestFolder::Read("out.ini"), "k = M\xFCller \x80\r\n");
}

TEST_F(KeyValueWrite, ValuesTheFileCannotHoldAreRefusedAndNothingIsWritten) {
    ASSERT_TRUE(file.CreateForWrite("out.ini"));
    EXPECT_FALSE(file.WriteString("Bildname", "\xE6\x97\xA5\xE6\x9C\xAC"));   // CJK
    EXPECT_FALSE(file.WriteString("Bildname", "two\nlines"));
    EXPECT_FALSE(file.WriteString("Bildname", "cr\rhere"));
    EXPECT_FALSE(file.WriteString("a=b", "x"));
    EXPECT_FALSE(file.WriteString("k", "\xC3"));                             // truncated UTF-8
    EXPECT_FALSE(file.WriteGroup("a]b"));
    EXPECT_TRUE(file.WriteString("ok", "1"));
    EXPECT_TRUE(file.ClosePrefs());
    EXPECT_EQ(TestFolder::Read("out.ini"), "ok = 1\r\n");
    EXPECT_FALSE(KeyValueFile::Storable("Bildname", "\xE6\x97\xA5"));
    EXPECT_TRUE(KeyValueFile::Storable("Bildname", "\xC3\xA4"));
}

TEST_F(KeyValueWrite, WrittenValuesReadBackUnchanged) {
    const std::string values[] = {"plain", "trailing   ", "", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", "a = b", "; x"};
    ASSERT_TRUE(file.CreateForWrite("round.ini"));
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(file.WriteString("key" + std::to_string(i), values[i]));
    ASSERT_TRUE(file.ClosePrefs());
    ASSERT_TRUE(file.OpenForRead("round.ini"));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(file.ReadString("KEY" + std::to_string(i), "missing"), values[i]) << i;
}

TEST_F(KeyValueWrite, CreatingReplacesTheOldFile) {
    TestFolder::Write("out.ini", "old = content that is longer than the new one\r\n");
    ASSERT_TRUE(file.CreateForWrite("out.ini"));
    file.WriteString("new", "1");
    file.ClosePrefs();
    EXPECT_EQ(TestFolder::Read("out.ini"), "new = 1\r\n");
}

// A save that fails part-way (here: the disk is full after 10 bytes) keeps the settings
// already stored instead of leaving a partial line.
TEST_F(KeyValueWrite, AFailedSaveLeavesTheOldFile) {
    const std::string old = "Bildname = urlaub\r\nVerzeichnis = /home/fotos\r\n";
    TestFolder::Write("Settings.ini", old);
    ASSERT_TRUE(file.CreateForWrite("Settings.ini"));
    file.WriteString("Bildname", std::string(5000, 'n'));
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved;
    lowered.rlim_cur = 10;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    const bool closed = file.ClosePrefs();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(closed);
    EXPECT_EQ(TestFolder::Read("Settings.ini"), old);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(".")) ++files;
    EXPECT_EQ(files, 1);   // and no temporary file beside it
}

// A FIFO in the file's place is refused at once instead of waiting for a writer.
TEST_F(KeyValueRead, OnlyRegularFilesAreRead) {
    ASSERT_EQ(::mkfifo("Settings.ini", 0600), 0);
    EXPECT_FALSE(file.OpenForRead("Settings.ini"));
    std::filesystem::create_directory("lang.prf");
    EXPECT_FALSE(file.OpenForRead("lang.prf"));
}

TEST_F(KeyValueWrite, FailuresAreReported) {
    EXPECT_FALSE(file.CreateForWrite("no/such/folder/out.ini"));
    EXPECT_FALSE(file.WriteString("k", "v"));
    EXPECT_FALSE(file.WriteGroup("g"));
}

TEST(KeyValueOneOpenFile, OpeningAnotherFileClosesTheFirst) {
    TestFolder folder;
    TestFolder::Write("a.ini", "k = from a\r\n");
    KeyValueFile file;
    ASSERT_TRUE(file.OpenForRead("a.ini"));
    ASSERT_EQ(file.ReadString("k", ""), "from a");
    EXPECT_FALSE(file.OpenForRead("missing.ini"));
    EXPECT_EQ(file.ReadString("k", "closed"), "closed");

    ASSERT_TRUE(file.OpenForRead("a.ini"));
    ASSERT_TRUE(file.CreateForWrite("b.ini"));
    EXPECT_EQ(file.ReadString("k", "closed"), "closed");
    ASSERT_TRUE(file.WriteString("k", "from b"));
    // Opening for reading finishes the file being written.
    ASSERT_TRUE(file.OpenForRead("b.ini"));
    EXPECT_EQ(file.ReadString("k", ""), "from b");
    EXPECT_FALSE(file.WriteString("x", "y"));
}

TEST(KeyValueOneOpenFile, AFileOpenForReadingCanBeRewritten) {
    TestFolder folder;
    TestFolder::Write("s.ini", "Bildname = urlaub\r\n");
    KeyValueFile file;
    ASSERT_TRUE(file.OpenForRead("s.ini"));
    const std::string name = file.ReadString("Bildname", "");
    ASSERT_TRUE(file.CreateForWrite("s.ini"));
    file.WriteString("Bildname", name + "2");
    ASSERT_TRUE(file.ClosePrefs());
    EXPECT_EQ(TestFolder::Read("s.ini"), "Bildname = urlaub2\r\n");
}

TEST(KeyValueFileNames, NamesDifferingInCaseReachOneFile) {
    TestFolder folder;
    TestFolder::Write("settings.ini", "Language = English\r\n");
    KeyValueFile file;
    ASSERT_TRUE(file.OpenForRead("Settings.ini"));
    EXPECT_EQ(file.ReadString("Language", ""), "English");
    ASSERT_TRUE(file.CreateForWrite("SETTINGS.INI"));
    file.WriteString("Language", "German");
    ASSERT_TRUE(file.ClosePrefs());
    EXPECT_EQ(TestFolder::Read("settings.ini"), "Language = German\r\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(".")) ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace velinor::app
