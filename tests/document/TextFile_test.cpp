#include "document/TextFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "RecordingHost.h"
#include "TempFolder.h"
#include "../platform/files/posix/OrdinaryUser.h"
#include "base/Exception.h"
#include "document/LineCipher.h"
#include "platform/files/SafeFileWriter.h"
#include "platform/files/posix/FileSystem.h"
#include "document/TMemoStrings.h"

namespace zozuz {
namespace {

using namespace std::string_literals;
using Calls = std::vector<std::string>;

// A file system whose chosen call fails with a chosen error once it has been reached `after` times.
class FailingFileSystem : public FileSystem {
public:
    enum class Call { None, Read, Write, Fsync, Close, Rename };
    Call failing = Call::None;
    int error = EIO;
    int after = 0;
    bool shortRead = false;  // the file ends after three bytes, as if it had shrunk
    std::size_t bytesRead = 0;  // by read, in order
    int readsAgain = 0;         // reads from a given place
    std::string readAgainGives;  // what those give instead of the file's bytes, unless empty

private:
    bool shrunk = false;

public:

    ssize_t read(int fd, void* buffer, std::size_t size) override {
        if (shortRead) {
            if (shrunk) return 0;
            shrunk = true;
            return FileSystem::read(fd, buffer, std::min<std::size_t>(size, 3));
        }
        if (fail(Call::Read)) return -1;
        const ssize_t n = FileSystem::read(fd, buffer, size);
        if (n > 0) bytesRead += static_cast<std::size_t>(n);
        return n;
    }
    ssize_t pread(int fd, void* buffer, std::size_t size, off_t offset) override {
        ++readsAgain;
        if (readAgainGives.empty()) return FileSystem::pread(fd, buffer, size, offset);
        const std::string_view rest = std::string_view(readAgainGives).substr(std::min<std::size_t>(offset, readAgainGives.size()));
        const std::size_t n = std::min(size, rest.size());
        std::copy(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n), static_cast<char*>(buffer));
        return static_cast<ssize_t>(n);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        // Half of a large write goes through before the disk is full, as on a real one.
        if (failing == Call::Write && after == 0 && size > 1) {
            after = -1;
            return FileSystem::write(fd, buffer, size / 2);
        }
        return fail(Call::Write) ? -1 : FileSystem::write(fd, buffer, size);
    }
    int fsync(int fd) override { return fail(Call::Fsync) ? -1 : FileSystem::fsync(fd); }
    int close(int fd) override {
        const int result = FileSystem::close(fd);
        return fail(Call::Close) ? -1 : result;
    }
    int rename(const char* from, const char* to) override {
        return fail(Call::Rename) ? -1 : FileSystem::rename(from, to);
    }

private:
    bool fail(Call call) {
        if (call != failing) return false;
        if (after > 0) {
            --after;
            return false;
        }
        errno = error;
        return true;
    }
};

class TextFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    EditControl editor;
    RecordingHost host;
    TMemoStrings document{editor, LeadByteSet::codePage936(), &host};
    TextFile files;

    std::string loaded(std::string_view bytes) {
        files.load(document, folder.write("in.txt", bytes));
        return document.text();
    }

    // Loads as a plain file, encrypts, saves, opens as encrypted, decrypts and saves again.
    std::string roundTrip(std::string_view bytes) {
        files.load(document, folder.write("plain.txt", bytes));
        LineCipher(CipherDirection::Encrypt).run(document, {});
        files.save(document, folder.path("secret.txt"));
        document.clear();
        files.loadEncrypted(document, folder.path("secret.txt"));
        LineCipher(CipherDirection::Decrypt).run(document, {});
        files.save(document, folder.path("back.txt"));
        return TempFolder::read(folder.path("back.txt"));
    }
};

template <class Error>
std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.message();
    }
    return "(no error)";
}

