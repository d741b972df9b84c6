#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/ProgramState.h"

// Editing the batch list: adding from the explorer list, removing, sorting and moving entries.
namespace velinor::app {

// Size in bytes of the file at path; -1 when nothing is there, -2 for a folder. Anything else
// that is not a regular file (a device, a pipe) reports -1: it is not a picture to read.
std::int64_t FileSize(const std::string& path);

// True for the extensions a picture is added under (imageio::kBatchAdd), compared exactly.
// The explorer shows other spellings too.
bool IsBatchExtension(const std::string& extension);

// Adds every entry of LstExplorer that is a file, is selected and has a batch extension, in
// list order, as its full path. An empty, missing or folder entry is refused with a warning
// naming it; the others still follow. The same file may be listed many times.
void AddExplorerSelection(ProgramState& state);

// The full path of entry index of LstBatch.
std::string BatchEntryPath(const ProgramState& state, int index);

// The entries of LstBatch, first to last, as the run processes them.
std::vector<std::string> BatchEntries(const ProgramState& state);

// Removes the selected entry and selects the one that moved into its place.
void RemoveSelectedEntry(ProgramState& state);

// Sorts the entries descending, letters compared without regard to case.
void SortEntriesDescending(ProgramState& state);

// Swaps the selected entry with its neighbour (offset -1 above, +1 below) and selects it there.
// Without a selection the user is told so; at either end of the list nothing happens.
void MoveSelectedEntry(ProgramState& state, int offset);

// Orders two texts for the batch sort: true when a comes before b, that is a is greater than
// b with the letters A to Z compared as lower case.
bool SortsBefore(const std::string& a, const std::string& b);

}  // namespace velinor::app
