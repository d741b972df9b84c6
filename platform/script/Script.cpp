#include "platform/script/Script.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/script/ControlNames.h"

namespace velinor::platform {
namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Thrown inside the parser only; ParseScript turns it into a ScriptError.
struct LineError {
    std::string message;
};

std::vector<Token> Tokenise(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '#') {
            break;   // the rest of the line is a comment
        } else if (c == '"') {
            Token token{"", true};
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    token.text += d;
                    continue;
                }
                if (i >= line.size()) break;
                char e = line[i++];
                switch (e) {
                case '"': token.text += '"'; break;
                case '\\': token.text += '\\'; break;
                case 'n': token.text += '\n'; break;
                case 'r': token.text += '\r'; break;
                case 't': token.text += '\t'; break;
                default: throw LineError{std::string("unknown escape \\") + e + " in string"};
                }
            }
            if (!closed) throw LineError{"unterminated string"};
            tokens.push_back(std::move(token));
        } else {
            Token token;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '"') {
                token.text += line[i++];
            }
            tokens.push_back(std::move(token));
        }
    }
    return tokens;
}

// Decimal with an optional sign, or 0x and hexadecimal digits.
bool IsNumber(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (std::size_t i = 2; i < text.size(); ++i) {
            if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
        }
        return true;
    }
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

class LineParser {
public:
    LineParser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    bool AtEnd() const { return next_ >= tokens_.size(); }

    const Token& Next(const char* what) {
        if (AtEnd()) throw LineError{std::string("missing ") + what};
        return tokens_[next_++];
    }

    std::string Word(const char* what) {
        const Token& token = Next(what);
        if (token.quoted) throw LineError{std::string("expected ") + what + ", found a string"};
        return token.text;
    }

    bool PeekWord(std::string_view word) const {
        return !AtEnd() && !tokens_[next_].quoted && tokens_[next_].text == word;
    }

    std::string String(const char* what) {
        const Token& token = Next(what);
        if (!token.quoted) throw LineError{std::string("expected ") + what + " in double quotes"};
        return token.text;
    }

    long long Number(const char* what, long long low = INT_MIN, long long high = INT_MAX) {
        std::string text = Word(what);
        if (!IsNumber(text)) throw LineError{"\"" + text + "\" is not a number (" + what + ")"};
        bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        errno = 0;
        long long value = hex ? std::strtoll(text.c_str() + 2, nullptr, 16) : std::strtoll(text.c_str(), nullptr, 10);
        if (errno != 0 || value < low || value > high) {
            throw LineError{std::string(what) + " " + text + " is out of range " + std::to_string(low) + ".." +
                            std::to_string(high)};
        }
        return value;
    }

    int Int(const char* what, long long low = INT_MIN, long long high = INT_MAX) {
        return static_cast<int>(Number(what, low, high));
    }

    ControlId Control() {
        std::string text = Word("control");
        if (auto id = ControlIdFromName(text)) return *id;
        char* end = nullptr;
        errno = 0;
        long value = std::strtol(text.c_str(), &end, 10);
        if (!text.empty() && *end == '\0' && errno == 0 && value > 0 && value <= INT_MAX &&
            std::isdigit(static_cast<unsigned char>(text[0]))) {
            return static_cast<ControlId>(value);
        }
        throw LineError{"unknown control \"" + text + "\""};
    }

