#include "ui/toolkit/controls/TBltBitmap.h"

namespace zozuz {

void TBltBitmap::MakeLike(const Image& templateImage) {
    image_ = Image(templateImage.width(), templateImage.height());
}

}  // namespace zozuz
