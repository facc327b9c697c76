#include "document/StreamCipher.h"

#include <cstring>
#include <span>
#include <utility>

namespace zozuz {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

StreamCipher::StreamCipher(CipherDirection direction, bool plainInput, Sink sink, LeadByteSet leadBytes)
    : cipher_(direction), plainInput_(plainInput), sink_(std::move(sink)), lineBreaks_(leadBytes) {}

bool StreamCipher::feed(char* data, std::size_t size) {
    if (ended_) return false;
    if (size == 0) return true;
    if (!plainInput_) {
        processNormalised(data, size);
        return true;
    }
    if (const void* zero = std::memchr(data, '\0', size); zero != nullptr) {
        size = static_cast<std::size_t>(static_cast<const char*>(zero) - data);
        ended_ = true;
    }
    const std::span<char> normalised = lineBreaks_.feed(data, size);
    if (!normalised.empty()) processNormalised(normalised.data(), normalised.size());
    return !ended_;
}

void StreamCipher::finish() {
    ended_ = true;
    if (plainInput_) {
        const std::string_view rest = lineBreaks_.finish();
        if (!rest.empty()) {
            std::string copy(rest);
            processNormalised(copy.data(), copy.size());
        }
    }
    cipher_.shiftLine(line_.data(), line_.size());
    if (!line_.empty()) sink_(line_);
    line_.clear();
}

void StreamCipher::processNormalised(char* data, std::size_t size) {
    std::size_t pos = 0;
    if (!line_.empty()) {
        // The carried line ends at the first CR LF, whose CR may be the carried line's last byte.
        std::size_t lf = 0;
        if (data[0] == '\n' && line_.back() == '\r') {
            line_.pop_back();
        } else {
            lf = 1;
            for (;;) {
                const void* found = lf < size ? std::memchr(data + lf, '\n', size - lf) : nullptr;
                if (found == nullptr) {
                    line_.append(data, size);
                    return;
                }
                lf = static_cast<std::size_t>(static_cast<const char*>(found) - data);
                if (data[lf - 1] == '\r') break;
                ++lf;
            }
            line_.append(data, lf - 1);
        }
        cipher_.shiftLine(line_.data(), line_.size());
        sink_(line_);
        sink_(kLineBreak);
        line_.clear();
        pos = lf + 1;
    }

    // Here a line starts at `pos`, and the byte before it, if any, is the LF of a line break.
    std::size_t lineStart = pos;
    for (std::size_t from = pos; from < size;) {
        const void* found = std::memchr(data + from, '\n', size - from);
        if (found == nullptr) break;
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        if (lf > lineStart && data[lf - 1] == '\r') {
            cipher_.shiftLine(data + lineStart, lf - 1 - lineStart);
            lineStart = lf + 1;
        }
        from = lf + 1;
    }
    if (lineStart > pos) sink_(std::string_view(data + pos, lineStart - pos));
    line_.assign(data + lineStart, size - lineStart);
}

}  // namespace zozuz
