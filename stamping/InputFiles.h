#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "stamping/StampPicture.h"

namespace velinor::stamping {

// The pictures a run is given: each file as it is, and of each folder the files whose extension
// a folder given to the window would list (its sub-folders too when recursive, their layout
// kept under outputFolder). Folder entries are taken in name order. Numbers and the count are
// filled in. A name that is neither a file nor a folder gets a line in problems.
std::vector<StampJob> ListJobs(const std::vector<std::string>& inputs, bool recursive,
                               const std::string& outputFolder, std::vector<std::string>& problems);

// The names of a list file: one a line (a line's final carriage return dropped, so that a list
// written on Windows reads the same), or separated by NUL bytes, taken exactly. Empty names are
// left out.
std::vector<std::string> SplitFileList(std::string_view text, bool nulSeparated);

// Reads the list file path ("-": standard input) into names. False, with problem, when it
// cannot be read.
bool ReadFileList(const std::string& path, bool nulSeparated, std::vector<std::string>& names, std::string& problem);

struct ListRequest {
    std::vector<std::string> inputs;   // files and folders named on the command line
    // Names read from list files. One with a picture's extension is taken for a file without
    // asking the disk (a missing one fails when it is read), so that each share of a long list
    // on a shared file system looks only at its own pictures; other names are looked at as inputs
    // are (folders are walked).
    std::vector<std::string> listed;
    bool recursive = false;
    std::string outputFolder;
    // When set, relative inputs are taken from this folder, and every picture goes to the
    // folder under outputFolder that it sits in under base.
    std::string base;
};

// One entry of the whole list: a picture to stamp, or a name that could not be taken (problem).
struct ListedPicture {
    std::string source;
    std::string outputFolder;
    std::string problem;
};

struct PictureList {
    std::vector<ListedPicture> pictures;   // by ListKey, byte by byte; each file once
    int duplicates = 0;                    // names that reached a file listed already
};

// Every picture of request, in the order of their ListKey (so that every machine given the
// same list numbers it alike, whatever order the names came in), each path once.
PictureList ListPictures(const ListRequest& request);

// The pictures at places first, first + step, ... of list, each numbered by its place in the
// whole list; a name among them that could not be taken becomes a line of problems instead.
std::vector<StampJob> JobsAt(const PictureList& list, int first, int step, std::vector<std::string>& problems);

// What a path is known by in a list: made absolute against the working folder and cleaned of
// "." and ".." parts and doubled slashes (without asking the disk, so links stay as named).
std::string ListKey(const std::string& path);

// Creates folder and the folders above it that are missing. False, with problem, when it cannot.
bool MakeFolders(const std::string& folder, std::string& problem);

}  // namespace velinor::stamping
