#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/CharacterKinds.h"

namespace zozuz {

// Lays a text out on printed pages: each line of code-page bytes is broken into rows no wider than
// the printable width, the rows are stacked into pages, and every page gets its number centred at
// its foot. Nothing is cut: the rows of a line hold all its bytes, in order.
//
// A row ends after the last space that fits, as the editor's word wrap breaks its lines; with no
// such space it ends before the first character that does not fit, and it holds at least one
// character however narrow the page. A row never divides a character: a lead byte carries its trail
// byte along when the two form a character. A byte that is no character is printed as a box with its
// hex value, as the editor shows it, and a tab advances to the next tab stop, counted from the row's
// left edge.
//
// The lines are read one at a time, in order, when a page needs them, and each character's advance
// is asked of the measure once; laying a text out is linear in its length.
class PrintLayout {
public:
    // The advances of characters in the printer's font, in the printer's units.
    class Measure {
    public:
        virtual ~Measure() = default;
        // The advance of one valid character: one byte, or a lead byte with its trail byte.
        virtual int advance(std::string_view character) = 0;
    };

    // The page in the printer's units.
    struct Geometry {
        int width = 0;       // the printable width, margins taken off
        int height = 0;      // the printable height, margins taken off, the page number's line included
        int lineHeight = 1;  // from one row's top to the next one's
        int tabStop = 8;     // the distance between tab stops
        int boxWidth = 2;    // the width of the box that shows a byte which is no character
    };

    struct Run {
        enum class Kind : std::uint8_t { Text, Tab, Box };
        std::size_t start;  // the run's bytes in its row's bytes
        std::size_t end;
        int x;  // from the printable area's left edge
        int width;
        Kind kind;
    };

    // One printed row: a piece of a line, or the page number. A Text run holds valid characters of
    // the code page; a Box run holds one byte.
    struct Row {
        int y = 0;  // the top of the row's cell, from the printable area's top edge
        std::string bytes;
        std::vector<Run> runs;
    };

    struct Page {
        int number = 0;  // counted from 1
        std::vector<Row> rows;
        Row footer;  // the page number in plain digits, centred on the printable area's last line
    };

    // Line `index` (below lineCount) without its line break.
    using LineSource = std::function<std::string(std::size_t index)>;

    // `kinds` and `measure` must outlive the layout.
    PrintLayout(const CharacterKinds& kinds, Measure& measure, const Geometry& geometry, std::size_t lineCount,
                LineSource line);

    // Lays the next page out into `page` and returns true, or returns false after the last page. An
    // empty text makes one empty page, as a printer prints it.
    bool nextPage(Page& page);

    // The rows a page holds: the area less two lines, one for the page number and one between.
    int rowsPerPage() const { return rowsPerPage_; }

private:
    // The characters of the current line from `start` that make its next row.
    std::size_t breakAfter(std::size_t start) const;
    Row layoutRow(std::size_t start, std::size_t end, int y) const;
    Row footerOf(int number) const;
    CharacterKinds::Character characterAt(std::size_t position) const;
    int widthOf(const CharacterKinds::Character& c, std::size_t position, int x) const;
    int advanceOf(std::uint8_t first, int second) const;

    const CharacterKinds& kinds_;
    Measure& measure_;
    Geometry geometry_;
    // At least one row a page, so that every page takes some of the text.
    int rowsPerPage_;
    std::size_t lineCount_;
    LineSource line_;

    // The line being laid out and the first of its bytes that no row holds yet; `nextLine_` is the
    // line to read after it. `inLine_` is false between lines.
    std::string current_;
    std::size_t at_ = 0;
    bool inLine_ = false;
    std::size_t nextLine_ = 0;
    int pages_ = 0;
    bool finished_ = false;

    // Remembered advances, -1 while not yet measured and never negative once measured: a negative
    // advance would let a row grow without end. One per byte, and one per lead and trail byte pair
    // (none before the first pair is measured).
    mutable std::vector<int> byteAdvances_;
    mutable std::vector<int> pairAdvances_;
};

}  // namespace zozuz
