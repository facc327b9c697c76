#pragma once

#include <optional>
#include <string>

#include "platform/host/Clipboard.h"

namespace zozuz {

// The headless host's clipboard: what was put stays in memory. A test stands in for another program
// with offerText, which leaves no bytes of the program's own format beside the text.
class MemoryClipboard final : public Clipboard {
public:
    void put(const std::string& text, const std::string& bytes) override {
        text_ = text;
        bytes_ = bytes;
    }
    bool hasText() const override { return text_.has_value(); }
    std::optional<std::string> bytes() const override { return bytes_; }
    std::optional<std::string> text() const override { return text_; }

    void offerText(std::string text) {
        text_ = std::move(text);
        bytes_.reset();
    }
    void clear() {
        text_.reset();
        bytes_.reset();
    }

private:
    std::optional<std::string> text_;
    std::optional<std::string> bytes_;
};

}  // namespace zozuz
