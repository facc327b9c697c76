#include "editor/PrintLayout.h"

#include <algorithm>
#include <utility>

#include "base/Assert.h"

namespace zozuz {

PrintLayout::PrintLayout(const CharacterKinds& kinds, Measure& measure, const Geometry& geometry,
                         std::size_t lineCount, LineSource line)
    : kinds_(kinds),
      measure_(measure),
      geometry_(geometry),
      rowsPerPage_(std::max(1, geometry.height / std::max(1, geometry.lineHeight) - 2)),
      lineCount_(lineCount),
      line_(std::move(line)),
      byteAdvances_(256, -1) {
    geometry_.lineHeight = std::max(1, geometry_.lineHeight);
    geometry_.tabStop = std::max(1, geometry_.tabStop);
    geometry_.boxWidth = std::max(0, geometry_.boxWidth);
}

bool PrintLayout::nextPage(Page& page) {
    if (finished_) return false;
    page.number = ++pages_;
    page.rows.clear();
    while (static_cast<int>(page.rows.size()) < rowsPerPage_) {
        if (!inLine_) {
            if (nextLine_ >= lineCount_) break;
            current_ = line_(nextLine_++);
            at_ = 0;
            inLine_ = true;
        }
        // An empty line still takes its row.
        const std::size_t end = breakAfter(at_);
        page.rows.push_back(layoutRow(at_, end, static_cast<int>(page.rows.size()) * geometry_.lineHeight));
        at_ = end;
        if (at_ == current_.size()) {
            inLine_ = false;
            current_ = std::string();
        }
    }
    page.footer = footerOf(page.number);
    finished_ = !inLine_ && nextLine_ >= lineCount_;
    return true;
}

CharacterKinds::Character PrintLayout::characterAt(std::size_t position) const {
    const auto first = static_cast<std::uint8_t>(current_[position]);
    const int second = position + 1 < current_.size() ? static_cast<std::uint8_t>(current_[position + 1]) : -1;
    return kinds_.at(first, second);
}

int PrintLayout::advanceOf(std::uint8_t first, int second) const {
    if (second < 0) {
        int& known = byteAdvances_[first];
        if (known < 0) {
            const char c = static_cast<char>(first);
            known = std::max(0, measure_.advance(std::string_view(&c, 1)));
        }
        return known;
    }
    if (pairAdvances_.empty()) pairAdvances_.assign(65536, -1);
    int& known = pairAdvances_[static_cast<std::size_t>(first) << 8 | static_cast<std::uint8_t>(second)];
    if (known < 0) {
        const char pair[2] = {static_cast<char>(first), static_cast<char>(second)};
        known = std::max(0, measure_.advance(std::string_view(pair, 2)));
    }
    return known;
}

int PrintLayout::widthOf(const CharacterKinds::Character& c, std::size_t position, int x) const {
    switch (c.kind) {
        case CharacterKinds::Kind::Tab: return geometry_.tabStop - x % geometry_.tabStop;
        case CharacterKinds::Kind::Box: return geometry_.boxWidth;
        case CharacterKinds::Kind::Text: break;
    }
    const auto first = static_cast<std::uint8_t>(current_[position]);
    return advanceOf(first, c.length == 2 ? static_cast<std::uint8_t>(current_[position + 1]) : -1);
}

std::size_t PrintLayout::breakAfter(std::size_t start) const {
    // The characters after the break are measured again for the next row, at most one row's worth:
    // the cost stays linear.
    const std::size_t end = current_.size();
    std::int64_t x = 0;
    std::size_t afterSpace = 0;
    for (std::size_t p = start; p < end;) {
        const CharacterKinds::Character c = characterAt(p);
        const int width = widthOf(c, p, static_cast<int>(x));
        if (x + width > geometry_.width && p > start) {
            const std::size_t next = afterSpace > start ? afterSpace : p;
            ZOZUZ_ASSERT(start < next && next < end);
            return next;
        }
        x += width;
        if (c.kind == CharacterKinds::Kind::Text && c.length == 1 && current_[p] == ' ') afterSpace = p + 1;
        p += static_cast<std::size_t>(c.length);
    }
    return end;
}

PrintLayout::Row PrintLayout::layoutRow(std::size_t start, std::size_t end, int y) const {
    Row row;
    row.y = y;
    row.bytes.assign(current_, start, end - start);
    int x = 0;
    for (std::size_t p = start; p < end;) {
        const CharacterKinds::Character c = characterAt(p);
        const int width = widthOf(c, p, x);
        const Run::Kind kind = c.kind == CharacterKinds::Kind::Text  ? Run::Kind::Text
                               : c.kind == CharacterKinds::Kind::Tab ? Run::Kind::Tab
                                                                     : Run::Kind::Box;
        const std::size_t at = p - start;
        const std::size_t length = static_cast<std::size_t>(c.length);
        if (kind == Run::Kind::Text && !row.runs.empty() && row.runs.back().kind == Run::Kind::Text) {
            row.runs.back().end = at + length;
            row.runs.back().width += width;
        } else {
            row.runs.push_back({at, at + length, x, width, kind});
        }
        x += width;
        p += length;
    }
    ZOZUZ_ASSERT(row.runs.empty() ? start == end : row.runs.back().end == end - start);
    return row;
}

PrintLayout::Row PrintLayout::footerOf(int number) const {
    Row row;
    const int lastLine = geometry_.height - geometry_.lineHeight;
    row.y = std::max(rowsPerPage_ * geometry_.lineHeight, lastLine);
    row.bytes = std::to_string(number);
    int width = 0;
    for (const char digit : row.bytes) width += advanceOf(static_cast<std::uint8_t>(digit), -1);
    row.runs.push_back({0, row.bytes.size(), std::max(0, (geometry_.width - width) / 2), width, Run::Kind::Text});
    return row;
}

}  // namespace zozuz
