#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace velinor::platform {

// One line of a script, parsed. The language (one command a line, '#' starts a comment,
// strings in double quotes with \" \\ \n \r \t):
//   click ID | set ID VALUE | type ID "text" | select ID I [I...] | select ID all
//   key "Ctrl+A" | pointer X Y | hover ID | toolbar ITEM | drop "PATH"... | close [WINDOW]
//   answer open "PATH"|cancel | answer save "PATH" INDEX|cancel | answer folder "PATH"|cancel
//   answer colour 0xBBGGRR|cancel | answer font "FACE" SIZE [bold] [italic] [underline]
//       [strikeout] [colour 0xBBGGRR] | answer font cancel | answer message yes|no|ok
//   answer quality N [keep|lossy] | answer picker X Y | answer picker close | answer cancel-batch AFTER
//   print text|state|visible|enabled|items|geometry ID | print status | print image N
//   save-image N "PATH" | fault divzero|segv|exception
// ID is a control's name (BtnOpen) or number; ITEM a toolbar item's name (TbGerman) or number.
enum class CommandKind {
    Click,
    Set,
    Type,
    Select,
    Key,
    Pointer,
    Hover,
    Toolbar,
    Drop,
    Close,
    AnswerOpen,
    AnswerSave,
    AnswerFolder,
    AnswerColour,
    AnswerFont,
    AnswerMessage,
    AnswerQuality,
    AnswerPicker,
    AnswerCancelBatch,
    PrintText,
    PrintState,
    PrintVisible,
    PrintEnabled,
    PrintItems,
    PrintGeometry,
    PrintStatus,
    PrintImage,
    SaveImage,
    Fault,
};

// fault: a real processor fault in the program's own code, or a C++ exception that nothing
// catches, raised where the script stands.
enum class FaultKind { DivideByZero, NullWrite, Exception };

struct Command {
    CommandKind kind = CommandKind::Close;
    int line = 0;                      // 1-based line number in the script
    ControlId control = ControlId::None;
    ToolbarItem toolbarItem = ToolbarItem::None;
    std::vector<int> numbers;          // values, indices, coordinates, image numbers, window
    std::vector<std::string> strings;  // texts and paths
    std::vector<Key> keys;             // key: the keys held down
    std::string keyText;               // key: as written, for the log
    bool all = false;                  // select ID all
    bool cancel = false;               // answer ... cancel, answer picker close
    FontAnswer font;                   // answer font
    bool fontColourGiven = false;
    MessageAnswer message = MessageAnswer::Ok;
    FaultKind fault = FaultKind::DivideByZero;   // fault
};

struct ScriptError {
    int line = 0;
    std::string text;       // the offending line as written
    std::string message;    // what is wrong with it

    // "line 3: unknown control \"BtnOpn\": click BtnOpn"
    std::string Describe() const;
};

struct Script {
    std::vector<Command> commands;
};

struct ScriptParse {
    Script script;
    std::optional<ScriptError> error;   // set when a line is malformed; script is then empty
};

// Parses a whole script; stops at the first malformed line.
ScriptParse ParseScript(std::string_view text);

// Parses "Ctrl+A" into keys; names are Ctrl (or Control), Shift, Alt, letters and digits and
// the usual key names; only those the platform reports (Ctrl, A) appear in the result.
// Returns false for an empty or malformed combination.
bool ParseKeys(std::string_view text, std::vector<Key>& keys);

}  // namespace velinor::platform
