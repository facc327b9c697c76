#include "hosts/win32/Win32Clipboard.h"

#include <cstdint>
#include <cstring>
#include <string>

#include <windows.h>

#include "base/Exception.h"
#include "hosts/win32/WideText.h"

namespace zozuz {

namespace {

// Another program may hold the clipboard open for a moment; a few short tries ride that out.
bool openClipboard() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

class OpenedClipboard {
public:
    OpenedClipboard() : open_(openClipboard()) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

// Moves `size` bytes into global memory the clipboard takes over; null when there is no memory.
HGLOBAL globalCopy(const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* to = GlobalLock(memory);
    if (!to) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(to, data, size);
    GlobalUnlock(memory);
    return memory;
}

void setData(UINT format, HGLOBAL memory) {
    if (memory && !SetClipboardData(format, memory)) GlobalFree(memory);
}

// An owner may render a format only when it is read: the system then sends the owner a message and
// waits for its answer, which from an owner whose thread has stopped taking messages may never come
// (Wine waits for good). So an owner on another thread is first asked, briefly, whether it answers
// at all. One that answers that question but then never renders still holds the paste up for as long
// as the system waits.
bool ownerAnswers() {
    HWND owner = GetClipboardOwner();
    if (!owner || GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId()) return true;
    DWORD_PTR result = 0;
    // Blocking: the program's own windows take no messages from other threads meanwhile.
    return SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               static_cast<UINT>(Win32Clipboard::kPatience.count()), &result) != 0;
}

}  // namespace

Win32Clipboard::Win32Clipboard() : bytesFormat_(RegisterClipboardFormatW(L"zozuz.CodePage936Text")) {}

void Win32Clipboard::put(const std::string& text, const std::string& bytes) {
    OpenedClipboard clipboard;
    if (!clipboard.open()) throw EInvalidOperation("Cannot open clipboard");
    EmptyClipboard();
    std::string crlf;
    crlf.reserve(text.size());
    for (const char c : text) {
        if (c == '\n') crlf.push_back('\r');
        crlf.push_back(c);
    }
    const std::wstring wide = toWide(crlf);
    setData(CF_UNICODETEXT, globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
    if (bytesFormat_ != 0) {
        // The length goes first: the bytes may hold zeros, and global memory may be rounded up.
        std::string record(sizeof(std::uint64_t), '\0');
        const std::uint64_t length = bytes.size();
        std::memcpy(record.data(), &length, sizeof length);
        record += bytes;
        setData(bytesFormat_, globalCopy(record.data(), record.size()));
    }
}

bool Win32Clipboard::hasText() const { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }

std::optional<std::string> Win32Clipboard::bytes() const {
    if (bytesFormat_ == 0 || !IsClipboardFormatAvailable(bytesFormat_) || !ownerAnswers()) return std::nullopt;
    OpenedClipboard clipboard;
    if (!clipboard.open()) return std::nullopt;
    HANDLE memory = GetClipboardData(bytesFormat_);
    if (!memory) return std::nullopt;
    const std::size_t size = GlobalSize(memory);
    const auto* data = static_cast<const char*>(GlobalLock(memory));
    if (!data) return std::nullopt;
    std::optional<std::string> result;
    std::uint64_t length = 0;
    if (size >= sizeof length) {
        std::memcpy(&length, data, sizeof length);
        // A record another program forged or cut short is not the program's text.
        if (length <= size - sizeof length) result = std::string(data + sizeof length, static_cast<std::size_t>(length));
    }
    GlobalUnlock(memory);
    return result;
}

std::optional<std::string> Win32Clipboard::text() const {
    if (!hasText() || !ownerAnswers()) return std::nullopt;
    OpenedClipboard clipboard;
    if (!clipboard.open()) return std::nullopt;
    HANDLE memory = GetClipboardData(CF_UNICODETEXT);
    if (!memory) return std::nullopt;
    const std::size_t units = GlobalSize(memory) / sizeof(wchar_t);
    const auto* data = static_cast<const wchar_t*>(GlobalLock(memory));
    if (!data) return std::nullopt;
    // The text ends at its terminating zero, or at the end of the memory when it has none.
    std::size_t length = 0;
    while (length < units && data[length] != L'\0') ++length;
    std::string utf8 = fromWide(std::wstring_view(data, length));
    GlobalUnlock(memory);
    std::string lf;
    lf.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        lf.push_back(utf8[i]);
    }
    return lf;
}

}  // namespace zozuz
