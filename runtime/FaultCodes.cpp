#include "runtime/FaultCodes.h"

#include <csignal>

namespace velinor::runtime {

namespace {

struct Description {
    std::uint32_t code;
    const char* text;
};

// The texts are shown as they stand, spelling included, in both interface languages.
constexpr Description kDescriptions[] = {
    {fault::kIntegerDivideByZero, "Attempted division by zero"},
    {fault::kAccessViolation, "An attemped read or write to/from an address to which that process isn't allowed"},
    {fault::kPrivilegedInstruction,
     "The instruction is not allowed in the current ring (inport, outport & control register manipulation usually)"},
    {fault::kIllegalInstruction, "Try to execute an invalid instruction -such as MMX opcodes on a non MMX system"},
    {fault::kNoncontinuable,
     "The exception filter returned EXCEPTION_CONTINUE_EXCEPTION when the exception raised isn't restartable"},
    {fault::kStackOverflow,
     "Stack overflow.Can occur during errant recursion, or when a function creates a particularly large array on "
     "the stack."},
    {fault::kInvalidDisposition,
     "INVALID_DISPOSITION Whatever number the exception filter returned, it wasn't a value the OS knows about."},
    {fault::kInvalidHandle,
     "INVALID_HANDLE The API call was passed a handle to a kernel object which was invalid -usually because that "
     "handle has already been closed."},
    {fault::kDllInitFailed, "EXCEPTION_DLL_Initialisation_Failure raised when DllMain() returns false (?)"},
    {fault::kFloatDenormalOperand,
     "FLOAT_DENORMAL_OPERAND One of the operands in a floating-point operation is too small to be represented in a "
     "floating-point value."},
    {fault::kFloatDivideByZero, "FLOAT_DIVIDE_BY_ZERO The thread tried to divide a floating-point value by zero."},
    {fault::kFloatInexactResult,
     "FLOAT_INEXACT_RESULT The accuracy of the last floating point operation is worse than usual as it is "
     "impossible to represent in the float accurately,"},
    {fault::kFloatInvalidOperation, "FLOAT_INVALID_OPERATION Any other floating-point exception."},
    {fault::kFloatOverflow, "FLOAT_OVERFLOW The result was too big to represent"},
    {fault::kFloatStackCheck,
     "FLOAT_STACK_CHECK A floating point stack overflowed or underflow. This related to the baroque design of the "
     "floating point unit."},
    {fault::kFloatUnderflow, "FLT_UNDERFLOW The result was too small to represent"},
    {fault::kControlCExit, "CONTROL_C_EXIT Lets the debugger know the user hit Ctrl-C. "},
    {fault::kBreakpoint, "BREAKPOINT A breakpoint was encountered."},
    {fault::kSingleStep,
     "SINGLE_STEP The CPU has signalled that one instruction has been executed.Only of interest to Debuggers"},
    {fault::kNone, "No Error"},
};

}  // namespace

const char* FaultDescription(std::uint32_t code) noexcept {
    for (const Description& entry : kDescriptions) {
        if (entry.code == code) return entry.text;
    }
    return kUnknownFaultDescription;
}

std::uint32_t FaultCodeOfSignal(int signal, int reason, bool privilegedInstruction) noexcept {
    switch (signal) {
    case SIGFPE:
        switch (reason) {
        case FPE_INTDIV: return fault::kIntegerDivideByZero;
        case FPE_INTOVF: return fault::kIntegerOverflow;
        case FPE_FLTDIV: return fault::kFloatDivideByZero;
        case FPE_FLTOVF: return fault::kFloatOverflow;
        case FPE_FLTUND: return fault::kFloatUnderflow;
        case FPE_FLTRES: return fault::kFloatInexactResult;
        default: return fault::kFloatInvalidOperation;
        }
    case SIGILL:
        if (reason == ILL_PRVOPC || reason == ILL_PRVREG || privilegedInstruction) return fault::kPrivilegedInstruction;
        return fault::kIllegalInstruction;
    case SIGSEGV:
        // A privileged instruction in user mode raises a general-protection fault, which the
        // kernel reports as SIGSEGV without an address.
        return privilegedInstruction ? fault::kPrivilegedInstruction : fault::kAccessViolation;
    case SIGBUS:
        // An access to a page that exists no more (a mapped file cut short) or a misaligned one.
        return fault::kAccessViolation;
    case SIGTRAP:
        if (reason == TRAP_TRACE || reason == TRAP_HWBKPT) return fault::kSingleStep;
        return fault::kBreakpoint;
    default:
        return fault::kNone;
    }
}

}  // namespace velinor::runtime
