#include "platform/gfx/Picture.h"

#include <array>
#include <cstddef>

namespace zozuz {

namespace {

// Takes the next line off `text` (without its line break); false when none is left.
bool nextLine(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    return true;
}

// A whole decimal number from 1 to 4096; nothing for anything else.
std::optional<int> dimension(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 4096) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> rgbOf(std::string_view hex) {
    if (hex.size() != 6) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : hex) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace

std::optional<Picture> parsePicture(std::string_view text) {
    std::string_view line;
    constexpr std::string_view kMagic = "zozuz-picture ";
    if (!nextLine(text, line) || line.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    line.remove_prefix(kMagic.size());
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::optional<int> width = dimension(line.substr(0, space));
    const std::optional<int> height = dimension(line.substr(space + 1));
    if (!width || !height) return std::nullopt;

    struct Entry {
        bool known = false;
        bool covered = false;
        std::uint32_t rgb = 0;
    };
    std::array<Entry, 256> palette{};
    while (true) {
        if (!nextLine(text, line)) return std::nullopt;
        if (line == "-") break;
        if (line.size() < 3 || line[1] != ' ' || line[0] == ' ') return std::nullopt;
        Entry& entry = palette[static_cast<unsigned char>(line[0])];
        if (entry.known) return std::nullopt;
        const std::string_view value = line.substr(2);
        entry.known = true;
        if (value != "none") {
            const std::optional<std::uint32_t> rgb = rgbOf(value);
            if (!rgb) return std::nullopt;
            entry.covered = true;
            entry.rgb = *rgb;
        }
    }

    Picture picture{Image(*width, *height),
                    std::vector<std::uint8_t>(static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height))};
    for (int y = 0; y < *height; ++y) {
        if (!nextLine(text, line) || line.size() != static_cast<std::size_t>(*width)) return std::nullopt;
        for (int x = 0; x < *width; ++x) {
            const Entry& entry = palette[static_cast<unsigned char>(line[static_cast<std::size_t>(x)])];
            if (!entry.known) return std::nullopt;
            picture.image.setPixel(x, y, entry.covered ? entry.rgb : 0u);
            picture.covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(*width) + x] = entry.covered;
        }
    }
    // Nothing but an empty last line may follow the rows.
    while (nextLine(text, line))
        if (!line.empty()) return std::nullopt;
    return picture;
}

Image pictureOver(const Picture& picture, std::uint32_t background) {
    Image result = picture.image;
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            if (!picture.coveredAt(x, y)) result.setPixel(x, y, background);
    return result;
}

}  // namespace zozuz
