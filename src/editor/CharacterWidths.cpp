#include "editor/CharacterWidths.h"

#include <algorithm>
#include <limits>

#include "base/Assert.h"

namespace zozuz {

CharacterWidths::CharacterWidths(const CharacterKinds& kinds, CodePageTextMeasure& measure)
    : kinds_(kinds), measure_(measure) {
    single_.fill(kUnknown);
}

void CharacterWidths::reset(const Font& font, int tabStop, int boxWidth) {
    ZOZUZ_ASSERT(tabStop >= 1 && boxWidth >= 0);
    font_ = font;
    tabStop_ = tabStop;
    boxWidth_ = boxWidth;
    single_.fill(kUnknown);
    pair_.clear();
}

int CharacterWidths::measured(std::string_view character) {
    // A negative advance would let x run backwards, and the walks rely on x growing.
    return std::max(0, measure_.advance(font_, character));
}

std::int32_t CharacterWidths::learnSingle(std::uint8_t byte) {
    const CharacterKinds::Character c = kinds_.at(byte, -1);
    singleKind_[byte] = c.kind;
    std::int32_t& entry = single_[byte];
    if (c.kind == CharacterKinds::Kind::Tab) {
        entry = kTab;
    } else if (kinds_.isLead(byte)) {
        entry = kLead;
    } else if (c.kind == CharacterKinds::Kind::Box) {
        entry = boxWidth_;
    } else {
        const char text = static_cast<char>(byte);
        entry = measured(std::string_view(&text, 1));
    }
    return entry;
}

std::int32_t CharacterWidths::learnPair(std::uint8_t lead, std::uint8_t trail) {
    if (pair_.empty()) pair_.assign(65536, kUnknown);
    std::int32_t& entry = pair_[static_cast<std::size_t>(lead) << 8 | trail];
    if (kinds_.at(lead, trail).length == 2) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        entry = measured(std::string_view(pair, 2));
    } else {
        entry = kNoPair;
    }
    return entry;
}

CharacterWidths::Character CharacterWidths::at(std::uint8_t first, int second, std::int64_t x) {
    std::int32_t entry = single_[first];
    if (entry == kUnknown) entry = learnSingle(first);
    if (entry == kTab) return {1, CharacterKinds::Kind::Tab, tabWidth(x)};
    if (entry != kLead) return {1, singleKind_[first], entry};
    if (second >= 0) {
        const auto trail = static_cast<std::uint8_t>(second);
        std::int32_t pair = pair_.empty() ? kUnknown : pair_[static_cast<std::size_t>(first) << 8 | trail];
        if (pair == kUnknown) pair = learnPair(first, trail);
        if (pair >= 0) return {2, CharacterKinds::Kind::Text, pair};
    }
    return {1, CharacterKinds::Kind::Box, boxWidth_};
}

int CharacterWidths::advance(std::uint8_t first, int second) {
    if (second < 0 || !kinds_.isLead(first)) {
        std::int32_t entry = single_[first];
        if (entry == kUnknown) entry = learnSingle(first);
        if (entry >= 0 && singleKind_[first] == CharacterKinds::Kind::Text) return entry;
        const char text = static_cast<char>(first);
        return measured(std::string_view(&text, 1));
    }
    const auto trail = static_cast<std::uint8_t>(second);
    std::int32_t pair = pair_.empty() ? kUnknown : pair_[static_cast<std::size_t>(first) << 8 | trail];
    if (pair == kUnknown) pair = learnPair(first, trail);
    if (pair >= 0) return pair;
    const char text[2] = {static_cast<char>(first), static_cast<char>(trail)};
    return measured(std::string_view(text, 2));
}

template <bool kStopAtX>
CharacterWidths::Walk CharacterWidths::walkOver(const std::uint8_t* b, std::size_t size, std::size_t limit, std::int64_t x,
                                                std::int64_t xLimit) {
    const std::int32_t* const single = single_.data();
    const std::int32_t* const pairs = pair_.data();
    bool sawTab = false;
    std::size_t p = 0;
    // One table look-up per character, two for a double-byte one; only a byte not measured yet, a
    // tab and a lead byte that stands alone leave the straight path.
    while (p < limit) {
        const std::uint8_t first = b[p];
        std::int64_t width = single[first];
        std::size_t length = 1;
        if (width < 0) {
            if (width == kUnknown) width = learnSingle(first);
            if (width == kLead) {
                std::int32_t pair = p + 1 < size ? pairs[static_cast<std::size_t>(first) << 8 | b[p + 1]] : kNoPair;
                if (pair == kUnknown) pair = learnPair(first, b[p + 1]);
                if (pair >= 0) {
                    width = pair;
                    length = 2;
                } else {
                    width = boxWidth_;
                }
            } else if (width == kTab) {
                width = tabWidth(x);
                if (kStopAtX && x + width > xLimit) return {p, x, true, sawTab};
                sawTab = true;
            }
        }
        if (kStopAtX && x + width > xLimit) return {p, x, true, sawTab};
        x += width;
        p += length;
    }
    return {p, x, false, sawTab};
}

CharacterWidths::Walk CharacterWidths::walk(std::string_view bytes, std::size_t limit, std::int64_t x, std::int64_t xLimit) {
    if (pair_.empty()) pair_.assign(65536, kUnknown);
    const auto* const b = reinterpret_cast<const std::uint8_t*>(bytes.data());
    limit = std::min(limit, bytes.size());
    if (xLimit == std::numeric_limits<std::int64_t>::max()) return walkOver<false>(b, bytes.size(), limit, x, xLimit);
    return walkOver<true>(b, bytes.size(), limit, x, xLimit);
}

}  // namespace zozuz
