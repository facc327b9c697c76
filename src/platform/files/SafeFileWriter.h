#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files/FileIdentity.h"
#include "platform/files/FileSystem.h"
#include "platform/files/StandardStream.h"

namespace zozuz {

// Writes a file so that a failure never costs the file that was there before, and so that the new
// text is never readable by anyone the old file kept out.
//
// A regular file, or a new name, is written to a nameless file beside it, in the same folder,
// readable by its owner alone and given the old file's owner, group and permission bits before it
// has a name; commit flushes it (see Flush), names it with a short name of its own and renames it
// over the target, so the target holds either its old bytes or all of the new ones. A symbolic link
// is followed, so that the file it points to is replaced and not the link.
//
// Where a rename would lose something of the old file (its owner or group cannot be given to the new
// one, the file has other names or an access control list or attributes of the user's, or its folder
// takes no new files but the file itself is writable),
// the file is written over in place instead, as the system's own save does. Its old text is copied
// first to a file readable by the user alone, beside it (".notes.txt.zozuz-backup") or, when its
// folder takes no new files, in the user's cache folder (zozuz/backups under $XDG_CACHE_HOME or
// ~/.cache, named after the file's whole path), and the copy is flushed to the disk. Then room for
// the new text is reserved, so that a full disk fails before any byte is overwritten; the file is
// written over and cut to its new length, flushed, and only then is the copy removed. A kill or a
// power failure partway through leaves the copy; a failure of the writing keeps it too and names it
// in the error's message; a failure of the caller's own (an uncommitted writer) puts the old text
// back and removes the copy. Windows never writes over a file in place.
//
// The program saves regular files only (Accept::RegularFiles): a FIFO, a device, a socket or a
// folder, also behind a link, is refused at once, without waiting for a reader. Otherwise standard
// output, under any name that reaches it (/dev/stdout, /dev/fd/1, or a name of the same file), is
// written where it stands, as other descriptors named by /dev/fd/N are; devices and pipes are opened
// and written in place; none of them is ever replaced.
//
// Errors, each with the system's reason where it gave one: EFCreateError "Cannot create file %s"
// when the target cannot be created or replaced (a missing folder, a folder of that name, no regular
// file where only those are taken, a file without write permission, a file another program holds
// locked, a name that cannot be examined, an in-place write over the file being read, or an old text
// that cannot be copied aside); EWriteError "Stream write error" when writing or flushing fails, for
// example on a full disk, as "Stream write error. The old text is kept in PATH" once the file has been
// partly written over.
class SafeFileWriter {
public:
    // How far commit pushes the new bytes before the rename. The program's save waits until they are
    // on the disk, so that not even a power failure right after a save costs the text. A
    // command-line run, like other command-line tools, leaves them to the system: the old file still
    // stays whole on every failure the run sees.
    enum class Flush : unsigned char { ToDisk, ToSystem };
    // What a named target may be. The program replaces regular files only; the command-line
    // companion writes whatever it is given, as a filter does.
    enum class Accept : unsigned char { RegularFiles, AnyStream };

    struct Options {
        Flush flush = Flush::ToDisk;
        // The most bytes the new text can hold, reserved before an in-place write begins; 0 when it
        // is not known.
        std::uint64_t reserve = 0;
        // The file the caller is reading from, which an in-place write must never overwrite.
        const FileIdentity* reading = nullptr;
        // The stream that counts as standard output when a name turns out to be the same file.
        StandardStream standardOutput{1};
        Accept accept = Accept::RegularFiles;
        // Where the old text is kept while the file is written over in place, when the file's own
        // folder takes no new files; empty for the user's cache folder.
        std::string backupFolder;
    };

    explicit SafeFileWriter(std::string fileName, FileSystem& fileSystem = systemFiles());
    SafeFileWriter(std::string fileName, FileSystem& fileSystem, Options options);
    // Writes to a standard stream where it stands; commit leaves it open. A stream that is the very
    // file being read (`reading`, appended to or opened for both) is refused like a file that
    // cannot be created: writing it would tear the text being read.
    SafeFileWriter(StandardStream stream, std::string name, FileSystem& fileSystem = systemFiles(),
                   Flush flush = Flush::ToSystem, const FileIdentity* reading = nullptr);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    void write(std::string_view bytes);
    // Whether bytes already written can be written again with writeAt: true for a file of the
    // writer's own, false for a stream, a device or a pipe.
    bool seekable() const { return seekable_; }
    // Writes over bytes already written, `position` bytes from the start of what this writer wrote.
    void writeAt(std::uint64_t position, std::string_view bytes);
    std::uint64_t written() const { return written_; }
    void commit();

private:
    struct OldFile;  // what the writer keeps of the file it replaces

    void open(const Options& options);
    void openInPlace(const Options& options, bool reading, std::uint64_t oldSize);
    bool openTemporary(const OldFile* old);
    [[noreturn]] void failCreate(int error) const;
    // Refuses a handle taken as it stands (a standard stream, a descriptor by name) when it is the
    // regular file being read.
    void refuseTheFileBeingRead(const FileIdentity* reading) const;
    [[noreturn]] void failCreate(const std::string& reason) const;
    // Refuses a target that is no regular file when only those are accepted.
    void refuseUnlessRegular(bool regular, Accept accept) const;
    // Raises the write error; once the file has been partly written over, its message names the copy
    // of the old text, which is then kept.
    [[noreturn]] void failWrite(int error);
    void abandon() noexcept;

    FileSystem& fs_;
    std::string fileName_;   // as the caller gave it, for messages
    std::string target_;     // the file that ends up holding the bytes, links followed
    std::string folder_;     // the target's folder
    std::string temporary_;  // the new file's name once it has one, else empty
    // The system's handles (descriptors, or HANDLEs on Windows): where the bytes go, negative once
    // closed; and the old file, held locked until it is replaced, negative when none.
    std::intptr_t handle_ = -1;
    std::intptr_t targetHandle_ = -1;
    bool ownsHandle_ = true;
    bool replace_ = false;   // true when commit renames the new file over the target
    bool inPlace_ = false;   // true when the target itself is being written over
    // The copy of the old text while the target is written over in place, else empty; and whether a
    // new byte has gone over the old text yet, and whether an error has named the copy to the user.
    std::string backup_;
    bool overwriting_ = false;
    bool backupNamed_ = false;
    int pendingSlot_ = -1;   // where an interrupt finds temporary_, -1 when it cannot
    bool seekable_ = false;
    bool committed_ = false;
    Flush flush_ = Flush::ToDisk;
    std::uint64_t written_ = 0;
};

}  // namespace zozuz
