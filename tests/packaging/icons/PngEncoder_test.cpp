#include "PngEncoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zozuz {
namespace {

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

struct Chunk {
    std::string type;
    std::string data;
};

// Splits a PNG file into its chunks, checking the signature and every chunk's checksum on the way.
std::vector<Chunk> chunksOf(const std::string& png) {
    std::vector<Chunk> chunks;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndian(png, at);
        const std::string typed = png.substr(at + 4, 4 + length);
        EXPECT_EQ(bigEndian(png, at + 8 + length), PngEncoder::crc32(typed)) << typed.substr(0, 4);
        chunks.push_back({typed.substr(0, 4), typed.substr(4)});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size()) << "bytes after the last chunk";
    return chunks;
}

struct StoredBlock {
    bool last;
    std::string bytes;
};

// Reads the stored blocks of a zlib stream and checks its header, each block's length against its
// complement, and the Adler-32 at the end.
std::vector<StoredBlock> storedBlocksOf(const std::string& zlib) {
    std::vector<StoredBlock> blocks;
    EXPECT_EQ(static_cast<unsigned char>(zlib.at(0)), 0x78);
    EXPECT_EQ((static_cast<unsigned char>(zlib.at(0)) * 256 + static_cast<unsigned char>(zlib.at(1))) % 31, 0);
    std::size_t at = 2;
    std::string all;
    for (;;) {
        const auto flags = static_cast<unsigned char>(zlib.at(at));
        const unsigned length = static_cast<unsigned char>(zlib.at(at + 1)) | static_cast<unsigned char>(zlib.at(at + 2)) << 8;
        const unsigned complement = static_cast<unsigned char>(zlib.at(at + 3)) | static_cast<unsigned char>(zlib.at(at + 4)) << 8;
        EXPECT_EQ(flags & 0x06, 0) << "not a stored block";
        EXPECT_EQ(length ^ 0xFFFFu, complement);
        blocks.push_back({(flags & 1) != 0, zlib.substr(at + 5, length)});
        all += blocks.back().bytes;
        at += 5 + length;
        if (blocks.back().last) break;
    }
    EXPECT_EQ(bigEndian(zlib, at), PngEncoder::adler32(all));
    EXPECT_EQ(at + 4, zlib.size());
    return blocks;
}

TEST(PngEncoderTest, ChecksumsMatchTheirPublishedCheckValues) {
    EXPECT_EQ(PngEncoder::crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(PngEncoder::crc32(""), 0u);
    EXPECT_EQ(PngEncoder::adler32("Wikipedia"), 0x11E60398u);
    EXPECT_EQ(PngEncoder::adler32(""), 1u);
    // Long enough for both sums to wrap around their modulus many times.
    EXPECT_EQ(PngEncoder::adler32(std::string(100000, '\xFF')), 0x149A302Cu);
}

TEST(PngEncoderTest, ASmallImageIsHeaderRowsAndEnd) {
    Image image(2, 1);
    image.setPixel(0, 0, 0xFF0000);
    image.setPixel(1, 0, 0x00FF80);
    const std::vector<Chunk> chunks = chunksOf(PngEncoder::encode(image));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data, std::string("\0\0\0\x02\0\0\0\x01\x08\x02\0\0\0", 13));
    EXPECT_EQ(chunks[1].type, "IDAT");
    const std::vector<StoredBlock> blocks = storedBlocksOf(chunks[1].data);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(blocks[0].last);
    EXPECT_EQ(blocks[0].bytes, std::string("\0\xFF\0\0\0\xFF\x80", 7));
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_EQ(chunks[2].data, "");
}

TEST(PngEncoderTest, LargePicturesSpanSeveralStoredBlocksOnlyTheLastMarkedLast) {
    Image image(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) image.setPixel(x, y, static_cast<std::uint32_t>(x << 16 | y << 8 | (x ^ y)));
    const std::vector<Chunk> chunks = chunksOf(PngEncoder::encode(image));
    ASSERT_EQ(chunks.size(), 3u);
    const std::vector<StoredBlock> blocks = storedBlocksOf(chunks[1].data);
    // 256 rows of a filter byte and 768 colour bytes.
    ASSERT_EQ(blocks.size(), 4u);
    std::string raw;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].last, i + 1 == blocks.size());
        if (i + 1 < blocks.size()) {
            EXPECT_EQ(blocks[i].bytes.size(), PngEncoder::kStoredBlockLimit);
        }
        raw += blocks[i].bytes;
    }
    ASSERT_EQ(raw.size(), 256u * 769u);
    // The last pixel of row 200: x = 255, y = 200.
    const std::size_t at = 200 * 769 + 1 + 255 * 3;
    EXPECT_EQ(raw[200 * 769], '\0');
    EXPECT_EQ(static_cast<unsigned char>(raw[at]), 255);
    EXPECT_EQ(static_cast<unsigned char>(raw[at + 1]), 200);
    EXPECT_EQ(static_cast<unsigned char>(raw[at + 2]), 255 ^ 200);
}

TEST(PngEncoderTest, ABlockOfExactlyTheLimitIsFollowedByNoEmptyBlock) {
    // 15 rows of 1 + 3 * 1456 bytes fill one stored block exactly.
    const std::vector<Chunk> chunks = chunksOf(PngEncoder::encode(Image(1456, 15)));
    const std::vector<StoredBlock> blocks = storedBlocksOf(chunks.at(1).data);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].bytes.size(), PngEncoder::kStoredBlockLimit);
}

}  // namespace
}  // namespace zozuz
