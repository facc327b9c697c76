#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/host/Clipboard.h"

namespace zozuz {

// The system's clipboard: CF_UNICODETEXT for every other program (with CR LF between lines), and the
// exact code-page bytes in a format the program registers under its own name.
class Win32Clipboard final : public Clipboard {
public:
    // How long a read waits for an owner on another thread to show that it takes messages.
    static constexpr std::chrono::milliseconds kPatience{500};

    Win32Clipboard();

    void put(const std::string& text, const std::string& bytes) override;
    bool hasText() const override;
    std::optional<std::string> bytes() const override;
    std::optional<std::string> text() const override;

private:
    unsigned bytesFormat_;  // the registered format; 0 when the system refused to register it
};

}  // namespace zozuz
