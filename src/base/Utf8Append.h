#pragma once

#include <string>

namespace zozuz {

// Appends the UTF-8 form of one Unicode character. The program's own strings are UTF-8; this is
// where decoded code-page characters join them.
void appendUtf8(std::string& out, char32_t c);

}  // namespace zozuz
