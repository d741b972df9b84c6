#include "runtime/FaultCatcher.h"

#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "runtime/FaultCodes.h"
#include "runtime/InstructionDecoder.h"

#if !defined(__x86_64__) || !defined(__linux__)
#error "The fault catcher reads and changes the signal context of x86-64 Linux."
#endif

namespace velinor::runtime {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP};
constexpr std::size_t kSignalCount = sizeof kSignals / sizeof kSignals[0];

// The handler runs on a stack of its own, so that a stack overflow can be caught at all.
constexpr std::size_t kHandlerStackSize = 64 * 1024;
// The label runs on a stack of its own too: the program's stack may be used up or broken. It
// shows a message box, which may run a whole nested event loop.
constexpr std::size_t kLabelStackSize = 1024 * 1024;
// A fault this close to the stack pointer is the stack running into its guard page.
constexpr std::uintptr_t kStackOverflowReach = 64 * 1024;
// How far up the stack a fault in a library looks for the call from the program's own code.
constexpr std::size_t kCallerSearchBytes = 64 * 1024;
constexpr std::size_t kStackChunk = 4096;

constexpr unsigned char kBreakpointOpcode = 0xCC;
constexpr greg_t kDirectionFlag = 1 << 10;
constexpr unsigned kMxcsrExceptionFlags = 0x3F;
constexpr unsigned short kX87ExceptionFlags = 0x80FF;

constexpr const char* kDefaultCaption = "Error Information";
constexpr const char* kDefaultText = "There was a general Exception-Error\r\nThe program will now be terminated!";
constexpr const char* kMainModule = "Main Module";
constexpr const char* kTrackingOff = "OnError line support disabled";

void WriteText(const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, left);
        if (written <= 0) return;
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

void NoticeOnStandardError(const char* caption, const char* text) {
    WriteText(caption);
    WriteText(": ");
    WriteText(text);
    WriteText("\n");
}

// Signal dispositions belong to the process, so the catcher's state is process-wide too.
struct CatcherState {
    bool installed = false;
    struct sigaction kept[kSignalCount] = {};
    stack_t keptHandlerStack = {};
    bool ownHandlerStack = false;
    std::atomic<int> mode{static_cast<int>(ErrorMode::Resume)};
    std::atomic<FaultProcedure> target{nullptr};
    std::atomic<void (*)(const char*, const char*)> notice{NoticeOnStandardError};
    volatile sig_atomic_t labelRunning = 0;
    ErrorRecord record;
    SourceLineTable lines;
    bool linesRead = false;
};

CatcherState g;
alignas(16) unsigned char gHandlerStack[kHandlerStackSize];
alignas(16) unsigned char gLabelStack[kLabelStackSize];

std::size_t SlotOf(int signal) {
    for (std::size_t i = 0; i < kSignalCount; ++i) {
        if (kSignals[i] == signal) return i;
    }
    return 0;
}

// Ends the process by the signal's default action once the handler returns: a fault repeats
// when its instruction runs again, and a sent signal is pending until then.
void EndBySignal(int signal) {
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

// Gives the signal to whatever handled it before the catcher, or to the default action.
void PassOn(int signal, siginfo_t* info, void* context) {
    const struct sigaction& kept = g.kept[SlotOf(signal)];
    if ((kept.sa_flags & SA_SIGINFO) != 0 && kept.sa_sigaction != nullptr) {
        kept.sa_sigaction(signal, info, context);
        return;
    }
    if ((kept.sa_flags & SA_SIGINFO) == 0 && kept.sa_handler != SIG_DFL && kept.sa_handler != SIG_IGN) {
        kept.sa_handler(signal);
        return;
    }
    // An ignored fault would only repeat for ever; an ignored sent signal stays ignored.
    if ((kept.sa_flags & SA_SIGINFO) == 0 && kept.sa_handler == SIG_IGN && info->si_code <= 0) return;
    EndBySignal(signal);
}

bool LooksLikeStackOverflow(const siginfo_t* info, std::uintptr_t stackPointer) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    return address != 0 && address + kStackOverflowReach >= stackPointer && address <= stackPointer + kStackOverflowReach;
}

bool StepOver(greg_t* registers, const DecodedInstruction& instruction) {
    if (instruction.length == 0) return false;
    registers[REG_RIP] += static_cast<greg_t>(instruction.length);
    return true;
}

[[noreturn]] void RunLabel() {
    try {
        if (FaultProcedure label = g.target.load()) label();
    } catch (...) {
        // There is no caller to give an exception to.
    }
    std::_Exit(EXIT_SUCCESS);
}

