#pragma once

#include <string>

#include "app/ProgramState.h"

// The folder given at start: its files, found recursively, and those the batch list takes.
namespace velinor::app {

// Scans folder recursively, depth first, and appends the full path of every file found to
// ScanFiles. Entries of a folder are taken in name order; links to folders are not followed,
// so a link that points back up the tree cannot make the scan endless.
void ScanFolder(ProgramState& state, const std::string& folder);

// True when a scanned file goes on the batch list: its extension is jpg, png, tga or bmp, all
// lower or all upper case.
bool ListedPicture(const std::string& path);

}  // namespace velinor::app
