#pragma once

#include <optional>
#include <string>

#include "platform/host/Clipboard.h"

namespace zozuz {

// The headless host's clipboard: what was put stays in memory. A test stands in for another program
// with offerText, which leaves no bytes of the program's own format beside the text, or with
// offerFromOwner, which plays an owner that fails to deliver what it offers.
class MemoryClipboard final : public Clipboard {
public:
    void put(const std::string& text, const std::string& bytes) override {
        textOffered_ = true;
        text_ = text;
        bytes_ = bytes;
    }
    bool hasText() const override { return textOffered_; }
    std::optional<std::string> bytes() const override { return bytes_; }
    std::optional<std::string> text() const override { return text_; }

    void offerText(std::string text) { offerFromOwner(std::move(text), std::nullopt); }
    // An owner that offers text and answers each read as given: no value is a format it refuses,
    // never delivers, or (for bytes) does not offer, which a reader cannot tell apart either. The
    // bytes are taken as they come, malformed ones too.
    void offerFromOwner(std::optional<std::string> text, std::optional<std::string> bytes) {
        textOffered_ = true;
        text_ = std::move(text);
        bytes_ = std::move(bytes);
    }
    void clear() {
        textOffered_ = false;
        text_.reset();
        bytes_.reset();
    }

private:
    bool textOffered_ = false;
    std::optional<std::string> text_;   // unset while textOffered_ is false
    std::optional<std::string> bytes_;
};

}  // namespace zozuz
