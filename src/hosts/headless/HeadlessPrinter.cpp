#include "hosts/headless/HeadlessPrinter.h"

#include "base/Exception.h"
#include "base/MessageFormat.h"

namespace zozuz {

bool HeadlessPrinter::print(const PrintJob& job) {
    ++dialogsShown_;
    Answer answer = Answer::Cancel;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Fail) throw EPrinter(formatMessage(messages::kCannotPrintTo, {printerName_}));
    PrintedJob printed{job.title, job.font, {}};
    // An empty text still prints one empty page, as a printer does.
    printed.pages.emplace_back();
    for (std::size_t i = 0; i < job.lineCount; ++i) {
        if (printed.pages.back().size() == linesPerPage_) printed.pages.emplace_back();
        printed.pages.back().push_back(job.line(i));
    }
    printed_.push_back(std::move(printed));
    return true;
}

}  // namespace zozuz
