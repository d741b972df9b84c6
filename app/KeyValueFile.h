#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velinor::imageio {
class AtomicFile;
}

namespace velinor::app {

// The reader and writer of the program's key-value files (Settings.ini, lang.prf):
//
//   [group]            a line whose first character is '['
//   ; comment          first character after leading spaces is ';'
//   key = value        key trimmed of spaces, compared without regard to case of A-Z;
//                      value from the first non-space after '=' up to CR or LF,
//                      trailing spaces kept
//
// Files hold Windows-1252 bytes; every string crossing this interface is UTF-8. Lines are
// written with CR LF and read with LF or CR LF. One object holds at most one open file:
// opening another one, for reading or writing, closes the previous one first.
class KeyValueFile {
public:
    KeyValueFile();
    ~KeyValueFile();
    KeyValueFile(const KeyValueFile&) = delete;
    KeyValueFile& operator=(const KeyValueFile&) = delete;

    // Reads the whole file into memory. False when it cannot be opened or read (or is larger
    // than any settings file could sensibly be).
    bool OpenForRead(const std::string& path);
    // Limits ReadString to the lines of the named group; an empty name selects the lines before
    // the first group header. False (and every later read yields its default) when no such
    // group exists.
    bool SelectGroup(const std::string& name);
    // The value of the first matching key of the selected part; fallback when there is none.
    std::string ReadString(const std::string& key, const std::string& fallback) const;

    // Creates the file anew, replacing an existing one when ClosePrefs succeeds: the lines go to
    // a temporary file first, so a save that fails part-way leaves the old file intact.
    bool CreateForWrite(const std::string& path);
    // Appends "[name]". False when nothing is open for writing or the name cannot be stored.
    bool WriteGroup(const std::string& name);
    // Appends "key = value". An empty key writes nothing and counts as success. False when the
    // key or value cannot be stored faithfully (a character outside Windows-1252, a line break,
    // or '=' in the key) or the write failed; nothing is written then.
    bool WriteString(const std::string& key, const std::string& value);

    // Closes the open file. True when every line written since CreateForWrite reached it and it
    // replaced the old file.
    bool ClosePrefs();

    // True when key and value could be written by WriteString (for checks before a file is
    // replaced).
    static bool Storable(const std::string& key, const std::string& value);

private:
    bool WriteLine(const std::string& bytes);
    void BuildIndex() const;

    std::string text_;           // the file read, Windows-1252 bytes
    // Keys of the selected part -> their values, both in text_ (compared with A-Z folded to
    // lower case), built at the first ReadString after a file is opened or a group selected.
    struct FoldedHash {
        std::size_t operator()(std::string_view key) const;
    };
    struct FoldedEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };
    mutable std::unordered_map<std::string_view, std::string_view, FoldedHash, FoldedEqual> index_;
    mutable bool indexed_ = false;
    bool reading_ = false;
    bool groupMissing_ = false;
    std::size_t scopeStart_ = 0;
    std::unique_ptr<imageio::AtomicFile> out_;
    bool writeFailed_ = false;
};

}  // namespace velinor::app
