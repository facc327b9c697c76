#pragma once

namespace zozuz {

// The desktop's warning sound, played for input that does nothing (a key no menu entry answers).
// It never fails the caller: a desktop without sound stays silent. On Windows it is MessageBeep(MB_OK).
class WarningSound {
public:
    virtual ~WarningSound() = default;

    virtual void play() = 0;
};

}  // namespace zozuz
