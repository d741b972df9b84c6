#pragma once

#include <string>
#include <string_view>

namespace velinor::render {

// Decodes UTF-8 text. Every byte that does not start a well-formed sequence (stray
// continuation bytes, overlong forms, surrogates, values above U+10FFFF, cut-off sequences)
// becomes one U+FFFD, so any byte string decodes without reading past its end.
std::u32string DecodeUtf8(std::string_view text);

// Appends code as UTF-8; a surrogate or a value above U+10FFFF is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace velinor::render