TEST_F(TextFileTest, LoadingNormalisesLineBreaks) {
    EXPECT_EQ(loaded("A\r\nB"), "A\r\nB");
    EXPECT_EQ(loaded("A\nB"), "A\r\nB");
    EXPECT_EQ(loaded("A\rB"), "A\r\nB");
    EXPECT_EQ(loaded("A\n\rB"), "A\r\n\r\nB");
    EXPECT_EQ(document.count(), 3);
    EXPECT_EQ(loaded("A\r\n"), "A\r\n");
    EXPECT_EQ(document.count(), 1);
    EXPECT_EQ(loaded("\x81\nA"), "\x81\nA");
    EXPECT_EQ(document.count(), 1);
    EXPECT_EQ(loaded("\x81\r\n"), "\x81\r\r\n");
}

TEST_F(TextFileTest, LoadingStopsAtTheFirstZeroByte) {
    EXPECT_EQ(loaded("A\0B"s), "A");
    // UTF-16 text: its first character's high byte is zero.
    EXPECT_EQ(loaded("\xFF\xFE" "A\0B\0"s), "\xFF\xFE" "A");
    EXPECT_EQ(loaded("\0abc"s), "");
}

TEST_F(TextFileTest, AnyOtherBytesAreLoadedUnchanged) {
    // Invalid double-byte sequences, a lead byte as the last byte, a byte-order mark: all bytes.
    EXPECT_EQ(loaded("\x81\x20\xFF\xFF\x80\xEF\xBB\xBF\xFE"), "\x81\x20\xFF\xFF\x80\xEF\xBB\xBF\xFE");
}

TEST_F(TextFileTest, AnEmptyFileEmptiesTheDocument) {
    document.setText("old");
    EXPECT_EQ(loaded(""), "");
    EXPECT_EQ(document.count(), 0);
}

TEST_F(TextFileTest, LoadingRunsInOneUpdateAndAnEqualTextLeavesTheEditorAlone) {
    document.setText("A\r\nB");
    editor.setSelection(4, 4);
    ASSERT_TRUE(editor.userInsert("C"));
    host.calls.clear();
    EXPECT_EQ(loaded("A\nBC"), "A\r\nBC");
    EXPECT_TRUE(editor.canUndo());
    EXPECT_EQ(host.calls, (Calls{"redraw off", "redraw on", "refresh"}));
    // The same when the file's bytes need no normalising and would otherwise become the editor's.
    editor.setSelection(1, 2);
    EXPECT_EQ(loaded("A\r\nBC"), "A\r\nBC");
    EXPECT_TRUE(editor.canUndo());
    EXPECT_EQ(editor.selectionEnd(), 2);
    files.loadEncrypted(document, folder.write("same.txt", "A\r\nBC"));
    EXPECT_TRUE(editor.canUndo());
}

TEST_F(TextFileTest, OpeningEncryptedTakesTheBytesAsTheyAre) {
    const std::string bytes = "A\nB\rC\0D\r\n\xFF"s;
    files.loadEncrypted(document, folder.write("secret.txt", bytes));
    EXPECT_EQ(document.text(), bytes);
    // Without a single CR LF pair, another tool converted the line breaks: they come back, and
    // nothing else changes.
    files.loadEncrypted(document, folder.write("converted.txt", "A\nB\rC\0D\xFF\xD6\n"s));
    EXPECT_EQ(document.text(), "A\r\nB\r\nC\0D\xFF\xD6\r\n"s);
}

TEST_F(TextFileTest, AMissingFileOrAFolderCannotBeOpenedAndNothingChanges) {
    document.setText("keep");
    host.calls.clear();
    const std::string missing = folder.path("missing.txt");
    EXPECT_EQ(messageOf<EFOpenError>([&] { files.load(document, missing); }), "Cannot open file " + missing);
    EXPECT_EQ(messageOf<EFOpenError>([&] { files.loadEncrypted(document, missing); }), "Cannot open file " + missing);
    const std::string dir = folder.root().string();
    EXPECT_EQ(messageOf<EFOpenError>([&] { files.load(document, dir); }), "Cannot open file " + dir);
    // Names the system refuses for everyone, the administrator included: a file used as a folder,
    // and a name longer than any the system takes.
    const std::string underAFile = folder.write("plain.txt", "x") + "/inside.txt";
    EXPECT_EQ(messageOf<EFOpenError>([&] { files.load(document, underAFile); }), "Cannot open file " + underAFile);
    EXPECT_THROW(files.load(document, folder.path(std::string(5000, 'n'))), EFOpenError);
    EXPECT_EQ(document.text(), "keep");
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(document.updateDepth(), 0);
}

