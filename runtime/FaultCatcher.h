#pragma once

#include <cstdint>
#include <string>

#include "runtime/SourceLines.h"

// Catches processor faults process-wide (invalid memory access, division by zero, illegal or
// privileged instructions, breakpoints, stack overflow), records them with the source position
// of the faulting instruction, and then resumes, continues at a label, calls a procedure or
// ends the program, as the mode says.
namespace velinor::runtime {

// The general registers at the fault, in the order the report lists them.
struct FaultRegisters {
    std::uint64_t rax = 0;
    std::uint64_t rbx = 0;
    std::uint64_t rcx = 0;
    std::uint64_t rdx = 0;
    std::uint64_t rbp = 0;
    std::uint64_t rsi = 0;
    std::uint64_t rdi = 0;
    std::uint64_t cs = 0;
    std::uint64_t rflags = 0;
    std::uint64_t rsp = 0;
    std::uint64_t ss = 0;
};

// The last fault caught.
struct ErrorRecord {
    std::uint32_t code = 0;            // fault code (FaultCodes.h)
    std::uintptr_t address = 0;        // the faulting instruction
    SourcePosition position = 0;       // its file index and line
    FaultRegisters registers;
    std::uint32_t count = 0;           // faults caught so far
};

enum class ErrorMode : int {
    Resume = 1,   // go on after the faulting instruction
    Label = 2,    // continue in the label procedure, outside the signal handler; never returns
    Call = 3,     // call the procedure from the handler, then go on after the faulting instruction
    Default = 4,  // tell the user the program ends, then end as if nothing caught the fault
};

using FaultProcedure = void (*)();

// Starts catching faults (mode Resume), keeping the handlers that were there before, and reads
// the program's line information so that no fault needs to. Installing twice changes nothing
// but the mode. False when the handlers could not be set.
bool InstallFaultCatcher();
// Gives the signals back to the handlers kept at installation.
void UninstallFaultCatcher();
bool FaultCatcherInstalled();

// Continue at label after a fault. The label runs on a stack of its own (the fault may have
// used up the program's stack) with the signal handled; a fault while it runs ends the process.
// When it returns the process ends with exit code 0.
void SetLabelTarget(FaultProcedure label);
// Call the procedure from inside the handler and go on after the faulting instruction.
void SetCallTarget(FaultProcedure procedure);
void SetResumeMode();
void SetDefaultMode();
ErrorMode CurrentErrorMode();

// Shows the end-of-program notice of the default mode; by default it goes to standard error.
// Called in signal context: it must be async-signal-safe.
void SetDefaultModeNotice(void (*notice)(const char* caption, const char* text));

// The last fault (all zero before the first).
ErrorRecord LastErrorRecord();

// The three queries of the report, about the last fault.
std::string ErrorDescription();
int ErrorLine();
std::string ErrorFile();

// The same for any position: -1 when tracking is off, else the low 24 bits; the file's name,
// "Main Module" for file 0 and "OnError line support disabled" when tracking is off.
int LineOfPosition(SourcePosition position);
std::string FileOfPosition(SourcePosition position, const SourceLineTable& table);

// The line table the catcher prepared (empty before installation).
const SourceLineTable& ProgramLineTable();

}  // namespace velinor::runtime
