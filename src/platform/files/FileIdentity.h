#pragma once

#include <cstdint>

namespace zozuz {

// Which file an open file or a name stands for, whatever name it was reached by: two names of one
// file (hard links, links, the same folder spelt twice) have equal identities.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

}  // namespace zozuz
