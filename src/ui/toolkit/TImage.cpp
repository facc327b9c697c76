#include "ui/toolkit/TImage.h"

namespace zozuz {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(const Image& picture) {
    picture_ = picture;
    Invalidate();
}

void TImage::Paint() { DrawImage(picture_); }

}  // namespace zozuz
