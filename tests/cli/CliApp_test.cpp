#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "../document/TempFolder.h"
#include "document/LineCipher.h"
#include "document/TMemoStrings.h"
#include "document/TextFile.h"
#include "platform/files/posix/FileSystem.h"

namespace zozuz {
namespace {

using namespace std::string_literals;

// Writes fail with a full disk once `allowed` bytes have gone to files (not to the error stream).
class FullDisk : public FileSystem {
public:
    std::size_t allowed = 0;
    int errorStream = -1;
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        if (fd == errorStream) return FileSystem::write(fd, buffer, size);
        if (allowed == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, allowed);
        allowed -= n;
        return FileSystem::write(fd, buffer, n);
    }
};

class CliAppTest : public ::testing::Test {
protected:
    TempFolder folder;
    TempFolder streams;  // apart, so that counting the files in `folder` sees only the program's
    std::string in = streams.path("stdin");
    std::string out = streams.path("stdout");
    std::string err = streams.path("stderr");
    std::string errorText;
    std::string outputText;

    int run(const std::vector<std::string>& arguments, bool terminal = false, FileSystem& fs = FileSystem::posix(),
            std::string_view standardInput = {}) {
        streams.write("stdin", standardInput);
        const int input = ::open(in.c_str(), O_RDONLY);
        const int output = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int error = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (auto* full = dynamic_cast<FullDisk*>(&fs)) full->errorStream = error;
        const int status = CliApp({input, output, error, terminal}, fs).run(arguments);
        ::close(input);
        ::close(output);
        ::close(error);
        errorText = TempFolder::read(err);
        outputText = TempFolder::read(out);
        return status;
    }
};

TEST_F(CliAppTest, HelpAndVersionGoToStandardOutput) {
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(outputText, CliApp::usage());
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(outputText, "zozuz-cli 1.0.0.1 (product version 1.0.0.0)\n");
    EXPECT_EQ(errorText, "");
}

TEST_F(CliAppTest, AUsageErrorShowsTheUsageAndExitsWith2) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"encrypt"}, {"encrypt", "a"}, {"scramble", "a", "b"}, {"encrypt", "a", "b", "c"}}) {
        EXPECT_EQ(run(arguments), 2);
        EXPECT_EQ(errorText, CliApp::usage());
        EXPECT_EQ(outputText, "");
    }
}

TEST_F(CliAppTest, EncryptThenDecryptGivesTheTextBack) {
    const std::string plain = folder.write("plain.txt", "abc\r\n\xBC\xD3\xC3\xDC\r\n");
    EXPECT_EQ(run({"encrypt", plain, folder.path("secret.txt")}), 0);
    EXPECT_EQ(TempFolder::read(folder.path("secret.txt")), "bcd\r\n\xBD\xD4\xC4\xDD\r\n");
    EXPECT_EQ(run({"decrypt", folder.path("secret.txt"), folder.path("back.txt")}), 0);
    EXPECT_EQ(TempFolder::read(folder.path("back.txt")), "abc\r\n\xBC\xD3\xC3\xDC\r\n");
    EXPECT_EQ(errorText, "");
    // Another tool turned its CR LF into LF: the breaks come back, from a file and from a pipe.
    const std::string converted = folder.write("converted.txt", "bcd\n\xBD\xD4\xC4\xDD\n");
    EXPECT_EQ(run({"decrypt", converted, folder.path("back.txt")}), 0);
    EXPECT_EQ(TempFolder::read(folder.path("back.txt")), "abc\r\n\xBC\xD3\xC3\xDC\r\n");
    EXPECT_EQ(run({"decrypt", "-", "-"}, false, FileSystem::posix(), "bcd\r\xBD\xD4\xC4\xDD\n"), 0);
    EXPECT_EQ(outputText, "abc\r\n\xBC\xD3\xC3\xDC\r\n");
}