TEST_F(TextFileTest, AFileWithoutReadPermissionCannotBeOpened) {
    const std::string file = folder.write("secret.txt", "x");
    ::chmod(file.c_str(), 0);
    ::chmod(folder.root().c_str(), 0755);
    document.setText("keep");
    // The administrator reads every file, so the refusal is tried as an ordinary user.
    EXPECT_EQ(asOrdinaryUser([&] {
                  try {
                      files.load(document, file);
                  } catch (const EFOpenError& error) {
                      return error.message() == "Cannot open file " + file && document.text() == "keep";
                  }
                  return false;
              }),
              0);
}

TEST_F(TextFileTest, AFileLockedForWritingCannotBeOpened) {
    const std::string file = folder.write("busy.txt", "x");
    const int writer = ::open(file.c_str(), O_WRONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    EXPECT_THROW(files.load(document, file), EFOpenError);
    ::close(writer);
    EXPECT_EQ(loaded("x"), "x");
}

TEST_F(TextFileTest, AFileBeyondTheCapacityIsRefusedBeforeItIsRead) {
    const std::string file = folder.path("huge.txt");
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, (std::int64_t{1} << 31) + 1), 0);  // sparse: costs no disk
    ::close(fd);
    document.setText("keep");
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(messageOf<EInvalidOperation>([&] { files.load(document, file); }), "Text exceeds memo capacity");
    EXPECT_THROW(files.loadEncrypted(document, file), EInvalidOperation);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024);  // kilobytes
    EXPECT_EQ(document.text(), "keep");
    EXPECT_EQ(document.updateDepth(), 0);
}

TEST_F(TextFileTest, ASmallerEditorRefusesAFileThatGrowsPastItWhenNormalised) {
    EditControl small(LeadByteSet::codePage936(), 6);
    TMemoStrings smallDocument(small);
    smallDocument.setText("keep");
    const std::string file = folder.write("grows.txt", "a\nb\nc\n");  // six bytes, nine normalised
    EXPECT_THROW(files.load(smallDocument, file), EInvalidOperation);
    EXPECT_EQ(smallDocument.text(), "keep");
    // So does an encrypted file whose converted line breaks are restored.
    EXPECT_THROW(files.loadEncrypted(smallDocument, file), EInvalidOperation);
    files.loadEncrypted(smallDocument, folder.write("raw.txt", "a\r\nb\nc"));
    EXPECT_EQ(smallDocument.text(), "a\r\nb\nc");
    EXPECT_THROW(files.loadEncrypted(smallDocument, folder.write("long.txt", "1234567")), EInvalidOperation);
    EXPECT_THROW(files.load(smallDocument, folder.path("long.txt")), EInvalidOperation);
    EXPECT_EQ(smallDocument.text(), "a\r\nb\nc");
}

// Only regular files are loaded: a FIFO without a writer would hold the window for good, and an
// endless device would be read up to the capacity first. Each is refused at once.
TEST_F(TextFileTest, AFileThatOutgrowsTheEditorWhenNormalisedIsRefusedBeforeItIsReadThrough) {
    // Line breaks alone, as many as the editor holds: counted while it is read, the file shows it
    // cannot fit, doubled, when half of it has been read, and the rest is not read.
    const std::size_t size = (20 << 20) + 1;
    EditControl small(LeadByteSet::codePage936(), static_cast<EditControl::Pos>(size));
    TMemoStrings smallDocument(small);
    smallDocument.setText("keep");
    FailingFileSystem fs;
    const std::string file = folder.write("breaks.txt", std::string(size, '\n'));
    EXPECT_THROW(TextFile(fs).load(smallDocument, file), EInvalidOperation);
    EXPECT_LT(fs.bytesRead, size);
    EXPECT_EQ(smallDocument.text(), "keep");
}

