// Which share the schedulers' variables choose, the job log read back, and list files split.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "stamping/InputFiles.h"
#include "stamping/JobLog.h"
#include "stamping/Shares.h"

namespace velinor::stamping {
namespace {

// The share, "I/N", or "refused" for a problem.
std::string Chosen(const std::map<std::string, std::string>& variables, int shards = 0,
                   std::optional<std::string> shard = std::nullopt) {
    std::string problem;
    const auto share = ChooseShare(shard, shards, [&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    }, problem);
    if (!share) return problem.empty() ? "refused without a reason" : "refused";
    return std::to_string(share->index) + "/" + std::to_string(share->count);
}

// The shapes tests/stamp/lists.sh does not run: a count from --shards, numbers that are not
// plain digits, a count without an index, --shard spelt wrong or against --shards.
TEST(Shares, WhatTheVariablesAndFlagsRefuse) {
    EXPECT_EQ(Chosen({{"SLURM_ARRAY_TASK_ID", "3"}}), "refused");
    EXPECT_EQ(Chosen({{"SLURM_ARRAY_TASK_ID", "3"}}, 8), "3/8");
    EXPECT_EQ(Chosen({{"SLURM_ARRAY_TASK_ID", "-1"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}), "refused");
    EXPECT_EQ(Chosen({{"AWS_BATCH_JOB_ARRAY_INDEX", " 1"}}, 2), "refused");
    EXPECT_EQ(Chosen({}), "0/1");
    EXPECT_EQ(Chosen({}, 4), "refused");
    EXPECT_EQ(Chosen({}, 5, "3/4"), "refused");
    for (const char* bad : {"1/0", "1", "/4", "1/", "a/4", "1/4/2", "-1/4"}) {
        EXPECT_EQ(Chosen({}, 0, std::string(bad)), "refused") << bad;
    }
}

TEST(Shares, ASharesPlacesAreIModuloNOfTheWholeList) {
    PictureList list;
    for (const char* name : {"a", "b", "c", "d", "e"}) list.pictures.push_back({name, "/out", ""});
    list.pictures[3].problem = "No such file or directory";
    std::vector<std::string> problems;
    const auto jobs = TakeShare(list, Share{1, 2, ""}, problems);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].source, "b");
    EXPECT_EQ(jobs[0].number, 2);
    EXPECT_EQ(jobs[0].count, 5);
    ASSERT_EQ(problems.size(), 1u);   // d, place 4, is this share's to report
    EXPECT_EQ(problems[0], "d: No such file or directory");
}

TEST(FileLists, LinesAndNulSeparatedNames) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(SplitFileList("a.jpg\n\nb c.jpg\r\n\r\n d.jpg \nlast", false), (Names{"a.jpg", "b c.jpg", " d.jpg ", "last"}));
    EXPECT_EQ(SplitFileList(std::string_view("a\nb.jpg\0c\r\0\0", 11), true), (Names{"a\nb.jpg", "c\r"}));
    EXPECT_EQ(SplitFileList("", false), Names{});
}

TEST(JobLog, TheLinesOfARunAreReadBack) {
    const auto line = ParseJsonLine(R"({"source":"a \"b\"\\c\nd\u00e9\ud83d\ude00","output":null,"status":"ok","ms":1.5e1,"x":true})");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->at("source"), "a \"b\"\\c\nd\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(line->at("status"), "ok");
    EXPECT_EQ(line->count("output"), 0u);
    for (const char* bad : {R"({"source":"a","output":"b)", R"({"source":"a",})", R"({"source":"\ud83d"})",
                            R"({"a":"b"} x)", "", R"({"a":tru})"}) {
        EXPECT_FALSE(ParseJsonLine(bad)) << bad;
    }
}

}  // namespace
}  // namespace velinor::stamping
