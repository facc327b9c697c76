#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/host/Surface.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

// How one bevel of a panel is cut into the surface.
enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised };

// A container drawn as a plain area with up to two bevels around its edge (the outer one first,
// then the inner one, each BevelWidth pixels wide) and an optional caption in its middle. The
// controls inside it are placed relative to its top-left corner and paint above the bevels.
class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner = nullptr);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    // At least 1.
    void SetBevelWidth(int width);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    void PaintWindow(Surface& surface, const Rect& area) override;

protected:
    bool readStoredValue(const StoredValue& value) override;

private:
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;  // >= 1
    std::string caption_;
};

}  // namespace zozuz
