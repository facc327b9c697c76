#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zozuz {

// How a menu caption marks its access key. The key is the character after the last single "&";
// two ampersands in a row stand for one literal ampersand and mark nothing. Captions are UTF-8, so
// a character may be several bytes long; access keys compare without case for ASCII letters.

// Where the access key's "&" sits in `caption`, or npos when the caption marks no key (no single
// "&", or one at the very end).
std::size_t accessKeyMarkOf(std::string_view caption);

// The access key of `caption` as written (one UTF-8 character), or empty for none.
std::string_view accessKeyOf(std::string_view caption);

// The first character the caption displays (a literal "&" for a leading "&&"), or empty for an
// empty caption. A single "&" shows nothing itself, so it is passed over.
std::string_view firstShownCharacterOf(std::string_view caption);

// Whether two characters are the same key: equal bytes, or ASCII letters equal without case.
bool sameAccessKey(std::string_view a, std::string_view b);

// The length in bytes of the UTF-8 character that starts at `text[at]` (1 for ASCII, for bytes
// that cannot start a character and for a character cut short by the end of the text).
std::size_t characterLengthAt(std::string_view text, std::size_t at);

}  // namespace zozuz
