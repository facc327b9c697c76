#pragma once

#include <string_view>

namespace zozuz {

// Whether two menu captions name the same entry: equal once their access-key marks are taken out
// ("&" before a character; "&&" stands for a plain "&") and ASCII letters are compared without
// case. Other characters, Chinese ones included, compare byte for byte.
bool SameMenuCaption(std::string_view a, std::string_view b);

}  // namespace zozuz
