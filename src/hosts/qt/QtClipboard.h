#pragma once

#include <optional>
#include <string>

#include "platform/host/Clipboard.h"

namespace zozuz {

// The desktop's clipboard through Qt. Beside the Unicode text, the exact bytes travel in a format of
// the program's own, which other programs ignore.
class QtClipboard final : public Clipboard {
public:
    // The name of the program's own format.
    static const char* bytesFormat();

    void put(const std::string& text, const std::string& bytes) override;
    bool hasText() const override;
    std::optional<std::string> bytes() const override;
    std::optional<std::string> text() const override;
};

}  // namespace zozuz
