#pragma once

#include <string>
#include <string_view>

namespace zozuz {

// A hint is one string: the text before its first "|" is the short part, shown as a tooltip, and
// the text after it the long part, shown on the status line. A hint without "|" is both.
std::string_view shortHintOf(std::string_view hint);
std::string_view longHintOf(std::string_view hint);

// The tooltip of a control linked to a command with a shortcut: "text (shortcut)". An empty text
// stays empty, as it shows no tooltip at all.
std::string tooltipWithShortCut(std::string_view text, std::string_view shortCutText);

}  // namespace zozuz
