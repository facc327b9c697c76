#include "editor/GapBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace zozuz {
namespace {

using Buffer = GapBuffer<char>;

std::string contents(const Buffer& buffer) {
    std::string out(static_cast<std::size_t>(buffer.size()), '\0');
    buffer.copyOut(0, buffer.size(), out.data());
    return out;
}

TEST(GapBuffer, EditsOnEitherSideOfTheGapKeepEveryOtherValueInPlace) {
    Buffer buffer;
    buffer.checkInvariants();
    buffer.insert(0, "hello world", 11);
    buffer.insert(5, ",", 1);         // the gap moves back
    buffer.erase(11, 1);              // and forward
    buffer.replace(0, 1, "HH", 2);    // longer
    buffer.replace(1, 2, "e", 1);     // shorter
    buffer.gapTo(7);
    buffer.overwrite(6, " W", 2);     // in place, across the gap
    EXPECT_EQ(contents(buffer), "Hello, Worl");
    EXPECT_EQ(buffer.at(10), 'l');
    buffer.checkInvariants();

    // A piece before the gap and one after it, in order.
    buffer.gapTo(4);
    std::string pieces;
    buffer.forEachPiece(2, 8, [&](const char* values, Buffer::Index n) { pieces.append(values, static_cast<std::size_t>(n)); pieces += '|'; });
    EXPECT_EQ(pieces, "ll|o, W|");
    EXPECT_EQ(std::string(buffer.contiguous(), 11), "Hello, Worl");
    buffer.checkInvariants();
}

TEST(GapBuffer, GrowingKeepsTheValuesAndTheGapWhereTheyWere) {
    Buffer buffer;
    buffer.assign("ab", 2, 0);  // no room at all
    buffer.gapTo(1);
    const std::string many(10000, 'x');
    buffer.insert(1, many.data(), static_cast<Buffer::Index>(many.size()));
    EXPECT_EQ(contents(buffer), "a" + many + "b");
    buffer.checkInvariants();
    buffer.clear();
    EXPECT_TRUE(buffer.empty());
    buffer.checkInvariants();
}

}  // namespace
}  // namespace zozuz
