#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "imageio/PictureKinds.h"
#include "stamping/ReadFiles.h"

// Where a stamped picture goes: its format and name, and the temporary file it is written to
// before it takes its name.
namespace velinor::stamping {

// What happens when the output's name is taken.
enum class OnExists {
    Unique,     // the next free name: photo-1.jpg, photo-2.jpg, ...
    Skip,       // the picture is not written
    Overwrite,  // the file there is replaced (never a source of the run)
};

// "unique", "skip" or "overwrite"; nothing for any other word.
std::optional<OnExists> OnExistsNamed(std::string_view name);

struct OutputFormat {
    std::uint32_t encoder = 0;
    std::string extension;   // without the dot
};

// The format of a picture's output: kind, or (kind empty) the source's own kind when the program
// writes it, keeping the source's spelling of the extension, else JPEG.
OutputFormat FormatFor(const std::optional<imageio::PictureKind>& kind, const std::string& source);

// A file name made of a name template whose variables are filled in: every '/' becomes '_', so
// a name never leaves its folder. Empty for a name that is empty, "." or "..".
std::string SafeFileName(std::string name);

// The output file of one picture: a temporary file created anew in the output folder (never a
// file or link that was there), removed again unless Commit gives it its name. It is removed on
// SIGHUP as well; a program that catches SIGINT and SIGTERM lets the pictures in flight finish
// or fail, which removes it.
class PendingOutput {
public:
    // folder: the output folder (no trailing '/'); name: the file name wanted there.
    PendingOutput(std::string folder, std::string name);
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    // Creates the temporary file. False, with problem saying why, when the folder takes none.
    bool Create(std::string& problem);
    const std::string& TemporaryPath() const { return temporary_; }

    enum class Placed { Written, Skipped, Refused, Failed };
    struct Result {
        Placed placed = Placed::Failed;
        std::string path;       // where the picture went, or the name that was taken
        std::string problem;    // why it was skipped, refused or failed
    };
    // Gives the finished temporary file its name as onExists says. A name taken by a file or a
    // link is never written through; a name that reaches one of the sources is never replaced.
    Result Commit(OnExists onExists, const ReadFiles& reads);

private:
    std::string folder_;
    std::string name_;
    std::string temporary_;
    int signalSlot_ = -1;
};

// Removes what runs that were killed left in the output folders: for each folder, the temporary
// files of the names given (".NAME.PID-N.part", and the writer's own ".<that>.XXXXXX") whose
// process PID is not running on this machine. Each folder is read once. Returns how many files
// were removed.
int RemoveLeftovers(const std::map<std::string, std::set<std::string>>& namesByFolder);

// True when folder/name is taken by anything (a file, a folder, a link, even a dangling one).
bool NameTaken(const std::string& path);

}  // namespace velinor::stamping
