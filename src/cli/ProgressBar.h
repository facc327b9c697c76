#pragma once

#include <functional>
#include <string_view>
#include <cstdint>
#include <string>

namespace zozuz {

// A one-line progress bar for a terminal, redrawn in place whenever its whole percentage changes.
class ProgressBar {
public:
    // `write` receives each redraw; `total` is the number of bytes the run goes through.
    ProgressBar(std::function<void(std::string_view)> write, std::uint64_t total);

    void update(std::uint64_t done);
    // Ends the bar's line, if anything was drawn, so that whatever follows starts on a line of its own.
    void end();

private:
    std::function<void(std::string_view)> write_;
    std::uint64_t total_;
    int shown_ = -1;
};

}  // namespace zozuz
