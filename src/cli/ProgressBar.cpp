#include "cli/ProgressBar.h"

#include <algorithm>
#include <utility>

namespace zozuz {

ProgressBar::ProgressBar(std::function<void(std::string_view)> write, std::uint64_t total)
    : write_(std::move(write)), total_(total) {}

void ProgressBar::update(std::uint64_t done) {
    // An empty run is complete from the start; no division by a zero total.
    const int percent = total_ == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
    if (percent == shown_) return;
    shown_ = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::string line = "\rzozuz-cli: [";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kWidth - filled), ' ');
    line += "] " + std::to_string(percent) + "%";
    write_(line);
}

void ProgressBar::end() {
    if (shown_ < 0) return;
    write_("\n");
    shown_ = -1;
}

}  // namespace zozuz
