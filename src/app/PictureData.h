#pragma once

#include <string_view>
#include <vector>

namespace zozuz {

// One of the program's pictures as the build takes it from the tree: the file's name without its
// extension (for example "about-64") and its text.
struct PictureSource {
    std::string_view name;
    std::string_view text;
};

// Every picture the build found, sorted by name. Generated at build time.
const std::vector<PictureSource>& pictureSources();

}  // namespace zozuz