TEST_F(CliAppTest, GivesTheBytesTheProgramSaves) {
    const std::string input = "one\ntwo\rthree\x81\r\n" + std::string(4097, '\xB0') + "\r\n\t\x0C\xFF\0tail"s;
    // With no CR LF pair at all, an encrypted text's line breaks were converted by another tool.
    const std::string converted = "one\ntwo\rthree\x81\n\xB0\xB0\n\t\x0C\xFF\0tail"s;
    for (const auto& [encrypt, text] : {std::pair{true, input}, std::pair{false, input}, std::pair{false, converted}}) {
        const std::string file = folder.write("in.txt", text);
        EditControl editor;
        TMemoStrings document(editor);
        const TextFile files;
        if (encrypt) {
            files.load(document, file);
        } else {
            files.loadEncrypted(document, file);
        }
        LineCipher(encrypt ? CipherDirection::Encrypt : CipherDirection::Decrypt).run(document, {});
        files.save(document, folder.path("program.txt"));
        EXPECT_EQ(run({encrypt ? "encrypt" : "decrypt", file, folder.path("cli.txt")}), 0);
        EXPECT_EQ(TempFolder::read(folder.path("cli.txt")), TempFolder::read(folder.path("program.txt")));
    }
}

TEST_F(CliAppTest, ADashReadsStandardInputAndWritesStandardOutput) {
    EXPECT_EQ(run({"encrypt", "-", "-"}, false, FileSystem::posix(), "ab\ncd"), 0);
    EXPECT_EQ(outputText, "bc\r\nde");
    // Encrypted input with CR LF breaks is taken byte for byte: the lone LF is a byte of the line
    // and is shifted too. Without any CR LF, the lone LF is taken for a converted line break.
    EXPECT_EQ(run({"decrypt", "-", "-"}, false, FileSystem::posix(), "bc\nde\r\n"), 0);
    EXPECT_EQ(outputText, "ab\tcd\r\n");
    EXPECT_EQ(run({"decrypt", "-", "-"}, false, FileSystem::posix(), "bc\nde"), 0);
    EXPECT_EQ(outputText, "ab\r\ncd");
}

