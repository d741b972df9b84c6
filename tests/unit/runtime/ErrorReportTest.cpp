#include "runtime/ErrorReport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "runtime/FaultCatcher.h"
#include "runtime/FaultCodes.h"
#include "runtime/FaultProbe.h"
#include "runtime/SourceLines.h"

namespace velinor::runtime {
namespace {

TEST(FaultDescription, CodesReadAsTheUserIsToldThem) {
    EXPECT_STREQ(FaultDescription(0xC0000094), "Attempted division by zero");
    EXPECT_STREQ(FaultDescription(0xC0000005),
                 "An attemped read or write to/from an address to which that process isn't allowed");
    EXPECT_STREQ(FaultDescription(0xC00000FD),
                 "Stack overflow.Can occur during errant recursion, or when a function creates a particularly large "
                 "array on the stack.");
    EXPECT_STREQ(FaultDescription(0xC000008F),
                 "FLOAT_INEXACT_RESULT The accuracy of the last floating point operation is worse than usual as it "
                 "is impossible to represent in the float accurately,");
    EXPECT_STREQ(FaultDescription(0xC000013A), "CONTROL_C_EXIT Lets the debugger know the user hit Ctrl-C. ");
    EXPECT_STREQ(FaultDescription(0x80000004),
                 "SINGLE_STEP The CPU has signalled that one instruction has been executed.Only of interest to "
                 "Debuggers");
    EXPECT_STREQ(FaultDescription(0), "No Error");
}

TEST(FaultDescription, CodesWithoutADescriptionAreUnknown) {
    EXPECT_STREQ(FaultDescription(0xC0000017), "UNKNOWN Error");   // out of memory
    EXPECT_STREQ(FaultDescription(0xC0000095), "UNKNOWN Error");   // integer overflow
    EXPECT_STREQ(FaultDescription(0x80000002), "UNKNOWN Error");   // misaligned data
    EXPECT_STREQ(FaultDescription(0xFFFFFFFF), "UNKNOWN Error");
}

TEST(FaultCode, SignalsMapToTheCodesOfTheirFaults) {
    EXPECT_EQ(FaultCodeOfSignal(SIGFPE, FPE_INTDIV, false), 0xC0000094u);
    EXPECT_EQ(FaultCodeOfSignal(SIGFPE, FPE_FLTDIV, false), 0xC000008Eu);
    EXPECT_EQ(FaultCodeOfSignal(SIGSEGV, SEGV_MAPERR, false), 0xC0000005u);
    EXPECT_EQ(FaultCodeOfSignal(SIGSEGV, SI_KERNEL, true), 0xC0000096u);   // hlt, in, out in user mode
    EXPECT_EQ(FaultCodeOfSignal(SIGBUS, BUS_ADRERR, false), 0xC0000005u);
    EXPECT_EQ(FaultCodeOfSignal(SIGILL, ILL_ILLOPN, false), 0xC000001Du);
    EXPECT_EQ(FaultCodeOfSignal(SIGILL, ILL_PRVOPC, false), 0xC0000096u);
    EXPECT_EQ(FaultCodeOfSignal(SIGTRAP, SI_KERNEL, false), 0x80000003u);  // int3
    EXPECT_EQ(FaultCodeOfSignal(SIGTRAP, TRAP_TRACE, false), 0x80000004u);
}

TEST(ErrorReportText, PartsFollowEachOtherWithoutSeparators) {
    EXPECT_EQ(ComposeErrorReport("Attempted division by zero", 120, "Bild.cpp"),
              "Beschreibung:Attempted division by zeroZeile:120Datei:Bild.cpp");
    EXPECT_EQ(ComposeErrorReport("UNKNOWN Error", -1, "OnError line support disabled"),
              "Beschreibung:UNKNOWN ErrorZeile:-1Datei:OnError line support disabled");
}

TEST(ErrorReportText, PositionsGiveLineAndFile) {
    const SourceLineTable empty;
    EXPECT_EQ(LineOfPosition(-1), -1);
    EXPECT_EQ(FileOfPosition(-1, empty), "OnError line support disabled");
    // File index 0 has no name.
    EXPECT_EQ(LineOfPosition(120), 120);
    EXPECT_EQ(FileOfPosition(120, empty), "Main Module");
    // The line is the low 24 bits whatever the file index.
    EXPECT_EQ(LineOfPosition((2 << 24) | 120), 120);
    EXPECT_EQ(LineOfPosition(static_cast<SourcePosition>(0xC8000000u | 0xFFFFFEu)), 0xFFFFFE);
}

TEST(ErrorReportText, AnEscapedExceptionReportsItsMessageAndNoLine) {
    const auto thrown = std::make_exception_ptr(std::runtime_error("Bild zu gross"));
    EXPECT_EQ(ExceptionReport(thrown), "Beschreibung:Bild zu grossZeile:-1Datei:Main Module");
    EXPECT_EQ(ExceptionReport(std::make_exception_ptr(42)), "Beschreibung:UNKNOWN ErrorZeile:-1Datei:Main Module");

    std::ostringstream errors;
    const int status = RunReportingExceptions([]() -> int { throw std::out_of_range("Index 7"); }, errors);
    EXPECT_EQ(status, kEscapedExceptionExit);
    EXPECT_EQ(errors.str(), "Fehler: Beschreibung:Index 7Zeile:-1Datei:Main Module\n");
    EXPECT_EQ(RunReportingExceptions([] { return 3; }, errors), 3);
}

TEST(SourceLines, NamesAreRelativeToTheSourceFolderWhereverTheyWereCompiled) {
    const std::string root = "/src/velinor";
    // Relative to the build folder, as a compiler cache passes them.
    EXPECT_EQ(SourceLineTable::DisplayName("../../runtime/FaultProbe.cpp", "/elsewhere/build/dev", root),
              "runtime/FaultProbe.cpp");
    // Joined with the folder of a compilation in another checkout.
    EXPECT_EQ(SourceLineTable::DisplayName("/other/checkout/build/dev/../../app/StartUp.cpp",
                                           "/other/checkout/build/dev", root),
              "app/StartUp.cpp");
    EXPECT_EQ(SourceLineTable::DisplayName("/src/velinor/render/Blend.cpp", "/src/velinor/build/dev", root),
              "render/Blend.cpp");
    // A folder that merely starts like the source folder is not inside it.
    EXPECT_EQ(SourceLineTable::DisplayName("/src/velinor-old/a.cpp", "/b", root), "/src/velinor-old/a.cpp");
    EXPECT_EQ(SourceLineTable::DisplayName("/usr/include/c++/12/bits/stl_vector.h", "/b", root),
              "/usr/include/c++/12/bits/stl_vector.h");
}

TEST(SourceLines, AProgramWithoutLineInformationHasTrackingOff) {
    const std::string path = ::testing::TempDir() + "no-debug-information";
    std::ofstream(path) << "not a program";
    SourceLineTable table;
    EXPECT_FALSE(table.LoadFrom(path, 0));
    const SourcePosition position = table.PositionOf(reinterpret_cast<std::uintptr_t>(&DivideByZero));
    EXPECT_EQ(LineOfPosition(position), -1);
    EXPECT_EQ(FileOfPosition(position, table), "OnError line support disabled");
}

TEST(SourceLines, TheProgramsOwnFunctionsHaveTheirFileAndLine) {
    SourceLineTable table;
    if (!table.Load()) GTEST_SKIP() << "built without debug information";
    // The first instruction of a function belongs to the line that opens it, or with
    // optimisation to its first statement.
    const SourcePosition probe = table.PositionOf(reinterpret_cast<std::uintptr_t>(&DivideByZero));
    EXPECT_EQ(FileOfPosition(probe, table), "runtime/FaultProbe.cpp");
    EXPECT_GE(LineOfPosition(probe), 8);
    EXPECT_LE(LineOfPosition(probe), 9);
    const SourcePosition writer = table.PositionOf(reinterpret_cast<std::uintptr_t>(&WriteThroughNull));
    EXPECT_EQ(FileOfPosition(writer, table), "runtime/FaultProbe.cpp");
    EXPECT_GE(LineOfPosition(writer), 15);
    EXPECT_LE(LineOfPosition(writer), 16);
    // An address outside the program's code is file 0.
    EXPECT_EQ(FileOfPosition(table.PositionOf(16), table), "Main Module");
}

}  // namespace
}  // namespace velinor::runtime