// Makes the thread continue in RunLabel once the handler returns: on the label's own stack,
// as if called by nobody, with the signal mask of before the fault.
void ContinueAtLabel(ucontext_t* context) {
    greg_t* registers = context->uc_mcontext.gregs;
    auto top = reinterpret_cast<std::uintptr_t>(gLabelStack + kLabelStackSize) & ~std::uintptr_t{15};
    top -= sizeof(std::uintptr_t);   // where a call would have put the return address
    *reinterpret_cast<std::uintptr_t*>(top) = 0;
    registers[REG_RSP] = static_cast<greg_t>(top);
    registers[REG_RBP] = 0;
    registers[REG_RIP] = reinterpret_cast<greg_t>(&RunLabel);
    registers[REG_EFL] &= ~kDirectionFlag;   // functions are entered with the direction flag clear
    if (context->uc_mcontext.fpregs != nullptr) {
        // A floating-point fault leaves its flags raised; the label's own arithmetic must not trip on them.
        context->uc_mcontext.fpregs->mxcsr &= ~kMxcsrExceptionFlags;
        context->uc_mcontext.fpregs->swd &= static_cast<unsigned short>(~kX87ExceptionFlags);
    }
}

// For a fault inside a library (the C library, a codec) the statement that was running is the
// program's call into it. The stack is searched upwards for the return address of that call,
// the first word that points into the program's own code just after a call that leaves it. The
// stack is read without trusting it: a broken stack yields no caller, never a second fault.
SourcePosition CallerPosition(std::uintptr_t stackPointer) {
    alignas(8) static unsigned char chunk[kStackChunk];   // the handler's stack is small
    std::uintptr_t at = stackPointer & ~std::uintptr_t{7};
    const std::uintptr_t end = at + kCallerSearchBytes;
    while (at < end) {
        const std::uintptr_t pageEnd = (at | (kStackChunk - 1)) + 1;
        const std::size_t size = static_cast<std::size_t>(pageEnd - at);
        if (!ReadOwnBlock(at, chunk, size)) return 0;
        for (std::size_t offset = 0; offset + sizeof(std::uintptr_t) <= size; offset += sizeof(std::uintptr_t)) {
            std::uintptr_t word = 0;
            std::memcpy(&word, chunk + offset, sizeof word);
            if (word == 0) continue;
            const SourcePosition position = g.lines.PositionOf(word - 1);
            if (position == 0) continue;
            // The call that left the program goes to a library (through its stub) or through a
            // pointer; a direct call to the program's own code is an older value on the stack.
            const CallSite call = CallEndingAt(word);
            if (!call.found || (call.direct && g.lines.PositionOf(call.target) != 0)) continue;
            return position;
        }
        at = pageEnd;
    }
    return 0;
}

void Record(std::uint32_t code, std::uintptr_t address, const greg_t* registers) {
    ErrorRecord& record = g.record;
    record.position = g.lines.PositionOf(address);
    if (record.position == 0) record.position = CallerPosition(static_cast<std::uintptr_t>(registers[REG_RSP]));
    ++record.count;
    record.code = code;
    record.address = address;
    const auto reg = [registers](int index) { return static_cast<std::uint64_t>(registers[index]); };
    const std::uint64_t segments = reg(REG_CSGSFS);   // cs, gs, fs, ss in 16-bit fields
    record.registers = {reg(REG_RAX), reg(REG_RBX), reg(REG_RCX), reg(REG_RDX), reg(REG_RBP),    reg(REG_RSI),
                        reg(REG_RDI), segments & 0xFFFF, reg(REG_EFL), reg(REG_RSP), (segments >> 48) & 0xFFFF};
}

