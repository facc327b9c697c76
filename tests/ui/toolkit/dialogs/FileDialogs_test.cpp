// The dialog components: what they ask of the desktop's dialogs, what they keep between showings,
// and how a stored layout sets them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/dialogs/TOpenDialog.h"
#include "ui/toolkit/dialogs/TOpenOptions.h"
#include "ui/toolkit/dialogs/TPrintDialog.h"
#include "ui/toolkit/dialogs/TSaveDialog.h"
#include "ui/toolkit/windows/LayoutReader.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

using namespace std::string_literals;
using Kind = HeadlessFileDialogs::Record::Kind;

class FileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.HandleNeeded();
        host.fileDialogs().setDocumentsFolder("/home/li/文档");
    }
    HeadlessFileDialogs& dialogs() { return host.fileDialogs(); }
    const FileDialogRequest& lastRequest() { return dialogs().dialogs().back().request; }

    HeadlessHost host;
    TApplication app{host};
    TForm form{app};
};

TEST(FilterEntries, CaptionsAndPatternsComeInPairs) {
    TOpenDialog dialog;
    dialog.SetFilter("文本文件|*.txt|All Files (*.*)|*.*");
    const auto entries = dialog.FilterEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].caption, "文本文件");
    EXPECT_EQ(entries[0].patterns, "*.txt");
    EXPECT_EQ(entries[1].caption, "All Files (*.*)");
    EXPECT_EQ(entries[1].patterns, "*.*");

    // A caption without patterns after it is no entry; empty parts stay as they are.
    dialog.SetFilter("Text|*.txt|Lonely");
    EXPECT_EQ(dialog.FilterEntries().size(), 1u);
    dialog.SetFilter("");
    EXPECT_TRUE(dialog.FilterEntries().empty());
    dialog.SetFilter("|*.log");
    ASSERT_EQ(dialog.FilterEntries().size(), 1u);
    EXPECT_EQ(dialog.FilterEntries()[0].patterns, "*.log");
}

TEST(OpenOptions, StoredFormsParseAndUnknownNamesAreRefused) {
    const auto both = TOpenOptions::Parse("[ofHideReadOnly, ofEnableSizing]");
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->Contains(TOpenOption::ofHideReadOnly));
    EXPECT_TRUE(both->Contains(TOpenOption::ofEnableSizing));
    EXPECT_FALSE(both->Contains(TOpenOption::ofOverwritePrompt));
    EXPECT_EQ(TOpenOptions::Parse("[]"), TOpenOptions());
    EXPECT_EQ(TOpenOptions::Parse("ofOverwritePrompt")->Contains(TOpenOption::ofOverwritePrompt), true);
    EXPECT_FALSE(TOpenOptions::Parse("[ofHideReadOnly,ofNoSuchThing]"));
    EXPECT_FALSE(TOpenOptions::Parse("ofHideReadOnly,,ofEnableSizing"));
}

TEST_F(FileDialogsTest, TheRequestCarriesTheDialogsSettings) {
    auto* open = new TOpenDialog(&form);
    open->SetFilter("文本文件|*.txt|All Files (*.*)|*.*");
    open->SetDefaultExt("txt");
    open->SetInitialDir(TOpenDialog::kDesignedDocumentsFolder);
    EXPECT_FALSE(open->Execute());

    ASSERT_EQ(dialogs().dialogs().size(), 1u);
    EXPECT_EQ(dialogs().dialogs()[0].kind, Kind::Open);
    const FileDialogRequest& request = lastRequest();
    EXPECT_EQ(request.owner, form.Native());
    EXPECT_EQ(request.title, "");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filterIndex, 0);
    EXPECT_EQ(request.defaultExtension, "txt");
    // The designed "C:\My Documents" is the user's documents folder on this desktop.
    EXPECT_EQ(request.initialFolder, "/home/li/文档");
    EXPECT_EQ(request.fileName, "");
    // By default the read-only box is hidden, the dialog can be sized, and nothing is asked.
    EXPECT_FALSE(request.showReadOnlyBox);
    EXPECT_TRUE(request.resizable);
    EXPECT_FALSE(request.overwritePrompt);
    EXPECT_FALSE(request.fileMustExist);

    // Any other folder goes as it is; the options map one for one.
    auto* save = new TSaveDialog(&form);
    save->SetInitialDir("/srv/texts");
    save->SetTitle("加密后的文本保存为");
    TOpenOptions options;
    options.Include(TOpenOption::ofOverwritePrompt);
    options.Include(TOpenOption::ofFileMustExist);
    save->SetOptions(options);
    save->Execute();
    EXPECT_EQ(dialogs().dialogs().back().kind, Kind::Save);
    EXPECT_EQ(lastRequest().initialFolder, "/srv/texts");
    EXPECT_EQ(lastRequest().title, "加密后的文本保存为");
    EXPECT_TRUE(lastRequest().showReadOnlyBox);
    EXPECT_FALSE(lastRequest().resizable);
    EXPECT_TRUE(lastRequest().overwritePrompt);
    EXPECT_TRUE(lastRequest().fileMustExist);
}

