#pragma once

#include <string>

#include "platform/files/FileSystem.h"

namespace zozuz {

class TMemoStrings;

// The two file operations of the program: loading a file into the document and writing the document
// to a file. A text file is a bare run of bytes of the code page, lines separated by CR LF, with no
// header, byte-order mark or trailer; nothing is converted in either direction.
//
// Loading opens the file for reading only and takes a shared advisory lock, so a program that holds
// an exclusive lock on it while writing keeps it from being loaded half-written. The file is read
// whole into one buffer, its size checked against the editor's capacity before the buffer is
// allocated, and the buffer becomes the editor's storage. A plain file's line breaks are counted
// while it is read, so that one whose normalised text outgrows the editor is refused before the rest
// of it is read; a text that normalisation grows by more than half (many empty lines) is read a
// second time, into the block for its normalised text once the first buffer is let go, so that its
// bytes are never held twice. Errors: EFOpenError "Cannot open file %s" (missing, a folder, no
// access, locked) with the document untouched; EInvalidOperation "Text exceeds memo capacity" with
// the document untouched; EReadError "Stream read error" when the system fails a read, or when the
// file changed between the two readings so that its text no longer fits the room counted for it,
// with the document untouched.
// An encrypted file is taken byte for byte, unless it holds no CR LF pair but lone CR or LF bytes:
// then another tool converted its line breaks, and they are restored (see ConvertedBreaks).
// Saving keeps everything the old file had, and replaces regular files only: a FIFO or a device is
// refused at once with EFCreateError "Cannot create file %s" (see SafeFileWriter).
class TextFile {
public:
    explicit TextFile(FileSystem& fileSystem = systemFiles()) : fs_(fileSystem) {}

    // Open plain file: the line breaks are normalised to CR LF and the text ends at the first zero
    // byte.
    void load(TMemoStrings& document, const std::string& fileName) const;
    // Open encrypted file: the bytes become the document exactly as they are, so every file the
    // cipher wrote, zero bytes, lone CRs and LFs included, comes back to be decrypted unchanged.
    void loadEncrypted(TMemoStrings& document, const std::string& fileName) const;
    // Writes the document's whole text exactly as the editor holds it, safely (see SafeFileWriter).
    void save(const TMemoStrings& document, const std::string& fileName) const;

private:
    void loadInto(TMemoStrings& document, const std::string& fileName, bool plain) const;

    FileSystem& fs_;
};

}  // namespace zozuz
