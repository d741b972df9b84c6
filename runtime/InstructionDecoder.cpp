#include "runtime/InstructionDecoder.h"

#include <Zydis/Zydis.h>
#include <sys/uio.h>
#include <unistd.h>

namespace velinor::runtime {

namespace {
// The longest x86 instruction.
constexpr std::size_t kMaxInstructionLength = ZYDIS_MAX_INSTRUCTION_LENGTH;
}  // namespace

std::size_t ReadOwnMemory(std::uintptr_t address, unsigned char* into, std::size_t size) noexcept {
    // The kernel copies byte by byte and stops at the first unreadable one, where a plain read
    // would fault again inside the handler.
    constexpr std::size_t kMaxBytes = 16;
    if (size > kMaxBytes) size = kMaxBytes;
    iovec local[kMaxBytes];
    iovec remote[kMaxBytes];
    for (std::size_t i = 0; i < size; ++i) {
        local[i] = {into + i, 1};
        remote[i] = {reinterpret_cast<void*>(address + i), 1};
    }
    const ssize_t copied = process_vm_readv(getpid(), local, size, remote, size, 0);
    return copied > 0 ? static_cast<std::size_t>(copied) : 0;
}

DecodedInstruction DecodeInstructionAt(std::uintptr_t address) noexcept {
    unsigned char bytes[kMaxInstructionLength] = {};
    const std::size_t available = ReadOwnMemory(address, bytes, sizeof bytes);
    if (available == 0) return {};

    ZydisDecoder decoder;
    if (ZYAN_FAILED(ZydisDecoderInit(&decoder, ZYDIS_MACHINE_MODE_LONG_64, ZYDIS_STACK_WIDTH_64))) return {};
    ZydisDecodedInstruction instruction;
    if (ZYAN_FAILED(ZydisDecoderDecodeInstruction(&decoder, nullptr, bytes, available, &instruction))) return {};
    DecodedInstruction decoded;
    decoded.length = instruction.length;
    decoded.privileged = (instruction.attributes & ZYDIS_ATTRIB_IS_PRIVILEGED) != 0;
    return decoded;
}

}  // namespace velinor::runtime
