#include "runtime/FaultCatcher.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "runtime/ErrorReport.h"
#include "runtime/FaultProbe.h"
#include "runtime/InstructionDecoder.h"

// Every test that faults on purpose does it in a child process (a death test): the catcher
// changes how the whole process handles signals.
namespace velinor::runtime {
namespace {

volatile int gStopRecursion = 0;
volatile int gCalls = 0;

__attribute__((noinline)) int Recurse(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (gStopRecursion != 0) return 0;
    return Recurse(depth + 1) + frame[0];
}

const char* volatile gNoText = nullptr;
volatile int gOrder = 0;

constexpr int kLibraryCallLine = __LINE__ + 4;
__attribute__((noinline, no_sanitize("nonnull-attribute"))) void CompareNoText() {
    // The fault happens inside the C library, in a function that the sanitizers do not wrap
    // (their wrappers' frames hold old return addresses that would mislead the search).
    gOrder = strverscmp(gNoText, "1");
}

// What the program's error handler does, told on standard error.
void PrintReportAndEnd() {
    std::fprintf(stderr, "%s\n", FaultReport().c_str());
    std::_Exit(0);
}

void InstallWithLabel() {
    if (!InstallFaultCatcher()) std::_Exit(90);
    SetLabelTarget(PrintReportAndEnd);
}

bool ProgramHasLines() {
    SourceLineTable table;
    return table.Load();
}

// The line of runtime/FaultProbe.cpp that ends in the comment "// line-mark: NAME", read from
// the source file, so that the expected line is found independently of the program's own line
// table and follows the probe when code above it moves.
int MarkedProbeLine(const std::string& name) {
    std::ifstream source(std::string(VELINOR_SOURCE_DIR) + "/runtime/FaultProbe.cpp");
    const std::string mark = "// line-mark: " + name;
    std::string text;
    int found = -1;
    for (int number = 1; std::getline(source, text); ++number) {
        if (text.size() < mark.size() || text.compare(text.size() - mark.size(), mark.size(), mark) != 0) continue;
        if (found != -1) ADD_FAILURE() << "runtime/FaultProbe.cpp marks two lines " << name;
        found = number;
    }
    if (found == -1) ADD_FAILURE() << "runtime/FaultProbe.cpp has no line marked " << name;
    return found;
}

// Where the line table is missing (a build without debug information) the report says so.
std::string Where(int line, const std::string& file = "runtime/FaultProbe\\.cpp") {
    if (!ProgramHasLines()) return "Zeile:-1Datei:OnError line support disabled";
    return "Zeile:" + std::to_string(line) + "Datei:" + file;
}

bool EndedAbnormally(int status) { return !(WIFEXITED(status) && WEXITSTATUS(status) == 0); }

class FaultCatcher : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(FaultCatcher, DivisionByZeroIsReportedWithItsLineAndEndsNormally) {
    EXPECT_EXIT(
        {
            InstallWithLabel();
            DivideByZero();
            std::_Exit(91);
        },
        ::testing::ExitedWithCode(0), "Beschreibung:Attempted division by zero" + Where(MarkedProbeLine("division")));
}

TEST_F(FaultCatcher, InvalidWriteIsReportedWithItsLine) {
    EXPECT_EXIT(
        {
            InstallWithLabel();
            WriteThroughNull();
            std::_Exit(91);
        },
        ::testing::ExitedWithCode(0),
        "Beschreibung:An attemped read or write to/from an address to which that process isn't allowed" + Where(MarkedProbeLine("null-write")));
}

TEST_F(FaultCatcher, AFaultInsideALibraryNamesTheProgramsCallIntoIt) {
    EXPECT_EXIT(
        {
            InstallWithLabel();
            CompareNoText();
            std::_Exit(91);
        },
        ::testing::ExitedWithCode(0),
        "Beschreibung:An attemped read or write to/from an address to which that process isn't allowed" +
            Where(kLibraryCallLine, "tests/unit/runtime/FaultCatcherTest\\.cpp"));
}

TEST_F(FaultCatcher, StackOverflowIsReportedAsSuch) {
    EXPECT_EXIT(
        {
            InstallWithLabel();
            Recurse(0);
            std::_Exit(91);
        },
        ::testing::ExitedWithCode(0), "Beschreibung:Stack overflow\\.Can occur during errant recursion");
}

TEST_F(FaultCatcher, AFaultWhileTheReportRunsEndsTheProcess) {
    EXPECT_EXIT(
        {
            if (!InstallFaultCatcher()) std::_Exit(90);
            SetLabelTarget([] { WriteThroughNull(); });
            DivideByZero();
            std::_Exit(91);
        },
        ::testing::KilledBySignal(SIGSEGV), "while a fault was being reported");
}

TEST_F(FaultCatcher, ResumeGoesOnAfterTheFaultingInstruction) {
    // Each check that fails ends the child with its own status.
    EXPECT_EXIT(
        {
            if (!InstallFaultCatcher() || CurrentErrorMode() != ErrorMode::Resume) std::_Exit(90);
            DivideByZero();
            ErrorRecord record = LastErrorRecord();
            if (record.code != 0xC0000094 || record.count != 1) std::_Exit(10);
            const auto start = reinterpret_cast<std::uintptr_t>(&DivideByZero);
            if (record.address < start || record.address > start + 256) std::_Exit(11);
            if (record.registers.cs == 0 || record.registers.ss == 0 || record.registers.rsp == 0) std::_Exit(12);

            WriteThroughNull();
            record = LastErrorRecord();
            if (record.code != 0xC0000005 || record.count != 2) std::_Exit(20);

            asm volatile("ud2");
            if (LastErrorRecord().code != 0xC000001D) std::_Exit(30);

            asm volatile("hlt");   // privileged: only the kernel may halt the processor
            if (LastErrorRecord().code != 0xC0000096) std::_Exit(40);

            asm volatile("int3");
            record = LastErrorRecord();
            unsigned char at = 0;
            if (record.code != 0x80000003 || record.count != 5) std::_Exit(50);
            // The record names the breakpoint instruction itself.
            if (ReadOwnMemory(record.address, &at, 1) != 1 || at != 0xCC) std::_Exit(51);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(FaultCatcher, CallRunsTheProcedureAndGoesOn) {
    EXPECT_EXIT(
        {
            if (!InstallFaultCatcher()) std::_Exit(90);
            SetCallTarget([] { gCalls = gCalls + 1; });
            DivideByZero();
            WriteThroughNull();
            std::_Exit(gCalls == 2 && LastErrorRecord().count == 2 ? 0 : 10);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(FaultCatcher, DefaultModeTellsTheUserAndLetsTheFaultEndTheProgram) {
    EXPECT_EXIT(
        {
            if (!InstallFaultCatcher()) std::_Exit(90);
            SetDefaultMode();
            DivideByZero();
            std::_Exit(0);
        },
        EndedAbnormally, "Error Information: There was a general Exception-Error\r\nThe program will now be terminated!");
}

TEST_F(FaultCatcher, ASignalSentByAProcessIsNoFault) {
    // The label would end the child with status 0.
    EXPECT_EXIT(
        {
            InstallWithLabel();
            raise(SIGSEGV);
            std::_Exit(0);
        },
        EndedAbnormally, "");
}

TEST(FaultCatcherInstallation, UninstallGivesTheSignalsBack) {
    struct sigaction mine = {};
    mine.sa_handler = [](int) {};
    sigemptyset(&mine.sa_mask);
    struct sigaction before = {};
    ASSERT_EQ(sigaction(SIGFPE, &mine, &before), 0);

    ASSERT_TRUE(InstallFaultCatcher());
    struct sigaction during = {};
    sigaction(SIGFPE, nullptr, &during);
    EXPECT_NE(during.sa_handler, mine.sa_handler);
    EXPECT_TRUE(FaultCatcherInstalled());

    UninstallFaultCatcher();
    struct sigaction after = {};
    sigaction(SIGFPE, nullptr, &after);
    EXPECT_EQ(after.sa_handler, mine.sa_handler);
    EXPECT_FALSE(FaultCatcherInstalled());
    sigaction(SIGFPE, &before, nullptr);
}

}  // namespace
}  // namespace velinor::runtime