void Filter(int signal, siginfo_t* info, void* raw) {
    auto* context = static_cast<ucontext_t*>(raw);
    // A signal sent by a process (kill, raise) is no processor fault.
    if (info->si_code <= 0) {
        PassOn(signal, info, raw);
        return;
    }
    if (g.labelRunning != 0) {
        WriteText("A fault occurred while a fault was being reported; the program ends.\n");
        EndBySignal(signal);
        return;
    }

    greg_t* registers = context->uc_mcontext.gregs;
    const auto instructionPointer = static_cast<std::uintptr_t>(registers[REG_RIP]);
    const DecodedInstruction instruction = DecodeInstructionAt(instructionPointer);
    std::uint32_t code = FaultCodeOfSignal(signal, info->si_code, instruction.privileged);
    if (signal == SIGSEGV && LooksLikeStackOverflow(info, static_cast<std::uintptr_t>(registers[REG_RSP]))) {
        code = fault::kStackOverflow;
    }
    // The processor reports a breakpoint after the one-byte breakpoint instruction; the record
    // names the instruction itself, and execution goes on after it.
    std::uintptr_t address = instructionPointer;
    if (code == fault::kBreakpoint) {
        unsigned char before = 0;
        if (ReadOwnMemory(instructionPointer - 1, &before, 1) == 1 && before == kBreakpointOpcode) --address;
    }
    Record(code, address, registers);

    const bool breakpoint = code == fault::kBreakpoint;
    switch (static_cast<ErrorMode>(g.mode.load())) {
    case ErrorMode::Resume:
        if (!breakpoint && !StepOver(registers, instruction)) PassOn(signal, info, raw);
        return;
    case ErrorMode::Label:
        if (g.target.load() == nullptr) break;
        g.labelRunning = 1;
        ContinueAtLabel(context);
        return;
    case ErrorMode::Call:
        if (!breakpoint && !StepOver(registers, instruction)) break;
        if (FaultProcedure procedure = g.target.load()) procedure();
        return;
    case ErrorMode::Default:
        g.notice.load()(kDefaultCaption, kDefaultText);
        break;
    }
    PassOn(signal, info, raw);
}

void RestoreHandlers(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sigaction(kSignals[i], &g.kept[i], nullptr);
}

}  // namespace

bool InstallFaultCatcher() {
    if (!g.linesRead) {
        g.lines.Load();
        g.linesRead = true;
    }
    g.mode = static_cast<int>(ErrorMode::Resume);
    if (g.installed) return true;

    stack_t current = {};
    if (sigaltstack(nullptr, &current) == 0 && ((current.ss_flags & SS_DISABLE) != 0 || current.ss_size < kHandlerStackSize)) {
        stack_t ours = {};
        ours.ss_sp = gHandlerStack;
        ours.ss_size = sizeof gHandlerStack;
        g.ownHandlerStack = sigaltstack(&ours, &g.keptHandlerStack) == 0;
    }

    struct sigaction action = {};
    action.sa_sigaction = Filter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A second fault inside the handler is not caught again: the kernel ends the process.
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
    for (std::size_t i = 0; i < kSignalCount; ++i) {
        if (sigaction(kSignals[i], &action, &g.kept[i]) != 0) {
            RestoreHandlers(i);
            return false;
        }
    }
    g.installed = true;
    return true;
}

void UninstallFaultCatcher() {
    if (!g.installed) return;
    RestoreHandlers(kSignalCount);
    if (g.ownHandlerStack) {
        sigaltstack(&g.keptHandlerStack, nullptr);
        g.ownHandlerStack = false;
    }
    g.installed = false;
}

bool FaultCatcherInstalled() { return g.installed; }

void SetLabelTarget(FaultProcedure label) {
    g.target = label;
    g.mode = static_cast<int>(ErrorMode::Label);
}

void SetCallTarget(FaultProcedure procedure) {
    g.target = procedure;
    g.mode = static_cast<int>(ErrorMode::Call);
}

void SetResumeMode() { g.mode = static_cast<int>(ErrorMode::Resume); }

void SetDefaultMode() { g.mode = static_cast<int>(ErrorMode::Default); }

ErrorMode CurrentErrorMode() { return static_cast<ErrorMode>(g.mode.load()); }

void SetDefaultModeNotice(void (*notice)(const char* caption, const char* text)) {
    g.notice = notice != nullptr ? notice : NoticeOnStandardError;
}

ErrorRecord LastErrorRecord() { return g.record; }

std::string ErrorDescription() { return FaultDescription(g.record.code); }

int ErrorLine() { return LineOfPosition(g.record.position); }

std::string ErrorFile() { return FileOfPosition(g.record.position, g.lines); }

int LineOfPosition(SourcePosition position) {
    if (position == kPositionTrackingOff) return -1;
    return static_cast<int>(static_cast<std::uint32_t>(position) & kLineMask);
}

std::string FileOfPosition(SourcePosition position, const SourceLineTable& table) {
    if (position == kPositionTrackingOff) return kTrackingOff;
    const auto word = static_cast<std::uint32_t>(position);
    if (word > kLineMask) {
        const std::string& name = table.FileName(static_cast<int>(word >> kFileIndexShift));
        if (!name.empty()) return name;
    }
    return kMainModule;
}

const SourceLineTable& ProgramLineTable() { return g.lines; }

}  // namespace velinor::runtime
