#include <gtest/gtest.h>

#include <string>

#include "platform/files/SystemCodePageCodec.h"

namespace zozuz {
namespace {

TEST(SystemCodePageCodec, DecodesCharactersAndReportsWhatIsNone) {
    SystemCodePageCodec codec;
    EXPECT_EQ(codec.decode("A"), U'A');
    EXPECT_EQ(codec.decode(std::string(1, '\0')), U'\0');
    EXPECT_EQ(codec.decode("\xD6\xD0"), U'中');
    EXPECT_EQ(codec.decode("\x81\x40"), U'丂');
    EXPECT_EQ(codec.decode("\x80"), U'€');             // the euro sign, as Windows holds the code page
    EXPECT_EQ(codec.decode("\xD6"), std::nullopt);        // a lead byte alone
    EXPECT_EQ(codec.decode("\x81\x20"), std::nullopt);    // a trail byte that forms nothing
    EXPECT_EQ(codec.decode("\xFF"), std::nullopt);
    EXPECT_EQ(codec.decode("\xA1\x40"), std::nullopt);    // the user-defined area holds nothing
    EXPECT_EQ(codec.decode("AB"), std::nullopt);          // two characters are not one
    EXPECT_EQ(codec.decode(""), std::nullopt);
}

TEST(SystemCodePageCodec, EncodesWhatItCanAndMarksTheRest) {
    SystemCodePageCodec codec;
    EXPECT_EQ(codec.encode("a中文b€"), "a\xD6\xD0\xCE\xC4" "b\x80");
    EXPECT_EQ(codec.encode("😀x"), "?x");           // outside the code page
    EXPECT_EQ(codec.encode("\xE4\xB8"), "??");      // a cut UTF-8 sequence, byte by byte
    EXPECT_EQ(codec.encode("\xC0\x80"), "??");      // an overlong form is malformed
    EXPECT_EQ(codec.encode(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace zozuz
