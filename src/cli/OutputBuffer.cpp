#include "cli/OutputBuffer.h"

#include <utility>

namespace zozuz {

OutputBuffer::OutputBuffer(Writer writer, std::size_t capacity) : writer_(std::move(writer)), capacity_(capacity) {
    buffer_.reserve(capacity_);
}

void OutputBuffer::append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() <= capacity_) {
        buffer_.append(bytes);
        return;
    }
    flush();
    if (bytes.size() >= capacity_ / 2) {
        writer_(bytes);
    } else {
        buffer_.append(bytes);
    }
}

void OutputBuffer::flush() {
    if (buffer_.empty()) return;
    writer_(buffer_);
    buffer_.clear();
}

}  // namespace zozuz
