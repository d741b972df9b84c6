#include "runtime/InstructionDecoder.h"

#include <Zydis/Zydis.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstring>

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

bool ReadOwnBlock(std::uintptr_t address, void* into, std::size_t size) noexcept {
    iovec local = {into, size};
    iovec remote = {reinterpret_cast<void*>(address), size};
    return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size);
}

CallSite CallEndingAt(std::uintptr_t address) noexcept {
    constexpr unsigned char kCallRel32 = 0xE8;
    constexpr std::size_t kCallRel32Length = 5;
    // Calls are 2 (call rax) to 8 bytes long (call [r12+disp32]); the direct call, the common
    // case, is 5.
    constexpr std::size_t kLengths[] = {5, 2, 3, 4, 6, 7, 8};
    CallSite site;
    for (std::size_t length : kLengths) {
        if (address < length) continue;
        const DecodedInstruction before = DecodeInstructionAt(address - length);
        if (!before.call || before.length != length) continue;
        site.found = true;
        unsigned char bytes[kCallRel32Length];
        if (length == kCallRel32Length && ReadOwnMemory(address - length, bytes, sizeof bytes) == sizeof bytes &&
            bytes[0] == kCallRel32) {
            std::int32_t displacement = 0;
            std::memcpy(&displacement, bytes + 1, sizeof displacement);
            site.direct = true;
            site.target = address + static_cast<std::uintptr_t>(static_cast<std::intptr_t>(displacement));
        }
        return site;
    }
    return site;
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
    decoded.call = instruction.mnemonic == ZYDIS_MNEMONIC_CALL;
    return decoded;
}

}  // namespace velinor::runtime
