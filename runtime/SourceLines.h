#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velinor::runtime {

// A source position as one 32-bit word: the file index in the high 8 bits, the line in the
// low 24 bits. File index 0 has no name ("Main Module").
using SourcePosition = std::int32_t;

// Position tracking is off: the program has no line information.
inline constexpr SourcePosition kPositionTrackingOff = -1;
inline constexpr int kFileIndexShift = 24;
inline constexpr std::uint32_t kLineMask = 0xFFFFFF;
inline constexpr int kMaxFileIndex = 255;

// The file and line of every instruction of the running program, taken from its own debug
// information once, before it is needed: looking an address up afterwards neither allocates
// nor takes a lock, so a signal handler may do it.
class SourceLineTable {
public:
    // Reads the line information of the program file (/proc/self/exe). False when it has none;
    // the table is then empty and every look-up says tracking is off.
    bool Load();
    // Reads the line information of the given ELF file, loaded at loadBias.
    bool LoadFrom(const std::string& path, std::uintptr_t loadBias);

    bool Loaded() const { return loaded_; }

    // The position of the instruction at a run-time address: kPositionTrackingOff without line
    // information, 0 for an address outside the program's own code.
    SourcePosition PositionOf(std::uintptr_t address) const noexcept;

    // The name of a file index; empty for index 0 and unknown indices.
    const std::string& FileName(int index) const;

    // The name as it is reported: relative to the source folder for the program's own files
    // (whatever folder or cache compiled them), absolute for others. compileDir is the
    // compilation's working folder; sourceRoot the source folder of this build.
    static std::string DisplayName(const std::string& path, const std::string& compileDir,
                                   const std::string& sourceRoot);

private:
    struct Row {
        std::uint32_t offset;     // first address the row covers, from base_
        SourcePosition position;  // 0: past the end of a sequence
    };

    std::uintptr_t base_ = 0;               // lowest address with line information
    std::vector<Row> rows_;                 // sorted by offset
    std::vector<std::string> files_;        // index 0 unused
    bool loaded_ = false;
};

}  // namespace velinor::runtime