TEST_F(CliAppTest, InputErrorsNameTheFileWithAFinalPeriod) {
    const std::string missing = folder.path("missing.txt");
    EXPECT_EQ(run({"encrypt", missing, folder.path("out.txt")}), 1);
    EXPECT_EQ(errorText, "zozuz-cli: Cannot open file " + missing + ".\nzozuz-cli: " + missing + ": No such file or directory\n");
    const std::string dir = folder.root().string();
    EXPECT_EQ(run({"decrypt", dir, folder.path("out.txt")}), 1);
    EXPECT_EQ(errorText, "zozuz-cli: Cannot open file " + dir + ".\nzozuz-cli: " + dir + ": Is a directory\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path("out.txt")));
}

TEST_F(CliAppTest, OutputErrorsKeepTheOldFile) {
    const std::string plain = folder.write("plain.txt", "text");
    const std::string nowhere = folder.path("nowhere/out.txt");
    EXPECT_EQ(run({"encrypt", plain, nowhere}), 1);
    EXPECT_EQ(errorText, "zozuz-cli: Cannot create file " + nowhere + ".\nzozuz-cli: " + nowhere + ": No such file or directory\n");

    const std::string readOnly = folder.write("readonly.txt", "old");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(run({"encrypt", plain, readOnly}), 1);
    EXPECT_EQ(errorText, "zozuz-cli: Cannot create file " + readOnly + ".\nzozuz-cli: " + readOnly + ": Permission denied\n");
    EXPECT_EQ(TempFolder::read(readOnly), "old");
}

TEST_F(CliAppTest, AFullDiskIsAWriteErrorAndTheOldFileStays) {
    const std::string plain = folder.write("plain.txt", std::string(3 << 20, 'x'));
    const std::string target = folder.write("target.txt", "old");
    const std::size_t before = folder.entries();
    FullDisk disk;
    disk.allowed = 1 << 20;
    EXPECT_EQ(run({"encrypt", plain, target}, false, disk), 1);
    EXPECT_EQ(errorText, "zozuz-cli: Stream write error.\nzozuz-cli: " + target + ": No space left on device\n");
    EXPECT_EQ(TempFolder::read(target), "old");
    EXPECT_EQ(folder.entries(), before);  // no temporary file left

    FullDisk fullOutput;
    EXPECT_EQ(run({"encrypt", plain, "-"}, false, fullOutput), 1);
    EXPECT_EQ(errorText, "zozuz-cli: Stream write error.\nzozuz-cli: standard output: No space left on device\n");
}

TEST_F(CliAppTest, TheInputMayBeTheOutput) {
    const std::string file = folder.write("same.txt", "abc\r\nxyz");
    EXPECT_EQ(run({"encrypt", file, file}), 0);
    EXPECT_EQ(TempFolder::read(file), "bcd\r\nyz{");
}

TEST_F(CliAppTest, AProgressBarShowsOnlyOnATerminalForLargeInput) {
    const std::string large = folder.write("large.txt", std::string(CliApp::kProgressThreshold + 1, 'a'));
    EXPECT_EQ(run({"encrypt", large, folder.path("out.txt")}, true), 0);
    EXPECT_NE(errorText.find("100%"), std::string::npos);
    EXPECT_EQ(errorText.back(), '\n');
    EXPECT_EQ(run({"encrypt", large, folder.path("out.txt")}, false), 0);
    EXPECT_EQ(errorText, "");
    const std::string small = folder.write("small.txt", "a");
    EXPECT_EQ(run({"encrypt", small, folder.path("out.txt")}, true), 0);
    EXPECT_EQ(errorText, "");
}

TEST_F(CliAppTest, LinesLongerThanWhatIsHeldComeOutAsTheProgramSavesThem) {
    // Lines of several megabytes, past what a run holds in memory, one of them ended by the end of
    // the file; CRs and LFs inside them; the output to a file, where the line's first bytes are
    // written again in place, and to standard output, where the line waits in a scratch file.
    std::string input(9 << 20, 'a');
    for (std::size_t i = 0; i < input.size(); i += 4099) input[i] = static_cast<char>(i % 251);
    input += "\r\nshort\r\n" + std::string((5 << 20) + 300, '\xB0') + "\r";
    input[1000] = '\0';  // ends a plain text early, but not an encrypted one
    const std::string file = folder.write("in.txt", input);
    for (const bool encrypt : {true, false}) {
        EditControl editor;
        TMemoStrings document(editor);
        const TextFile files;
        if (encrypt) {
            files.load(document, file);
        } else {
            files.loadEncrypted(document, file);
        }
        LineCipher(encrypt ? CipherDirection::Encrypt : CipherDirection::Decrypt).run(document, {});
        const std::string expected = document.text();
        const char* command = encrypt ? "encrypt" : "decrypt";
        EXPECT_EQ(run({command, file, folder.path("cli.txt")}), 0);
        EXPECT_TRUE(TempFolder::read(folder.path("cli.txt")) == expected) << command << " to a file";
        EXPECT_EQ(run({command, file, "-"}), 0);
        EXPECT_TRUE(outputText == expected) << command << " to standard output";
        EXPECT_EQ(errorText, "");
    }
}

TEST_F(CliAppTest, AFileThatWouldBeWrittenInPlaceWhileItIsReadIsRefused) {
    // A file with a second name is written in place, which would overwrite the bytes still to be read.
    const std::string file = folder.write("same.txt", "abc\r\nxyz");
    std::filesystem::create_hard_link(file, folder.path("other.txt"));
    EXPECT_EQ(run({"encrypt", file, file}), 1);
    EXPECT_EQ(errorText.substr(0, errorText.find('\n')), "zozuz-cli: Cannot create file " + file + ".");
    EXPECT_EQ(TempFolder::read(file), "abc\r\nxyz");
    EXPECT_EQ(folder.entries(), 2u);
}

// The program itself, as a user runs it: the exit codes and the streams its main function sets up.
// It lies in the build folder above the tests' own; a build that has not made it skips this.
TEST(ZozuzCliProgram, ExitCodesAndMessages) {
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "zozuz-cli";
    if (!std::filesystem::exists(program)) GTEST_SKIP() << "zozuz-cli is not built";
    TempFolder folder;
    const auto run = [&](const std::string& arguments) {
        const std::string command = "'" + program.string() + "' " + arguments + " >'" + folder.path("out") + "' 2>'" +
                                    folder.path("err") + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(TempFolder::read(folder.path("out")), "zozuz-cli 1.0.0.1 (product version 1.0.0.0)\n");
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(TempFolder::read(folder.path("err")), CliApp::usage());
    const std::string missing = folder.path("missing.txt");
    EXPECT_EQ(run("encrypt '" + missing + "' -"), 1);
    EXPECT_EQ(TempFolder::read(folder.path("err")),
              "zozuz-cli: Cannot open file " + missing + ".\nzozuz-cli: " + missing + ": No such file or directory\n");
    // Standard output named as a file appends to the log it is redirected to, and reaches a pipe.
    const std::string plain = folder.write("plain.txt", "abc");
    const std::string log = folder.write("log.txt", "earlier\n");
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        const std::string appending = "'" + program.string() + "' encrypt '" + plain + "' " + name + " >>'" + log + "'";
        EXPECT_EQ(std::system(appending.c_str()), 0) << name;
    }
    EXPECT_EQ(TempFolder::read(log), "earlier\nbcdbcdbcd");
    const std::string piped = "'" + program.string() + "' encrypt '" + plain + "' /dev/stdout | cat >'" + folder.path("out") + "'";
    EXPECT_EQ(std::system(piped.c_str()), 0);
    EXPECT_EQ(TempFolder::read(folder.path("out")), "bcd");
    // Standard output closed early by the reader ends the run quietly by the pipe's signal, as a
    // filter ends, also where the caller ignores that signal.
    const std::string big = folder.write("big.txt", std::string(8 << 20, 'a'));
    const std::string command = "bash -c \"trap '' PIPE; '" + program.string() + "' encrypt '" + big + "' - 2>'" +
                                folder.path("err") + "' | head -c 1 >/dev/null; echo \\${PIPESTATUS[0]} >'" +
                                folder.path("status") + "'\"";
    std::system(command.c_str());
    EXPECT_EQ(TempFolder::read(folder.path("err")), "");
    EXPECT_EQ(TempFolder::read(folder.path("status")), "141\n");
    // The input itself as the output, through a descriptor or appended to: refused, the file kept.
    const std::string same = folder.write("same.txt", "abc\r\nxyz");
    for (const std::string& output : {std::string("/proc/self/fd/3 3<>'") + same + "'", std::string("- >>'") + same + "'"}) {
        const std::string both = "'" + program.string() + "' encrypt '" + same + "' " + output + " 2>'" + folder.path("err") + "'";
        EXPECT_NE(std::system(both.c_str()), 0) << output;
        EXPECT_EQ(TempFolder::read(same), "abc\r\nxyz") << output;
        const std::string err = TempFolder::read(folder.path("err"));
        EXPECT_EQ(err.substr(0, err.find('\n')).substr(0, 30), "zozuz-cli: Cannot create file ") << err;
        EXPECT_NE(err.find("is the file being read"), std::string::npos) << err;
    }
}

// An interrupted run, as a user stops it with Ctrl-C, a termination request or by closing the
// terminal: it ends by that signal and leaves the old output and no temporary file behind.
TEST(ZozuzCliProgram, AnInterruptedRunEndsByItsSignalAndKeepsTheOldOutput) {
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "zozuz-cli";
    if (!std::filesystem::exists(program)) GTEST_SKIP() << "zozuz-cli is not built";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempFolder folder;
        const std::string out = folder.write("out.txt", "old");
        int input[2];
        ASSERT_EQ(::pipe(input), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(input[0], 0);
            ::close(input[0]);
            ::close(input[1]);
            ::execl(program.c_str(), "zozuz-cli", "encrypt", "-", out.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(input[0]);
        // Once the run has taken in more than a pipe holds, it is busy writing its output.
        const std::string piece(1 << 20, 'x');
        for (int i = 0; i < 4; ++i) ASSERT_EQ(::write(input[1], piece.data(), piece.size()), static_cast<ssize_t>(piece.size()));
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(input[1]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(TempFolder::read(out), "old");
        EXPECT_EQ(folder.entries(), 1u);
    }
}

}  // namespace
}  // namespace zozuz
