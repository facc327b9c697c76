#include "document/LineBreaks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "document/LineBreakStream.h"
#include "document/LoneBreakCount.h"

namespace zozuz {
namespace {

using namespace std::string_literals;

// The rule, one byte at a time, as plainly as it can be written; the real scan jumps from break to
// break and must agree with it on everything.
std::string referenceNormalise(const std::string& in, const LeadByteSet& lead) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (lead.contains(c)) {
            out += c;
            if (i + 1 < in.size()) out += in[++i];
        } else if (c == '\r') {
            out += "\r\n";
            if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string streamNormalise(std::string in, const std::vector<std::size_t>& cuts) {
    LineBreakStream stream;
    std::string out;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        const auto piece = stream.feed(in.data() + from, cut - from);
        out.append(piece.data(), piece.size());
        from = cut;
    }
    const auto piece = stream.feed(in.data() + from, in.size() - from);
    out.append(piece.data(), piece.size());
    out += stream.finish();
    return out;
}

std::string normalise(const std::string& in) { return std::string(LineBreaks().normalise(in).text()); }

// The text normalised in place from `offset` bytes into a block of its own, or "(no room)".
std::string normaliseInPlace(const std::string& in, std::size_t offset) {
    std::string block(offset, '?');
    block += in;
    const std::size_t length = LineBreaks().normaliseInPlace(block.data(), offset, in.size());
    return length == LineBreaks::kNoRoom ? "(no room)" : block.substr(0, length);
}

// Counting the text fed in pieces that end at `cuts` gives what counting the whole text and the
// part before its first zero byte gives.
void expectCountsAt(const std::string& text, const std::vector<std::size_t>& cuts) {
    LoneBreakCount count;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        count.feed(text.data() + from, cut - from);
        from = cut;
    }
    count.feed(text.data() + from, text.size() - from);
    count.finish();
    const LineBreaks breaks;
    const std::size_t zero = std::min(text.find('\0'), text.size());
    ASSERT_EQ(count.length(), text.size());
    ASSERT_EQ(count.added(), breaks.countLoneBreaks(text));
    ASSERT_EQ(count.firstZero(), zero);
    ASSERT_EQ(count.addedBeforeZero(), breaks.countLoneBreaks(text.substr(0, zero)));
    ASSERT_EQ(count.loadedLength(), zero + count.addedBeforeZero());
}

TEST(LineBreaks, LoneBreaksBecomeCrLf) {
    EXPECT_EQ(normalise("A\nB"), "A\r\nB");
    EXPECT_EQ(normalise("A\rB"), "A\r\nB");
    EXPECT_EQ(normalise("\n\r"), "\r\n\r\n");  // LF CR is two breaks
    EXPECT_EQ(normalise("\r\r\n"), "\r\n\r\n");
    EXPECT_EQ(normalise("A\r"), "A\r\n");  // a CR as the last byte
    EXPECT_EQ(normalise("\n"), "\r\n");
    EXPECT_EQ(normalise("A\n\nB"), "A\r\n\r\nB");
}

TEST(LineBreaks, ALeadByteCarriesTheNextByteAlong) {
    EXPECT_EQ(normalise("\xB0\n"), "\xB0\n");
    EXPECT_EQ(normalise("\x81\nA"), "\x81\nA");
    // The CR goes with the lead byte and the LF alone becomes a break of its own.
    EXPECT_EQ(normalise("\x81\r\n"), "\x81\r\r\n");
    EXPECT_EQ(normalise("\x81\0\n"s), "\x81\0\r\n"s);
    // A trail byte in the lead range is no lead byte: the LF after a whole character is a break.
    EXPECT_EQ(normalise("\xB0\xB0\n"), "\xB0\xB0\r\n");
    EXPECT_EQ(normalise("\xB0\xB0\xB0\n"), "\xB0\xB0\xB0\n");
    EXPECT_EQ(normalise("\xFE"), "\xFE");  // a lead byte as the last byte is copied alone
    // The lead range of code page 936 stops short of 0x80 and 0xFF.
    EXPECT_EQ(normalise("\x80\n"), "\x80\r\n");
    EXPECT_EQ(normalise("\xFF\n"), "\xFF\r\n");
}

TEST(LineBreaks, ZeroBytesAreScannedLikeAnyOther) {
    EXPECT_EQ(normalise("A\0\nB"s), "A\0\r\nB"s);
}

TEST(LineBreaks, UnchangedTextIsNotCopied) {
    const std::string text = "A\r\nB\r\n\xB0\xA1\x81\n";
    const LineBreaks breaks;
    EXPECT_EQ(breaks.countLoneBreaks(text), 0u);
    const NormalisedText result = breaks.normalise(text);
    EXPECT_FALSE(result.changed());
    EXPECT_EQ(result.text().data(), text.data());

    EXPECT_EQ(breaks.countLoneBreaks("A\nB\rC\r\n"), 2u);
    EXPECT_TRUE(breaks.normalise("A\nB").changed());
    EXPECT_FALSE(breaks.normalise("").changed());
}

TEST(LineBreaks, WithoutLeadBytesEveryCrAndLfCounts) {
    const LineBreaks ascii{LeadByteSet()};
    EXPECT_EQ(std::string(ascii.normalise("\xB0\n").text()), "\xB0\r\n");
}

TEST(LineBreaks, LongRunsOfLeadBytesKeepTheirPairing) {
    // A long line of double-byte characters ending just before a break: the pairing is decided by
    // the run's length, whichever way it falls.
    for (std::size_t run : {1u, 2u, 4095u, 4096u, 4097u}) {
        const std::string text = std::string(run, '\xC4') + "\n\r";
        EXPECT_EQ(normalise(text), referenceNormalise(text, LeadByteSet::codePage936())) << run;
    }
}

TEST(LineBreaks, AgreesWithTheBytewiseRuleOnRandomText) {
    std::mt19937 random(936);
    const char alphabet[] = {'\r', '\n', '\0', 'A', '\x81', '\xB0', '\xFE', '\xFF', '\x80', '\x40'};
    const LeadByteSet lead = LeadByteSet::codePage936();
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) c = alphabet[random() % sizeof(alphabet)];
        const std::string expected = referenceNormalise(text, lead);
        ASSERT_EQ(normalise(text), expected) << round;
        const std::size_t added = expected.size() - text.size();
        ASSERT_EQ(LineBreaks().countLoneBreaks(text), added);
        // Normalising again changes nothing: the result splits into the same characters and pairs.
        ASSERT_EQ(normalise(expected), expected);
        // In place, with just the room the added bytes need or more; with less it is refused.
        ASSERT_EQ(normaliseInPlace(text, added), expected) << round;
        ASSERT_EQ(normaliseInPlace(text, added + 3), expected) << round;
        if (added > 0) {
            ASSERT_EQ(normaliseInPlace(text, added - 1), "(no room)") << round;
        }
    }
}

