#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"

namespace zozuz {
namespace {

FileDialogRequest textFileRequest() {
    FileDialogRequest request;
    request.filters = {{"文本文件", "*.txt"}, {"All Files (*.*)", "*.*"}};
    request.defaultExtension = "txt";
    request.initialFolder = "/home/u/文档";
    return request;
}

TEST(HeadlessFileDialogs, AConfirmedNameBecomesAFullPathWithTheDefaultExtension) {
    HeadlessHost host;
    HeadlessFileDialogs& dialogs = host.fileDialogs();
    dialogs.scriptChoice("密文");
    dialogs.scriptChoice("/tmp/a.log", true);
    dialogs.scriptCancel();

    const FileDialogResult typed = host.fileDialogs().saveFile(textFileRequest());
    EXPECT_TRUE(typed.confirmed);
    EXPECT_EQ(typed.path, "/home/u/文档/密文.txt");

    FileDialogRequest withBox = textFileRequest();
    withBox.showReadOnlyBox = true;
    const FileDialogResult absolute = host.fileDialogs().openFile(withBox);
    EXPECT_EQ(absolute.path, "/tmp/a.log");
    EXPECT_TRUE(absolute.readOnly);

    const FileDialogResult cancelled = host.fileDialogs().openFile(textFileRequest());
    EXPECT_FALSE(cancelled.confirmed);
    EXPECT_TRUE(cancelled.path.empty());
    // Unscripted dialogs are cancelled too.
    EXPECT_FALSE(host.fileDialogs().openFile(textFileRequest()).confirmed);

    ASSERT_EQ(dialogs.dialogs().size(), 4u);
    EXPECT_EQ(dialogs.dialogs()[0].kind, HeadlessFileDialogs::Record::Kind::Save);
    EXPECT_EQ(dialogs.dialogs()[0].request.filters.size(), 2u);
    EXPECT_EQ(dialogs.dialogs()[1].kind, HeadlessFileDialogs::Record::Kind::Open);
}

TEST(HeadlessFileDialogs, AHiddenReadOnlyBoxIsNeverReportedTicked) {
    HeadlessHost host;
    host.fileDialogs().scriptChoice("a.txt", true);
    EXPECT_FALSE(host.fileDialogs().openFile(textFileRequest()).readOnly);
}

PrintJob threeLines() {
    // 第一行, then a line wider than the page with a byte that is no character and a tab.
    static const std::vector<std::string> lines{"\xB5\xDA\xD2\xBB\xD0\xD0", "second line\xFF\tlast", "third"};
    PrintJob job;
    job.title = "zozuz";
    job.lineCount = lines.size();
    job.line = [](std::size_t i) { return lines.at(i); };
    return job;
}

TEST(HeadlessPrinter, PrintsPagesOnConfirmNothingOnCancelAndRaisesOnFailure) {
    HeadlessHost host;
    HeadlessPrinter& printer = host.printer();
    printer.setLinesPerPage(2);
    printer.setColumns(14);
    printer.scriptAnswer(HeadlessPrinter::Answer::Print);
    printer.scriptAnswer(HeadlessPrinter::Answer::Cancel);
    printer.scriptAnswer(HeadlessPrinter::Answer::Fail);

    EXPECT_TRUE(host.printer().print(threeLines()));
    ASSERT_EQ(printer.printed().size(), 1u);
    const auto& pages = printer.printed()[0].pages;
    EXPECT_EQ(printer.printed()[0].texts(),
              (std::vector<std::vector<std::string>>{{"第一行", "second "}, {"line[FF]  last", "third"}}));
    using Row = HeadlessPrinter::PrintedRow;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].rows[1], (Row{0, 1, "third"}));
    EXPECT_EQ(pages[1].footer, (Row{6, 3, "2"}));

    EXPECT_FALSE(host.printer().print(threeLines()));
    try {
        host.printer().print(threeLines());
        FAIL() << "a failing printer must raise";
    } catch (const EPrinter& error) {
        EXPECT_EQ(error.message(), "Cannot print to Headless printer");
    }
    EXPECT_EQ(printer.printed().size(), 1u);
    EXPECT_EQ(printer.dialogsShown(), 3u);
}

TEST(HeadlessPrinter, AnEmptyTextPrintsOneEmptyPage) {
    HeadlessHost host;
    host.printer().scriptAnswer(HeadlessPrinter::Answer::Print);
    PrintJob job;
    EXPECT_TRUE(host.printer().print(job));
    EXPECT_EQ(host.printer().printed()[0].pages.size(), 1u);
}

}  // namespace
}  // namespace zozuz
