#include "app/ProgramPictures.h"

#include <string>

#include "app/PictureData.h"

namespace zozuz {

Picture programPicture(std::string_view name) {
    for (const PictureSource& source : pictureSources()) {
        if (source.name != name) continue;
        if (std::optional<Picture> picture = parsePicture(source.text)) return std::move(*picture);
        break;
    }
    return Picture{};
}

Picture imageListPicture(int index, int size) {
    if (index < 0 || index >= kImageListCount || (size != 16 && size != 32)) return Picture{};
    // The files are named image-NN-WHAT-SIZE, the number two digits wide.
    const std::string prefix = "image-" + std::string(index < 10 ? "0" : "") + std::to_string(index) + "-";
    const std::string suffix = "-" + std::to_string(size);
    for (const PictureSource& source : pictureSources()) {
        const std::string_view name = source.name;
        if (name.size() > prefix.size() + suffix.size() && name.substr(0, prefix.size()) == prefix &&
            name.substr(name.size() - suffix.size()) == suffix)
            return programPicture(name);
    }
    return Picture{};
}

Image aboutPicture() { return programPicture("about-64").image; }

}  // namespace zozuz
