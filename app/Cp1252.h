#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between Windows-1252, the encoding of the program's key-value files on disk,
// and UTF-8, the encoding of every string in memory.
namespace velinor::app {

// Every Windows-1252 byte has a UTF-8 form; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value, so a
// file read and written again keeps its bytes.
std::string Cp1252ToUtf8(std::string_view bytes);

// Nothing when the text is not valid UTF-8 or holds a character Windows-1252 cannot store:
// such a value is refused rather than written with substitute characters.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

}  // namespace velinor::app
