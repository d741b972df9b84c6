#pragma once

#include <cstdint>

namespace velinor::runtime {

// Fault codes as the report knows them (the numbers of the Windows exception codes, which the
// report's descriptions were written for).
namespace fault {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kAccessViolation = 0xC0000005;
inline constexpr std::uint32_t kInvalidHandle = 0xC0000008;
inline constexpr std::uint32_t kIllegalInstruction = 0xC000001D;
inline constexpr std::uint32_t kNoncontinuable = 0xC0000025;
inline constexpr std::uint32_t kInvalidDisposition = 0xC0000026;
inline constexpr std::uint32_t kFloatDenormalOperand = 0xC000008D;
inline constexpr std::uint32_t kFloatDivideByZero = 0xC000008E;
inline constexpr std::uint32_t kFloatInexactResult = 0xC000008F;
inline constexpr std::uint32_t kFloatInvalidOperation = 0xC0000090;
inline constexpr std::uint32_t kFloatOverflow = 0xC0000091;
inline constexpr std::uint32_t kFloatStackCheck = 0xC0000092;
inline constexpr std::uint32_t kFloatUnderflow = 0xC0000093;
inline constexpr std::uint32_t kIntegerDivideByZero = 0xC0000094;
inline constexpr std::uint32_t kIntegerOverflow = 0xC0000095;
inline constexpr std::uint32_t kPrivilegedInstruction = 0xC0000096;
inline constexpr std::uint32_t kStackOverflow = 0xC00000FD;
inline constexpr std::uint32_t kControlCExit = 0xC000013A;
inline constexpr std::uint32_t kDllInitFailed = 0xC0000142;
inline constexpr std::uint32_t kBreakpoint = 0x80000003;
inline constexpr std::uint32_t kSingleStep = 0x80000004;
}  // namespace fault

inline constexpr const char* kUnknownFaultDescription = "UNKNOWN Error";

// The English description of a fault code; "UNKNOWN Error" for a code without one.
const char* FaultDescription(std::uint32_t code) noexcept;

// The fault code of a caught signal: signal number, the kernel's reason (si_code) and whether
// the faulting instruction is a privileged one. Stack overflows are told apart by the caller.
std::uint32_t FaultCodeOfSignal(int signal, int reason, bool privilegedInstruction) noexcept;

}  // namespace velinor::runtime
