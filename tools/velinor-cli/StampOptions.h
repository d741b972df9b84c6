#pragma once

#include <optional>
#include <string>
#include <vector>

#include "stamping/StampPicture.h"
#include "stamping/StampSettings.h"

// The options of velinor-cli stamp, in one table that parses them and lists them for --help
// (from which scripts/make-manpage writes the manual page).
namespace velinor::tools {

struct StampCommand {
    stamping::StampSettings settings;
    stamping::OutputChoices output;
    std::vector<std::string> inputs;
    std::string outputFolder;
    bool recursive = false;
    int jobs = 0;                  // 0: one a usable processor
    bool json = false;
    bool help = false;
    std::optional<std::string> preset;

    // Where the list comes from and which share of it this run takes.
    std::vector<std::string> filesFrom;     // list files, "-" for standard input
    bool nulSeparated = false;
    std::string base;
    std::optional<std::string> shard;       // "I/N"
    int shards = 0;
    bool skipExisting = false;
    bool onExistsGiven = false;
    std::optional<std::string> resume;      // an earlier run's --json log

    // The marks as the options build them; each becomes part of settings only when its own
    // option (--text, --logo, --frame) was given.
    stamping::TextMarkSettings text;
    stamping::LogoMarkSettings logo;
    stamping::TextureFrameSettings texture;
    stamping::CircleFrameSettings circles;
    bool textGiven = false, logoGiven = false, textureGiven = false, circlesGiven = false;
    bool anchorGiven = false;
    bool qualityGiven = false;
    std::optional<bool> lossless;   // --lossless given; else it follows from --quality
};

// Reads the arguments after "stamp" into command, over what it holds already (a preset's
// values). Nothing, with problem set, for arguments it does not understand.
bool ParseStampArguments(const std::vector<std::string>& arguments, StampCommand& command, std::string& problem);

// Reads one option as a preset file gives it: name without the dashes, and its value ("1" or
// "0" for a switch). False, with problem set, for an unknown name or a bad value.
bool ApplyStampOption(const std::string& name, const std::string& value, StampCommand& command, std::string& problem);

// Every option name of the table that a preset may set, in table order.
std::vector<std::string> PresetOptionNames();

// The marks of command put together into its settings; false, with problem, when the command
// makes no mark or misses what it needs.
bool FinishStampCommand(StampCommand& command, std::string& problem);

// One line per option, as velinor-cli --help lists them (the manual page is made from that).
std::string StampOptionList();
// velinor-cli stamp --help: the usage line, the options and the exit statuses.
std::string StampHelp();

}  // namespace velinor::tools
