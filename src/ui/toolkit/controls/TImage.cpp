#include "ui/toolkit/controls/TImage.h"

#include "app/ProgramPictures.h"

namespace zozuz {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(const Image& picture) {
    picture_ = picture;
    Invalidate();
}

void TImage::Paint() { DrawImage(picture_); }

bool TImage::readStoredValue(const StoredValue& value) {
    const std::string* text = value.as<std::string>();
    if (value.property != "Picture" || !text) return TGraphicControl::readStoredValue(value);
    const auto picture = programPicture(*text);
    if (picture.image.width() == 0) throw EStoredLayout("names no picture " + *text);
    SetPicture(picture.image);
    return true;
}

}  // namespace zozuz
