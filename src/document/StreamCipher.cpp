#include "document/StreamCipher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

namespace zozuz {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// The most bytes of a line that its shift can change.
constexpr std::size_t kWindow = 255;

// A plain sink, for callers that hold every line whole.
class SinkOutput : public StreamCipher::Output {
public:
    explicit SinkOutput(StreamCipher::Sink sink) : sink_(std::move(sink)) {}
    void write(std::string_view bytes) override { sink_(bytes); }
    void beginLongLine() override {}
    void rewriteLineHead(std::string_view) override {}

private:
    StreamCipher::Sink sink_;
};

}  // namespace

StreamCipher::StreamCipher(CipherDirection direction, bool plainInput, Sink sink, LeadByteSet leadBytes)
    : cipher_(direction),
      plainInput_(plainInput),
      ownOutput_(std::make_unique<SinkOutput>(std::move(sink))),
      out_(*ownOutput_),
      holdLimit_(SIZE_MAX),
      lineBreaks_(leadBytes) {}

StreamCipher::StreamCipher(CipherDirection direction, bool plainInput, Output& output, std::size_t holdLimit,
                           LeadByteSet leadBytes)
    : cipher_(direction),
      plainInput_(plainInput),
      out_(output),
      holdLimit_(std::max(holdLimit, kWindow + 1)),
      lineBreaks_(leadBytes) {}

StreamCipher::~StreamCipher() = default;

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
    if (long_) {
        if (pendingCR_) {
            out_.write("\r");
            ++longLength_;
            pendingCR_ = false;
        }
        endLongLine(false);
        return;
    }
    cipher_.shiftLine(line_.data(), line_.size());
    if (!line_.empty()) out_.write(line_);
    line_.clear();
}

void StreamCipher::holdTail(const char* data, std::size_t size) {
    line_.append(data, size);
    if (line_.size() <= holdLimit_) return;
    // Too long to hold: pass it on as it is, keeping back its first bytes and a final CR, whose LF
    // may open the next piece.
    long_ = true;
    head_.assign(line_, 0, kWindow);
    pendingCR_ = line_.back() == '\r';
    if (pendingCR_) line_.pop_back();
    longLength_ = line_.size();
    out_.beginLongLine();
    out_.write(line_);
    line_.clear();
    line_.shrink_to_fit();
}

std::size_t StreamCipher::continueLongLine(const char* data, std::size_t size) {
    if (pendingCR_) {
        pendingCR_ = false;
        if (data[0] == '\n') {
            endLongLine(true);
            return 1;
        }
        out_.write("\r");
        ++longLength_;
    }
    for (std::size_t from = 0; from < size;) {
        const void* found = std::memchr(data + from, '\n', size - from);
        if (found == nullptr) break;
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        if (lf > 0 && data[lf - 1] == '\r') {
            out_.write(std::string_view(data, lf - 1));
            longLength_ += lf - 1;
            endLongLine(true);
            return lf + 1;
        }
        from = lf + 1;
    }
    pendingCR_ = data[size - 1] == '\r';
    const std::size_t passed = pendingCR_ ? size - 1 : size;
    out_.write(std::string_view(data, passed));
    longLength_ += passed;
    return size;
}

void StreamCipher::endLongLine(bool lineBreak) {
    const auto window = static_cast<std::size_t>(longLength_ % 256);
    head_.resize(window);
    cipher_.shiftLine(head_.data(), head_.size());
    out_.rewriteLineHead(head_);
    if (lineBreak) out_.write(kLineBreak);
    long_ = false;
    head_.clear();
    longLength_ = 0;
}

void StreamCipher::processNormalised(char* data, std::size_t size) {
    std::size_t pos = 0;
    if (long_) {
        pos = continueLongLine(data, size);
        if (long_) return;
    } else if (!line_.empty()) {
        // The carried line ends at the first CR LF, whose CR may be the carried line's last byte.
        std::size_t lf = 0;
        if (data[0] == '\n' && line_.back() == '\r') {
            line_.pop_back();
        } else {
            lf = 1;
            for (;;) {
                const void* found = lf < size ? std::memchr(data + lf, '\n', size - lf) : nullptr;
                if (found == nullptr) {
                    holdTail(data, size);
                    return;
                }
                lf = static_cast<std::size_t>(static_cast<const char*>(found) - data);
                if (data[lf - 1] == '\r') break;
                ++lf;
            }
            line_.append(data, lf - 1);
        }
        cipher_.shiftLine(line_.data(), line_.size());
        out_.write(line_);
        out_.write(kLineBreak);
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
    if (lineStart > pos) out_.write(std::string_view(data + pos, lineStart - pos));
    if (lineStart < size) holdTail(data + lineStart, size - lineStart);
}

}  // namespace zozuz
