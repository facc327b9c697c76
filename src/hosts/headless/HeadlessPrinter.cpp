#include "hosts/headless/HeadlessPrinter.h"

#include <cstdint>
#include <string_view>

#include "base/Exception.h"
#include "base/LeadByteSet.h"
#include "base/MessageFormat.h"
#include "editor/CharacterKinds.h"
#include "editor/PrintLayout.h"

namespace zozuz {

namespace {

// A column a byte.
class ColumnMeasure final : public PrintLayout::Measure {
public:
    int advance(std::string_view character) override { return static_cast<int>(character.size()); }
};

HeadlessPrinter::PrintedRow recorded(const PrintLayout::Row& row, const CodePageCodec& codec) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    HeadlessPrinter::PrintedRow printed;
    printed.x = row.runs.empty() ? 0 : row.runs.front().x;
    printed.y = row.y;
    for (const PrintLayout::Run& run : row.runs) {
        const std::string_view bytes = std::string_view(row.bytes).substr(run.start, run.end - run.start);
        switch (run.kind) {
            case PrintLayout::Run::Kind::Text: printed.text += codec.decodeText(bytes); break;
            case PrintLayout::Run::Kind::Tab: printed.text.append(static_cast<std::size_t>(run.width), ' '); break;
            case PrintLayout::Run::Kind::Box: {
                const auto byte = static_cast<std::uint8_t>(bytes[0]);
                printed.text += {'[', kHex[byte >> 4], kHex[byte & 15], ']'};
                break;
            }
        }
    }
    return printed;
}

}  // namespace

std::vector<std::vector<std::string>> HeadlessPrinter::PrintedJob::texts() const {
    std::vector<std::vector<std::string>> result;
    for (const PrintedPage& page : pages) {
        std::vector<std::string>& rows = result.emplace_back();
        for (const PrintedRow& row : page.rows) rows.push_back(row.text);
    }
    return result;
}

bool HeadlessPrinter::print(const PrintJob& job) {
    ++dialogsShown_;
    Answer answer = Answer::Cancel;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Fail) throw EPrinter(formatMessage(messages::kCannotPrintTo, {printerName_}));

    const CharacterKinds kinds(LeadByteSet::codePage936(), codec_);
    ColumnMeasure measure;
    PrintLayout::Geometry geometry;
    geometry.width = static_cast<int>(columns_);
    geometry.height = static_cast<int>(linesPerPage_) + 2;
    geometry.lineHeight = 1;
    geometry.tabStop = 8;
    geometry.boxWidth = 2;
    PrintLayout layout(kinds, measure, geometry, job.lineCount, job.line);
    PrintedJob printed{job.title, job.font, {}};
    for (PrintLayout::Page page; layout.nextPage(page);) {
        PrintedPage& out = printed.pages.emplace_back();
        for (const PrintLayout::Row& row : page.rows) out.rows.push_back(recorded(row, codec_));
        out.footer = recorded(page.footer, codec_);
    }
    printed_.push_back(std::move(printed));
    return true;
}

}  // namespace zozuz