    void End() {
        if (!AtEnd()) {
            const Token& extra = tokens_[next_];
            throw LineError{"unexpected \"" + extra.text + "\" at the end of the line"};
        }
    }

private:
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

constexpr long long kColourMax = 0xFFFFFF;

void ParseAnswer(LineParser& p, Command& c) {
    std::string what = p.Word("answer kind");
    auto cancelled = [&] {
        if (p.PeekWord("cancel")) {
            p.Word("cancel");
            c.cancel = true;
        }
        return c.cancel;
    };
    if (what == "open") {
        c.kind = CommandKind::AnswerOpen;
        if (!cancelled()) c.strings.push_back(p.String("path"));
    } else if (what == "save") {
        c.kind = CommandKind::AnswerSave;
        if (!cancelled()) {
            c.strings.push_back(p.String("path"));
            c.numbers.push_back(p.Int("pattern index", 0));
        }
    } else if (what == "folder") {
        c.kind = CommandKind::AnswerFolder;
        if (!cancelled()) c.strings.push_back(p.String("path"));
    } else if (what == "colour") {
        c.kind = CommandKind::AnswerColour;
        if (!cancelled()) c.numbers.push_back(p.Int("colour", 0, kColourMax));
    } else if (what == "font") {
        c.kind = CommandKind::AnswerFont;
        if (!cancelled()) {
            c.font.face = p.String("font face");
            std::string size = p.Word("font size");
            char* end = nullptr;
            double points = std::strtod(size.c_str(), &end);
            if (size.empty() || *end != '\0' || !(points > 0 && points <= 1000)) {
                throw LineError{"\"" + size + "\" is not a font size in points"};
            }
            c.font.sizeTenths = static_cast<int>(std::lround(points * 10));
            while (!p.AtEnd()) {
                std::string style = p.Word("font style");
                if (style == "bold") c.font.bold = true;
                else if (style == "italic") c.font.italic = true;
                else if (style == "underline") c.font.underline = true;
                else if (style == "strikeout") c.font.strikeOut = true;
                else if (style == "colour") {
                    c.font.colour = static_cast<render::Color>(p.Int("colour", 0, kColourMax));
                    c.fontColourGiven = true;
                } else {
                    throw LineError{"unknown font style \"" + style + "\""};
                }
            }
        }
    } else if (what == "message") {
        c.kind = CommandKind::AnswerMessage;
        std::string answer = p.Word("message answer");
        if (answer == "yes") c.message = MessageAnswer::Yes;
        else if (answer == "no") c.message = MessageAnswer::No;
        else if (answer == "ok") c.message = MessageAnswer::Ok;
        else throw LineError{"message answer must be yes, no or ok, not \"" + answer + "\""};
    } else if (what == "quality") {
        c.kind = CommandKind::AnswerQuality;
        c.numbers.push_back(p.Int("quality"));
        // "keep" ticks the choice to keep a JPEG's own quality, "lossy" clears it.
        if (p.PeekWord("keep") || p.PeekWord("lossy")) c.numbers.push_back(p.Word("keep") == "keep" ? 1 : 0);
    } else if (what == "picker") {
        c.kind = CommandKind::AnswerPicker;
        if (p.PeekWord("close")) {
            p.Word("close");
            c.cancel = true;
        } else {
            c.numbers.push_back(p.Int("x"));
            c.numbers.push_back(p.Int("y"));
        }
    } else if (what == "cancel-batch") {
        c.kind = CommandKind::AnswerCancelBatch;
        c.numbers.push_back(p.Int("picture count", 0));
    } else {
        throw LineError{"unknown answer \"" + what + "\""};
    }
}

void ParsePrint(LineParser& p, Command& c) {
    std::string what = p.Word("what to print");
    if (what == "status") {
        c.kind = CommandKind::PrintStatus;
        return;
    }
    if (what == "image") {
        c.kind = CommandKind::PrintImage;
        c.numbers.push_back(p.Int("image number", 0));
        return;
    }
    if (what == "text") c.kind = CommandKind::PrintText;
    else if (what == "state") c.kind = CommandKind::PrintState;
    else if (what == "visible") c.kind = CommandKind::PrintVisible;
    else if (what == "enabled") c.kind = CommandKind::PrintEnabled;
    else if (what == "items") c.kind = CommandKind::PrintItems;
    else if (what == "geometry") c.kind = CommandKind::PrintGeometry;
    else throw LineError{"cannot print \"" + what + "\""};
    c.control = p.Control();
}

Command ParseLine(LineParser& p) {
    Command c;
    std::string verb = p.Word("command");
    if (verb == "click") {
        c.kind = CommandKind::Click;
        c.control = p.Control();
    } else if (verb == "set") {
        c.kind = CommandKind::Set;
        c.control = p.Control();
        c.numbers.push_back(p.Int("value"));
    } else if (verb == "type") {
        c.kind = CommandKind::Type;
        c.control = p.Control();
        c.strings.push_back(p.String("text"));
    } else if (verb == "select") {
        c.kind = CommandKind::Select;
        c.control = p.Control();
        if (p.PeekWord("all")) {
            p.Word("all");
            c.all = true;
        } else {
            c.numbers.push_back(p.Int("entry index", 0));
            while (!p.AtEnd()) c.numbers.push_back(p.Int("entry index", 0));
        }
    } else if (verb == "key") {
        c.kind = CommandKind::Key;
        c.keyText = p.String("keys");
        if (!ParseKeys(c.keyText, c.keys)) throw LineError{"unknown keys \"" + c.keyText + "\""};
    } else if (verb == "pointer") {
        c.kind = CommandKind::Pointer;
        c.numbers.push_back(p.Int("x"));
        c.numbers.push_back(p.Int("y"));
    } else if (verb == "hover") {
        c.kind = CommandKind::Hover;
        c.control = p.Control();
    } else if (verb == "toolbar") {
        c.kind = CommandKind::Toolbar;
        std::string item = p.Word("toolbar item");
        auto parsed = ToolbarItemFromName(item);
        if (!parsed) throw LineError{"unknown toolbar item \"" + item + "\""};
        c.toolbarItem = *parsed;
    } else if (verb == "drop") {
        c.kind = CommandKind::Drop;
        c.strings.push_back(p.String("path"));
        while (!p.AtEnd()) c.strings.push_back(p.String("path"));
    } else if (verb == "close") {
        c.kind = CommandKind::Close;
        c.numbers.push_back(p.AtEnd() ? 0 : p.Int("window", 0));
    } else if (verb == "answer") {
        ParseAnswer(p, c);
    } else if (verb == "print") {
        ParsePrint(p, c);
    } else if (verb == "save-image") {
        c.kind = CommandKind::SaveImage;
        c.numbers.push_back(p.Int("image number", 0));
        c.strings.push_back(p.String("path"));
    } else if (verb == "fault") {
        c.kind = CommandKind::Fault;
        const std::string what = p.Word("fault");
        if (what == "divzero") c.fault = FaultKind::DivideByZero;
        else if (what == "segv") c.fault = FaultKind::NullWrite;
        else if (what == "exception") c.fault = FaultKind::Exception;
        else throw LineError{"unknown fault \"" + what + "\""};
    } else {
        throw LineError{"unknown command \"" + verb + "\""};
    }
    p.End();
    return c;
}

bool IsKeyName(std::string_view name) {
    static constexpr std::string_view kNames[] = {"Shift", "Alt", "Enter", "Return", "Escape", "Esc", "Tab",
                                                  "Space", "Delete", "Backspace", "Insert", "Home", "End",
                                                  "PageUp", "PageDown", "Up", "Down", "Left", "Right"};
    for (auto known : kNames) {
        if (name == known) return true;
    }
    if (name.size() == 1) return std::isalnum(static_cast<unsigned char>(name[0])) != 0;
    // Function keys F1 to F12: digits only after the F.
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
        int number = 0;
        for (char c : name.substr(1)) {
            if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
            number = number * 10 + (c - '0');
        }
        return number >= 1 && number <= 12;
    }
    return false;
}

}  // namespace

std::string ScriptError::Describe() const {
    return "line " + std::to_string(line) + ": " + message + ": " + text;
}

bool ParseKeys(std::string_view text, std::vector<Key>& keys) {
    keys.clear();
    if (text.empty()) return false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('+', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view name = text.substr(start, end - start);
        if (name == "Ctrl" || name == "Control") {
            keys.push_back(Key::Control);
        } else if (name == "A" || name == "a") {
            keys.push_back(Key::A);
        } else if (!IsKeyName(name)) {
            keys.clear();
            return false;
        }
        start = end + 1;
    }
    return true;
}

ScriptParse ParseScript(std::string_view text) {
    ScriptParse result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);   // UTF-8 byte order mark
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        start = end + 1;
        try {
            LineParser parser(Tokenise(line));
            if (parser.AtEnd()) continue;   // blank or comment
            Command command = ParseLine(parser);
            command.line = number;
            result.script.commands.push_back(std::move(command));
        } catch (const LineError& error) {
            result.script.commands.clear();
            result.error = ScriptError{number, std::string(line), error.message};
            return result;
        }
    }
    return result;
}

}  // namespace velinor::platform
