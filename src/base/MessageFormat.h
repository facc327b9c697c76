#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace zozuz {

// One argument of a message format: a byte string for %s or an integer for %d.
using FormatArg = std::variant<std::string_view, std::int64_t>;

// Fills a message format in the style of the program's string table: %s takes the next string
// argument, %d the next integer, %% is a percent sign. A specifier without a matching argument is
// copied as it stands, so a malformed format can never read past the arguments.
std::string formatMessage(std::string_view format, std::initializer_list<FormatArg> args);

}  // namespace zozuz