TEST_F(FileDialogsTest, EachDialogOffersTheNameLastChosenInItAndACancelKeepsIt) {
    auto* open = new TOpenDialog(&form);
    auto* save = new TSaveDialog(&form);
    open->SetDefaultExt("txt");
    open->SetInitialDir(TOpenDialog::kDesignedDocumentsFolder);
    save->SetInitialDir(TOpenDialog::kDesignedDocumentsFolder);

    dialogs().scriptChoice("信");
    ASSERT_TRUE(open->Execute());
    // The name comes back as a full path, with the default extension added.
    EXPECT_EQ(open->FileName(), "/home/li/文档/信.txt");

    dialogs().scriptCancel();
    EXPECT_FALSE(open->Execute());
    EXPECT_EQ(lastRequest().fileName, "/home/li/文档/信.txt");
    EXPECT_EQ(open->FileName(), "/home/li/文档/信.txt");

    // The save dialog keeps a name of its own.
    dialogs().scriptChoice("/tmp/out");
    ASSERT_TRUE(save->Execute());
    EXPECT_EQ(lastRequest().fileName, "");
    EXPECT_EQ(save->FileName(), "/tmp/out");
    dialogs().scriptCancel();
    open->Execute();
    EXPECT_EQ(lastRequest().fileName, "/home/li/文档/信.txt");
    dialogs().scriptCancel();
    save->Execute();
    EXPECT_EQ(lastRequest().fileName, "/tmp/out");
}

TEST_F(FileDialogsTest, TheReadOnlyBoxAndTheChosenFilterComeBack) {
    auto* open = new TOpenDialog(&form);
    open->SetFilter("Text|*.txt|All|*.*");
    TOpenOptions shown;
    open->SetOptions(shown);  // the read-only box shows
    dialogs().scriptAnswer({true, "/a.txt", true, 1});
    ASSERT_TRUE(open->Execute());
    EXPECT_TRUE(open->Options().Contains(TOpenOption::ofReadOnly));
    EXPECT_EQ(open->FilterIndex(), 2);
    // The next showing opens with that filter; an unticked box clears the option again.
    dialogs().scriptChoice("/b.txt");
    ASSERT_TRUE(open->Execute());
    EXPECT_EQ(lastRequest().filterIndex, 1);
    EXPECT_FALSE(open->Options().Contains(TOpenOption::ofReadOnly));
    // An index outside the list selects the first entry.
    open->SetFilterIndex(7);
    open->Execute();
    EXPECT_EQ(lastRequest().filterIndex, 0);
}

TEST_F(FileDialogsTest, ThePrintDialogPrintsOnlyWhenConfirmedAndPassesFailuresOn) {
    auto* print = new TPrintDialog(&form);
    PrintJob job;
    job.title = "zozuz";
    job.lineCount = 2;
    job.line = [](std::size_t index) { return index == 0 ? "\xB5\xDA\xD2\xBB\xD0\xD0"s : "second"s; };

    EXPECT_FALSE(print->Execute(job));
    EXPECT_TRUE(host.printer().printed().empty());

    host.printer().scriptAnswer(HeadlessPrinter::Answer::Print);
    EXPECT_TRUE(print->Execute(job));
    ASSERT_EQ(host.printer().printed().size(), 1u);
    EXPECT_EQ(host.printer().printed()[0].texts()[0], (std::vector<std::string>{"第一行", "second"}));

    host.printer().scriptAnswer(HeadlessPrinter::Answer::Fail);
    EXPECT_THROW(print->Execute(job), EPrinter);
    EXPECT_EQ(host.printer().dialogsShown(), 3u);
}

TEST_F(FileDialogsTest, AStoredLayoutSetsTheDialogsAndRefusesWhatTheyDoNotHave) {
    TForm window(app);
    LayoutReader(window, {}).Read({
        {"TForm", "Window", "", {}},
        {"TOpenDialog", "OpenDialog", "",
         {{"Filter", "Text|*.txt"s},
          {"FilterIndex", 1},
          {"DefaultExt", "txt"s},
          {"InitialDir", "/srv"s},
          {"FileName", "a.txt"s},
          {"Options", "[ofFileMustExist]"s}}},
        {"TSaveDialog", "SaveDialog", "", {{"Title", "Save it"s}}},
        {"TPrintDialog", "PrintDialog1", "", {}},
    });
    auto* open = dynamic_cast<TOpenDialog*>(window.FindComponent("OpenDialog"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Filter(), "Text|*.txt");
    EXPECT_EQ(open->DefaultExt(), "txt");
    EXPECT_EQ(open->InitialDir(), "/srv");
    EXPECT_EQ(open->FileName(), "a.txt");
    EXPECT_TRUE(open->Options().Contains(TOpenOption::ofFileMustExist));
    EXPECT_FALSE(open->Options().Contains(TOpenOption::ofHideReadOnly));
    auto* save = dynamic_cast<TSaveDialog*>(window.FindComponent("SaveDialog"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->Title(), "Save it");
    EXPECT_NE(dynamic_cast<TPrintDialog*>(window.FindComponent("PrintDialog1")), nullptr);

    const auto failure = [this](const StoredComponent& dialog) {
        TForm other(app);
        try {
            LayoutReader(other, {}).Read({{"TForm", "Other", "", {}}, dialog});
        } catch (const EReadError& error) {
            return error.message();
        }
        return std::string();
    };
    EXPECT_EQ(failure({"TOpenDialog", "D", "", {{"Options", "[ofSomething]"s}}}),
              "Stored layout of Other: component D has options [ofSomething] that are no dialog options");
    EXPECT_EQ(failure({"TOpenDialog", "D", "", {{"Caption", "x"s}}}),
              "Stored layout of Other: component D has no property Caption of that type");
    EXPECT_EQ(failure({"TPrintDialog", "P", "", {{"Title", "x"s}}}),
              "Stored layout of Other: component P has no property Title of that type");
}

}  // namespace
}  // namespace zozuz
