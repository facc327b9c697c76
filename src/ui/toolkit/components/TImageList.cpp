#include "ui/toolkit/components/TImageList.h"

namespace zozuz {

const Picture& TImageList::At(int index) const {
    static const Picture none;
    if (index < 0 || index >= Count()) return none;
    return pictures_[static_cast<std::size_t>(index)];
}

void TImageList::LoadProgramPictures() {
    pictures_.clear();
    for (int index = 0; index < kImageListCount; ++index) pictures_.push_back(imageListPicture(index, Width()));
}

bool TImageList::readStoredValue(const StoredValue& value) {
    const std::string* text = value.as<std::string>();
    if (value.property == "Pictures" && text && *text == "program") {
        LoadProgramPictures();
        return true;
    }
    return TComponent::readStoredValue(value);
}

bool TImageList::servesAsStored(const std::string& property) const {
    return property == "Images" || TComponent::servesAsStored(property);
}

}  // namespace zozuz
