#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zozuz {

// Gathers small pieces of output into large writes and passes large pieces straight through, so that
// output costs few system calls whatever the line lengths are.
class OutputBuffer {
public:
    using Writer = std::function<void(std::string_view bytes)>;

    explicit OutputBuffer(Writer writer, std::size_t capacity = 1 << 20);

    void append(std::string_view bytes);
    void flush();

private:
    Writer writer_;
    std::size_t capacity_;
    std::string buffer_;
};

}  // namespace zozuz