// A text that more than doubles when normalised is read a second time, into the end of the block
// for its normalised text, after the first block is let go; the bytes it brings are checked anew.
TEST_F(TextFileTest, AFileOfEmptyLinesIsReadAgainIntoItsNormalisedBlock) {
    FailingFileSystem fs;
    const std::string file = folder.write("empty.txt", std::string(3000, '\n') + "end");
    TextFile(fs).load(document, file);
    std::string expected;
    for (int i = 0; i < 3000; ++i) expected += "\r\n";
    EXPECT_EQ(document.text(), expected + "end");
    EXPECT_EQ(fs.readsAgain, 1);

    // A file that changed in between so that it needs more room than the first reading showed is a
    // read error, and the document stays as it was.
    document.setText("keep");
    fs.readAgainGives = std::string(3003, '\n');
    EXPECT_EQ(messageOf<EReadError>([&] { TextFile(fs).load(document, file); }), "Stream read error");
    EXPECT_EQ(document.text(), "keep");
    EXPECT_EQ(document.updateDepth(), 0);
    // One that changed otherwise loads as it was read the second time.
    fs.readAgainGives = std::string(2000, '\n') + "changed";
    TextFile(fs).load(document, file);
    EXPECT_EQ(document.text(), expected.substr(0, 4000) + "changed");
}

