#include "ui/text/HintText.h"

#include "base/MessageFormat.h"

namespace zozuz {

std::string_view shortHintOf(std::string_view hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string_view::npos ? hint : hint.substr(0, bar);
}

std::string_view longHintOf(std::string_view hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

std::string tooltipWithShortCut(std::string_view text, std::string_view shortCutText) {
    if (text.empty()) return {};
    return formatMessage("%s (%s)", {text, shortCutText});
}

}  // namespace zozuz
