// Writes the program's icon into a hicolor icon theme folder, from the same picture the program
// gives its windows:
//
//   zozuz-write-icons OUTPUT_FOLDER
//
// makes OUTPUT_FOLDER/hicolor/NxN/apps/zozuz.png for each size the desktop asks for, and
// OUTPUT_FOLDER/hicolor/scalable/apps/zozuz.svg.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "PngEncoder.h"
#include "SvgPicture.h"
#include "app/ApplicationIcon.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "zozuz-write-icons: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zozuz-write-icons OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path theme = std::filesystem::path(argv[1]) / "hicolor";
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        ok = writeFile(theme / folder / "apps" / "zozuz.png", zozuz::PngEncoder::encode(zozuz::applicationIcon(size))) && ok;
    }
    // At 16 pixels every frame is one pixel wide, and the larger pictures whose size is a multiple
    // of 16 are this one scaled, so it is the scalable picture.
    ok = writeFile(theme / "scalable" / "apps" / "zozuz.svg", zozuz::SvgPicture::fromImage(zozuz::applicationIcon(16))) && ok;
    return ok ? 0 : 1;
}