TEST_F(TextFileTest, AFifoOrADeviceIsRefusedAtOnceAndNothingChanges) {
    const std::string fifo = folder.path("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    document.setText("keep");
    for (const std::string& name : {fifo, std::string("/dev/null"), std::string("/dev/zero")}) {
        EXPECT_EQ(messageOf<EFOpenError>([&] { files.load(document, name); }), "Cannot open file " + name);
        EXPECT_EQ(messageOf<EFOpenError>([&] { files.loadEncrypted(document, name); }), "Cannot open file " + name);
    }
    EXPECT_EQ(document.text(), "keep");
    EXPECT_EQ(document.updateDepth(), 0);
}

TEST_F(TextFileTest, AFailedReadIsReportedAndTheDocumentKept) {
    FailingFileSystem fs;
    fs.failing = FailingFileSystem::Call::Read;
    document.setText("keep");
    const std::string file = folder.write("in.txt", "new text");
    EXPECT_EQ(messageOf<EReadError>([&] { TextFile(fs).load(document, file); }), "Stream read error");
    EXPECT_EQ(document.text(), "keep");
    EXPECT_EQ(document.updateDepth(), 0);
}

TEST_F(TextFileTest, AFileThatShrinksWhileReadGivesWhatWasRead) {
    FailingFileSystem fs;
    fs.shortRead = true;
    TextFile(fs).load(document, folder.write("in.txt", "abcdefgh"));
    EXPECT_EQ(document.text(), "abc");
}

TEST_F(TextFileTest, SavingWritesTheTextExactly) {
    for (const std::string& text : {""s, "A\r\nB"s, "A\r\nB\r\n"s, "\0\xFF\n\r"s}) {
        document.setRawText(text);
        files.save(document, folder.path("out.txt"));
        EXPECT_EQ(TempFolder::read(folder.path("out.txt")), text);
    }
    EXPECT_EQ(folder.entries(), 1u);
}

TEST_F(TextFileTest, PlainFilesWithOnlyCrLfComeBackByteForByte) {
    const std::string bytes = "first\r\n\xBC\xD3\xC3\xDC\r\n\r\nlast";
    files.load(document, folder.write("in.txt", bytes));
    files.save(document, folder.path("out.txt"));
    EXPECT_EQ(TempFolder::read(folder.path("out.txt")), bytes);
}

TEST_F(TextFileTest, EncryptSaveOpenEncryptedDecryptRestoresTheNormalisedText) {
    EXPECT_EQ(roundTrip("abc\r\n\xBC\xD3\xC3\xDC"), "abc\r\n\xBC\xD3\xC3\xDC");
    // Tabs become LF, form feeds CR and 0xFF zero on the way; opening byte for byte keeps them. (A
    // form feed right before a tab would become CR LF, a line break like any other in the file.)
    EXPECT_EQ(roundTrip("\ta\x0C\xFF\x09\r\nx\x0C"), "\ta\x0C\xFF\x09\r\nx\x0C");
    for (std::size_t length : {255u, 256u, 257u, 4096u, 4097u, 1u << 20}) {
        std::string line(length, '\0');
        for (std::size_t i = 0; i < length; ++i) line[i] = static_cast<char>(i % 2 == 0 ? 0xB0 + i % 40 : 0xA1 + i % 90);
        line.back() = 'x';  // no lead byte right before a line break, which loading would split off
        const std::string text = line + "\r\n" + line;
        EXPECT_EQ(roundTrip(text), text) << length;
        // The encrypted file has the same size: nothing shortened, nothing dropped.
        EXPECT_EQ(std::filesystem::file_size(folder.path("secret.txt")), text.size());
    }
}

TEST_F(TextFileTest, EncryptingTwiceAndDecryptingTwiceRestoresTheText) {
    const std::string text = "\x0B\x0C\xFE\xFF\t\r\nz";
    files.loadEncrypted(document, folder.write("in.txt", text));
    for (int i = 0; i < 2; ++i) {
        LineCipher(CipherDirection::Encrypt).run(document, {});
        files.save(document, folder.path("secret.txt"));
        files.loadEncrypted(document, folder.path("secret.txt"));
    }
    LineCipher(CipherDirection::Decrypt).run(document, {});
    LineCipher(CipherDirection::Decrypt).run(document, {});
    EXPECT_EQ(document.text(), text);
}

TEST_F(TextFileTest, AFileThatCannotBeCreatedIsReportedAndTheOldOneKept) {
    document.setText("new");
    const std::string missingFolder = folder.path("nowhere/out.txt");
    EXPECT_EQ(messageOf<EFCreateError>([&] { files.save(document, missingFolder); }), "Cannot create file " + missingFolder);
    const std::string dir = folder.path("dir");
    std::filesystem::create_directory(dir);
    EXPECT_EQ(messageOf<EFCreateError>([&] { files.save(document, dir); }), "Cannot create file " + dir);
    EXPECT_THROW(files.save(document, ""), EFCreateError);

    const std::string readOnly = folder.write("readonly.txt", "old");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(messageOf<EFCreateError>([&] { files.save(document, readOnly); }), "Cannot create file " + readOnly);
    EXPECT_EQ(TempFolder::read(readOnly), "old");
    EXPECT_EQ(folder.entries(), 2u);  // dir and readonly.txt, no temporary file
}

TEST_F(TextFileTest, AWritableFileInAFolderWithoutWritePermissionIsSavedInPlace) {
    const std::string file = folder.write("old.txt", "old text, longer than the new");
    ::chmod(file.c_str(), 0666);
    ::chmod(folder.root().c_str(), 0555);
    // The old text's copy goes to the user's cache folder meanwhile.
    TempFolder home;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(home.root().c_str(), kOrdinaryUser, kOrdinaryUser), 0);
    }
    document.setText("new");
    // The administrator writes in every folder, so the save is tried as an ordinary user, whom the
    // folder takes no new file from.
    EXPECT_EQ(asOrdinaryUser([&] {
                  ::setenv("XDG_CACHE_HOME", home.path("cache").c_str(), 1);
                  files.save(document, file);
                  return true;
              }),
              0);
    EXPECT_EQ(TempFolder::read(file), "new");
    EXPECT_EQ(folder.entries(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(home.path("cache/zozuz/backups")));
}

