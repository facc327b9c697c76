#include "PngEncoder.h"

#include <array>
#include <algorithm>

namespace zozuz {

namespace {

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// A chunk is its length, its type, its data and a checksum over type and data.
void appendChunk(std::string& out, std::string_view type, std::string_view data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed(type);
    typed += data;
    out += typed;
    appendBigEndian(out, PngEncoder::crc32(typed));
}

// The zlib stream of `raw`: a header for deflate with a 32 KiB window, stored blocks, and the
// Adler-32 of the uncompressed bytes.
std::string zlibStored(std::string_view raw) {
    std::string out;
    out += static_cast<char>(0x78);
    out += static_cast<char>(0x01);
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(PngEncoder::kStoredBlockLimit, raw.size() - offset);
        const bool last = offset + length == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        // The block length in little-endian order, then its one's complement.
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>((length >> 8) & 0xFF);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out.append(raw.substr(offset, length));
        offset += length;
    } while (offset < raw.size());
    appendBigEndian(out, PngEncoder::adler32(raw));
    return out;
}

}  // namespace

std::uint32_t PngEncoder::crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes) c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t PngEncoder::adler32(std::string_view bytes) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char byte : bytes) {
        a = (a + static_cast<unsigned char>(byte)) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

std::string PngEncoder::encode(const Image& image) {
    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(image.width()));
    appendBigEndian(header, static_cast<std::uint32_t>(image.height()));
    header += static_cast<char>(8);  // bits per sample
    header += static_cast<char>(2);  // truecolour, no alpha
    header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace

    // Every row starts with its filter type, 0 (none), then its pixels as red, green, blue.
    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.height()) * (1 + 3 * static_cast<std::size_t>(image.width())));
    for (int y = 0; y < image.height(); ++y) {
        raw += '\0';
        const std::uint32_t* row = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            raw += static_cast<char>((row[x] >> 16) & 0xFF);
            raw += static_cast<char>((row[x] >> 8) & 0xFF);
            raw += static_cast<char>(row[x] & 0xFF);
        }
    }

    std::string png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibStored(raw));
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace zozuz
