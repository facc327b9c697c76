#pragma once

#include "platform/gfx/Image.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TGraphicControl.h"

namespace zozuz {

// A picture without a window of its own, drawn at its natural size with its top-left corner in the
// control's top-left corner; whatever of it reaches past the bounds is cut off, and the part of the
// bounds it leaves uncovered shows what lies beneath.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner = nullptr);

    const Image& Picture() const { return picture_; }
    void SetPicture(const Image& picture);

protected:
    bool readStoredValue(const StoredValue& value) override;
    void Paint() override;

private:
    Image picture_;
};

}  // namespace zozuz
