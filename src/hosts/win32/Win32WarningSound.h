#pragma once

#include "platform/host/WarningSound.h"

namespace zozuz {

// The desktop's default sound, as the system's menus sound it for a key that means nothing.
class Win32WarningSound final : public WarningSound {
public:
    void play() override;
};

}  // namespace zozuz
