#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// The text an error box shows for a message: the message itself, with a final period added when the
// message does not already end in punctuation. The rule looks at the first byte of the message's last
// character and adds "." when that byte lies above '.' (0x2E); a trailing non-ASCII character of a
// UTF-8 message counts as one character starting at its lead byte, so a message that ends in a
// Chinese character gets a period while one ending in ')', '!', ' ' or '.' does not. The empty
// message stays empty.
std::string withFinalPeriod(std::string_view message);

}  // namespace zozuz
