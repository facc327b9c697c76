#pragma once

#include <cstddef>

#include "platform/host/WarningSound.h"

namespace zozuz {

// The headless warning sound: counts how often it would have sounded.
class RecordedWarningSound final : public WarningSound {
public:
    void play() override { ++plays_; }
    std::size_t plays() const { return plays_; }

private:
    std::size_t plays_ = 0;
};

}  // namespace zozuz
