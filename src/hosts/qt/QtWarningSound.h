#pragma once

#include "platform/host/WarningSound.h"

namespace zozuz {

// The desktop's warning sound through Qt, which rings the display's bell.
class QtWarningSound final : public WarningSound {
public:
    void play() override;
};

}  // namespace zozuz