TEST(LineBreaks, AgreesWithTheBytewiseRuleOnLongRunsOfHighBytes) {
    // Mostly lead-range bytes, with the bytes just outside the range (0x80, 0xFF, 0x7F) and breaks
    // here and there, so that runs are walked back in steps of eight and stopped inside a step.
    std::mt19937 random(8);
    const char rare[] = {'\x80', '\xFF', '\x7F', '\r', '\n', '\x81', '\xFE'};
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 300, ' ');
        for (char& c : text) {
            c = random() % 12 == 0 ? rare[random() % sizeof(rare)] : static_cast<char>(0x81 + random() % 126);
        }
        const std::string expected = referenceNormalise(text, LeadByteSet::codePage936());
        ASSERT_EQ(normalise(text), expected) << round;
        ASSERT_EQ(normaliseInPlace(text, expected.size() - text.size()), expected) << round;
    }
}

// Streamed normalisation, and counting what it adds, give the whole text's result.
TEST(LineBreakStream, GivesTheWholeTextResultWhereverThePiecesEnd) {
    const LeadByteSet lead = LeadByteSet::codePage936();
    // Each of these has something that straddles a border at every cut: a CR with or without its LF,
    // a lead byte with a CR, LF or zero after it.
    for (const std::string& text : {"A\r\nB"s, "A\rB"s, "A\r"s, "\x81\r\n"s, "\x81\nA\r\r\n"s, "\xB0\xB0\n"s, "\n\r\n\r"s,
                                   "\xB0\0\r"s, "\x81\x81\x81\r\r"s}) {
        const std::string expected = referenceNormalise(text, lead);
        for (std::size_t a = 0; a <= text.size(); ++a) {
            for (std::size_t b = a; b <= text.size(); ++b) {
                ASSERT_EQ(streamNormalise(text, {a, b}), expected) << "cuts " << a << "," << b;
                expectCountsAt(text, {a, b});
            }
        }
    }
}

TEST(LineBreakStream, PassesAnUnchangedPieceThroughWithoutCopying) {
    LineBreakStream stream;
    std::string piece = "A\r\nB\xB0";
    EXPECT_EQ(stream.feed(piece.data(), piece.size()).data(), piece.data());
    // The trail byte of the lead byte that ended the last piece is an LF: no break.
    std::string next = "\nC\r";
    EXPECT_EQ(stream.feed(next.data(), next.size()).data(), next.data());
    // The pending CR finds its LF at the start of the next piece.
    std::string last = "\nD";
    EXPECT_EQ(stream.feed(last.data(), last.size()).data(), last.data());
    EXPECT_EQ(stream.finish(), "");
}

TEST(LineBreakStream, AgreesWithTheWholeTextOnRandomTextAndCuts) {
    std::mt19937 random(2026);
    const char alphabet[] = {'\r', '\n', '\0', 'A', '\x81', '\xB0', '\xFF'};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 64, ' ');
        for (char& c : text) c = alphabet[random() % sizeof(alphabet)];
        std::vector<std::size_t> cuts;
        std::size_t at = 0;
        while (at < text.size()) {
            at += random() % 5;
            cuts.push_back(std::min(at, text.size()));
        }
        ASSERT_EQ(streamNormalise(text, cuts), normalise(text)) << round;
        expectCountsAt(text, cuts);
    }
}

}  // namespace
}  // namespace zozuz
