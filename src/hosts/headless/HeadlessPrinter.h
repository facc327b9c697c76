#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/CodePageCodec.h"
#include "platform/host/Printer.h"

namespace zozuz {

// The headless host's printer: the print dialog takes scripted answers, and a confirmed job is laid
// out as a printer lays it out, on pages measured in columns and lines (a single-byte character takes
// one column, a double-byte one two, a box two, and tab stops are eight columns apart), and
// recorded row by row for a test to read.
class HeadlessPrinter final : public Printer {
public:
    enum class Answer { Print, Cancel, Fail };

    // A printed row: its left end and its line on the page, and what it shows in UTF-8, with a tab
    // as the spaces up to its tab stop and a byte that is no character as "[XX]".
    struct PrintedRow {
        int x = 0;
        int y = 0;
        std::string text;
        friend bool operator==(const PrintedRow&, const PrintedRow&) = default;
    };

    struct PrintedPage {
        std::vector<PrintedRow> rows;
        PrintedRow footer;  // the page number
    };

    struct PrintedJob {
        std::string title;
        Font font;
        std::vector<PrintedPage> pages;
        // The rows' texts, page by page.
        std::vector<std::vector<std::string>> texts() const;
    };

    // `codec` must outlive the printer.
    explicit HeadlessPrinter(const CodePageCodec& codec) : codec_(codec) {}

    // --- Printer ---
    bool print(const PrintJob& job) override;

    // --- Script ---
    // Unscripted dialogs are cancelled. A failing printer raises EPrinter with `printerName`.
    void scriptAnswer(Answer answer) { answers_.push_back(answer); }
    // The printable area: `lines` rows of text, then a blank line and the page number's line.
    void setLinesPerPage(std::size_t lines) { linesPerPage_ = lines == 0 ? 1 : lines; }
    void setColumns(std::size_t columns) { columns_ = columns; }
    void setPrinterName(std::string name) { printerName_ = std::move(name); }
    std::size_t dialogsShown() const { return dialogsShown_; }
    const std::vector<PrintedJob>& printed() const { return printed_; }

private:
    const CodePageCodec& codec_;
    std::deque<Answer> answers_;
    std::size_t linesPerPage_ = 60;
    std::size_t columns_ = 80;
    std::string printerName_ = "Headless printer";
    std::size_t dialogsShown_ = 0;
    std::vector<PrintedJob> printed_;
};

}  // namespace zozuz
