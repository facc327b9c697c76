#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "platform/host/Printer.h"

namespace zozuz {

// The headless host's printer: the print dialog takes scripted answers, and a confirmed job is
// "printed" into pages of a fixed number of lines that a test can read.
class HeadlessPrinter final : public Printer {
public:
    enum class Answer { Print, Cancel, Fail };

    struct PrintedJob {
        std::string title;
        Font font;
        std::vector<std::vector<std::string>> pages;
    };

    // --- Printer ---
    bool print(const PrintJob& job) override;

    // --- Script ---
    // Unscripted dialogs are cancelled. A failing printer raises EPrinter with `printerName`.
    void scriptAnswer(Answer answer) { answers_.push_back(answer); }
    void setLinesPerPage(std::size_t lines) { linesPerPage_ = lines == 0 ? 1 : lines; }
    void setPrinterName(std::string name) { printerName_ = std::move(name); }
    std::size_t dialogsShown() const { return dialogsShown_; }
    const std::vector<PrintedJob>& printed() const { return printed_; }

private:
    std::deque<Answer> answers_;
    std::size_t linesPerPage_ = 60;
    std::string printerName_ = "Headless printer";
    std::size_t dialogsShown_ = 0;
    std::vector<PrintedJob> printed_;
};

}  // namespace zozuz
