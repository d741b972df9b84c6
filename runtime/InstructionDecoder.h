#pragma once

#include <cstddef>
#include <cstdint>

namespace velinor::runtime {

// What the fault handler needs to know of one machine instruction.
struct DecodedInstruction {
    std::size_t length = 0;   // bytes; 0 when the instruction could not be read or decoded
    bool privileged = false;  // allowed only in ring 0 (in, out, hlt, control registers)
    bool call = false;        // a call: what follows it is a return address
};

// Decodes the x86-64 instruction at an address of this process. Memory that cannot be read
// (a jump to a wild address) gives length 0 instead of a second fault. Allocates nothing and
// may be called from a signal handler.
DecodedInstruction DecodeInstructionAt(std::uintptr_t address) noexcept;

// A call instruction that ends just before an address, making the address a return address.
struct CallSite {
    bool found = false;
    bool direct = false;          // call rel32: the target is known
    std::uintptr_t target = 0;    // where a direct call goes
};

// The call that ends just before the address, if any. Safe in a signal handler.
CallSite CallEndingAt(std::uintptr_t address) noexcept;

// Copies size bytes from an address of this process, all or nothing: true when every byte
// could be read. Safe in a signal handler.
bool ReadOwnBlock(std::uintptr_t address, void* into, std::size_t size) noexcept;

// Copies up to size bytes from an address of this process, stopping at the first byte that
// cannot be read; returns how many were copied. Safe in a signal handler.
std::size_t ReadOwnMemory(std::uintptr_t address, unsigned char* into, std::size_t size) noexcept;

}  // namespace velinor::runtime
