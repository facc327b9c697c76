// The Windows side of files: the sharing rules other programs meet while the program loads or saves,
// the safe save by a temporary file and one replacing move, and the errors of each refusal.
#include <string>
#include <utility>

#include <gtest/gtest.h>
#include <windows.h>

#include "../../../document/TempFolder.h"
#include "base/Exception.h"
#include "platform/files/win32/FileSystem.h"
#include "platform/files/InputFile.h"
#include "platform/files/SafeFileWriter.h"
#include "platform/files/ScratchFile.h"

namespace zozuz {
namespace {

// Another program's handle on a file, opened with the access and sharing given.
class OtherProgram {
public:
    OtherProgram(const std::string& file, DWORD access, DWORD share)
        : handle_(CreateFileA(file.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OtherProgram() {
        if (ok()) CloseHandle(handle_);
    }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool canOpen(const std::string& file, DWORD access, DWORD share) { return OtherProgram(file, access, share).ok(); }

std::size_t filesIn(const TempFolder& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.root())) ++count;
    return count;
}

TEST(WindowsInputFile, OthersMayReadButNotWriteWhileItIsOpen) {
    TempFolder folder;
    const std::string file = folder.write("in.txt", "abc");
    {
        InputFile in(systemFiles(), file);
        ASSERT_TRUE(in.size());
        EXPECT_EQ(*in.size(), 3u);
        EXPECT_TRUE(canOpen(file, GENERIC_READ, FILE_SHARE_READ));
        EXPECT_FALSE(canOpen(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
    }
    EXPECT_TRUE(canOpen(file, GENERIC_WRITE, 0)) << "closed again";
}

TEST(WindowsInputFile, RefusesAFileHeldForWritingAMissingFileAFolderAndADevice) {
    TempFolder folder;
    const std::string file = folder.write("in.txt", "abc");
    {
        // A reader that lets others read too does not stand in the way.
        OtherProgram reader(file, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader.ok());
        EXPECT_NO_THROW(InputFile(systemFiles(), file));
    }
    {
        OtherProgram writer(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(writer.ok());
        try {
            InputFile in(systemFiles(), file);
            FAIL() << "opened a file held for writing";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.message(), "Cannot open file " + file);
        }
    }
    EXPECT_THROW(InputFile(systemFiles(), folder.path("missing.txt")), EFOpenError);
    EXPECT_THROW(InputFile(systemFiles(), folder.root().string()), EFOpenError);
    EXPECT_THROW(InputFile(systemFiles(), ""), EFOpenError);
    // A device is no file to load; the command line reads it as a filter does.
    EXPECT_THROW(InputFile(systemFiles(), "NUL"), EFOpenError);
    EXPECT_NO_THROW(InputFile(systemFiles(), "NUL", InputFile::Accept::AnyStream));
}

TEST(WindowsSafeFileWriter, ReplacesTheFileWholeAndLeavesNothingBehind) {
    TempFolder folder;
    const std::string file = folder.write("out.txt", "old bytes");
    {
        SafeFileWriter writer(file);
        writer.write("new");
        // Until the commit the file being written is open to nobody else.
        EXPECT_FALSE(canOpen(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
        writer.write(std::string(3, '\0') + "\x81\r\n");
        writer.commit();
    }
    EXPECT_EQ(TempFolder::read(file), "new" + std::string(3, '\0') + "\x81\r\n");
    EXPECT_EQ(filesIn(folder), 1u);

    // File names are UTF-8 in the program, whatever the system's code page: a name that code page 936
    // cannot hold (Hangul, Polish letters, a character beyond the first plane) is saved and loaded
    // under its real name, not under question marks.
    for (const auto& [name, wide] : {std::pair<std::string, std::wstring>{"中文 名.txt", L"中文 名.txt"},
                                     {"한글 ąę \U0001F600.txt", L"한글 ąę \U0001F600.txt"}}) {
        const std::string fresh = folder.root().string() + "\\" + name;
        {
            SafeFileWriter writer(fresh);
            writer.write("x");
            writer.commit();
        }
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW((folder.root().wstring() + L"\\" + wide).c_str(), GetFileExInfoStandard, &data))
            << name;
        EXPECT_EQ(data.nFileSizeLow, 1u);
        InputFile in(systemFiles(), fresh);
        char byte = 0;
        EXPECT_EQ(in.read(&byte, 1), 1u);
        EXPECT_EQ(byte, 'x');
    }
}

TEST(WindowsSafeFileWriter, AnUncommittedWriterLeavesTheOldFile) {
    TempFolder folder;
    const std::string file = folder.write("out.txt", "old");
    {
        SafeFileWriter writer(file);
        writer.write("never seen");
    }
    EXPECT_EQ(TempFolder::read(file), "old");
    EXPECT_EQ(filesIn(folder), 1u);
}

TEST(WindowsSafeFileWriter, RefusalsAreCannotCreateAndLeaveTheFileAsItWas) {
    TempFolder folder;
    const std::string file = folder.write("out.txt", "old");
    std::string lastReason;
    const auto expectRefused = [&](const std::string& name) {
        try {
            SafeFileWriter writer(name);
            writer.write("x");
            writer.commit();
            ADD_FAILURE() << "wrote " << name;
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.message(), "Cannot create file " + name);
            lastReason = e.reason();
        }
    };
    {
        // Held open by another program in any way, even only for reading.
        OtherProgram reader(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        ASSERT_TRUE(reader.ok());
        expectRefused(file);
        EXPECT_EQ(lastReason, file + ": held open by another program");
    }
    EXPECT_EQ(TempFolder::read(file), "old");

    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    expectRefused(file);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(TempFolder::read(file), "old");

    expectRefused(folder.path("missing\\out.txt"));
    expectRefused(folder.root().string());
    expectRefused(folder.root().string() + "\\");
    expectRefused("");
    EXPECT_EQ(filesIn(folder), 1u);
}

TEST(WindowsSafeFileWriter, TheFileBeingReadCannotBeWrittenAndSaysSo) {
    TempFolder folder;
    const std::string file = folder.write("same.txt", "text");
    InputFile in(systemFiles(), file);
    const FileIdentity reading = in.identity();
    EXPECT_NE(reading, FileIdentity{});
    SafeFileWriter::Options options;
    options.reading = &reading;
    try {
        SafeFileWriter writer(file, systemFiles(), options);
        FAIL() << "opened the file being read for writing";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.message(), "Cannot create file " + file);
        EXPECT_EQ(e.reason(), file + ": is the file being read");
    }
    // Another file is written as usual while the input stays open.
    SafeFileWriter other(folder.path("other.txt"), systemFiles(), options);
    other.write("x");
    EXPECT_NO_THROW(other.commit());
}

// A rename that fails, as when another program opens the target between the check and the move.
class FailingRename : public FileSystem {
public:
    bool replace(const std::string&, const std::string&) override {
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    }
};

TEST(WindowsSafeFileWriter, AFailedReplaceKeepsTheOldBytesAndRemovesTheNewFile) {
    TempFolder folder;
    const std::string file = folder.write("out.txt", "old");
    FailingRename fs;
    {
        SafeFileWriter writer(file, fs, SafeFileWriter::Options{});
        writer.write("new");
        EXPECT_THROW(writer.commit(), EFCreateError);
    }
    EXPECT_EQ(TempFolder::read(file), "old");
    EXPECT_EQ(filesIn(folder), 1u);
}

TEST(WindowsSafeFileWriter, ADeviceIsRefusedForTheProgramAndWrittenDirectlyForTheCommandLine) {
    // A named pipe that a program serves, and a device.
    const std::string pipe = "\\\\.\\pipe\\zozuz-test-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    for (const std::string& name : {pipe, std::string("NUL")}) {
        try {
            SafeFileWriter writer(name);
            ADD_FAILURE() << "the program saved to " << name;
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.message(), "Cannot create file " + name);
            EXPECT_EQ(e.reason(), name + ": not a regular file");
        }
    }
    CloseHandle(server);
    SafeFileWriter::Options options;
    options.accept = SafeFileWriter::Accept::AnyStream;
    SafeFileWriter writer("NUL", systemFiles(), options);
    writer.write("discarded");
    EXPECT_NO_THROW(writer.commit());
}

TEST(WindowsScratchFile, GivesBackWhatItHoldsInOrderAndLeavesNothingBehind) {
    const std::string big(3 << 20, 'x');
    std::string got;
    {
        ScratchFile scratch(systemFiles());
        scratch.append("abc");
        scratch.append(big);
        EXPECT_EQ(scratch.size(), 3 + big.size());
        scratch.drain(1, [&](std::string_view piece) { got += piece; });
        EXPECT_EQ(scratch.size(), 0u);
        EXPECT_EQ(got, "bc" + big);
        scratch.append("again");
        got.clear();
        scratch.drain(0, [&](std::string_view piece) { got += piece; });
        EXPECT_EQ(got, "again");
    }
}

}  // namespace
}  // namespace zozuz