TEST_F(TextFileTest, EveryWriteFailureKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const std::string file = folder.write("out.txt", "old bytes");
    document.setText(std::string(100000, 'n'));
    const std::pair<FailingFileSystem::Call, const char*> failures[] = {
        {FailingFileSystem::Call::Write, "Stream write error"},
        {FailingFileSystem::Call::Fsync, "Stream write error"},
        {FailingFileSystem::Call::Close, "Stream write error"},
        {FailingFileSystem::Call::Rename, "Cannot create file "},
    };
    for (const auto& [call, message] : failures) {
        FailingFileSystem fs;
        fs.failing = call;
        fs.error = ENOSPC;
        try {
            TextFile(fs).save(document, file);
            ADD_FAILURE() << "no error for " << message;
        } catch (const EStreamError& error) {
            EXPECT_EQ(error.message().rfind(message, 0), 0u) << error.message();
        }
        EXPECT_EQ(TempFolder::read(file), "old bytes");
        EXPECT_EQ(folder.entries(), 1u);
    }
}

TEST_F(TextFileTest, OnlyTheProgramsSaveWaitsForTheDisk) {
    const std::string file = folder.write("out.txt", "old");
    FailingFileSystem fs;
    fs.failing = FailingFileSystem::Call::Fsync;
    // A writer that leaves the bytes to the system never asks the disk, so a disk that cannot
    // flush does not stop it; the program's own save does ask, and reports the failure.
    SafeFileWriter::Options options;
    options.flush = SafeFileWriter::Flush::ToSystem;
    SafeFileWriter relaxed(file, fs, options);
    relaxed.write("new");
    relaxed.commit();
    EXPECT_EQ(TempFolder::read(file), "new");
    document.setText("newer");
    EXPECT_THROW(TextFile(fs).save(document, file), EWriteError);
    EXPECT_EQ(TempFolder::read(file), "new");
}

TEST_F(TextFileTest, SavingKeepsPermissionBitsAndFollowsLinks) {
    const std::string file = folder.write("target.txt", "old");
    ::chmod(file.c_str(), 0640);
    const std::string link = folder.path("link.txt");
    std::filesystem::create_symlink("target.txt", link);
    document.setText("new");
    files.save(document, link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(file), "new");
    struct stat status {};
    ::stat(file.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// The program saves over regular files only: a FIFO nobody reads would hold the window for good in
// the open, and a device swallows the text. Each is refused at once, also behind a link; the alarm
// ends a save that waits instead.
TEST_F(TextFileTest, SavingToAFifoOrADeviceIsRefusedAtOnce) {
    const std::string fifo = folder.path("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = folder.path("link.txt");
    std::filesystem::create_symlink("fifo.txt", link);
    document.setText("text");
    ::alarm(10);
    for (const std::string& name : {fifo, link, std::string("/dev/null")}) {
        try {
            files.save(document, name);
            ADD_FAILURE() << "saved to " << name;
        } catch (const EFCreateError& error) {
            EXPECT_EQ(error.message(), "Cannot create file " + name);
            EXPECT_EQ(error.reason(), name + ": not a regular file");
        }
    }
    ::alarm(0);
    struct stat status {};
    ASSERT_EQ(::lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(folder.entries(), 2u);
}

TEST_F(TextFileTest, ARealFullDiskKeepsTheOldFile) {
    const std::string mountPoint = folder.path("small");
    std::filesystem::create_directory(mountPoint);
    if (::mount("zozuz-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here";
    }
    const std::string file = mountPoint + "/out.txt";
    std::ofstream(file, std::ios::binary) << "old bytes";
    document.setText(std::string(200 * 1024, 'x'));
    EXPECT_THROW(files.save(document, file), EWriteError);
    EXPECT_EQ(TempFolder::read(file), "old bytes");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mountPoint), {}), 1);
    ::umount(mountPoint.c_str());
}

}  // namespace
}  // namespace zozuz
