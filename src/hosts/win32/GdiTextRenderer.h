#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/TextRenderer.h"

struct HDC__;
struct HFONT__;

namespace zozuz {

// Text measuring and drawing with GDI, in fonts created for the character set the program names
// (GB2312 for its Chinese texts), so that the system picks the face a Chinese Windows would. Fonts
// are created once per face, height and weight and kept for the life of the renderer.
class GdiTextRenderer final : public TextRenderer {
public:
    GdiTextRenderer();
    ~GdiTextRenderer() override;
    GdiTextRenderer(const GdiTextRenderer&) = delete;
    GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

    Size measure(const Font& font, std::string_view text) override;
    void draw(Image& image, int x, int y, const Rect& clip, const Font& font, std::string_view text,
              std::uint32_t rgb) override;

    // The system's font for the program's font (for the host's own use, for example a window's).
    HFONT__* handleOf(const Font& font);
    // The same font drawn without smoothing, for the editor's text: smoothed, the thin strokes of
    // the Song face's Latin letters come out grey, while its Chinese characters are bitmaps of the
    // text colour itself; unsmoothed both show in the colour they are drawn in.
    HFONT__* unsmoothedHandleOf(const Font& font);

private:
    using Key = std::tuple<std::string, int, int, bool>;

    HDC__* dc_ = nullptr;
    std::map<Key, HFONT__*> fonts_;
    std::map<HFONT__*, HFONT__*> unsmoothed_;  // by the smoothed font they were made from
};

}  // namespace zozuz
