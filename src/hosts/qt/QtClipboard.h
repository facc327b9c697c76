#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hosts/qt/XSelectionReader.h"
#include "platform/host/Clipboard.h"

class QObject;

namespace zozuz {

// The desktop's clipboard through Qt. Beside the Unicode text, the exact bytes travel in a format of
// the program's own, which other programs ignore. On X11 what another program owns is read through
// a reader of the host's own, which waits for a silent owner only briefly and tells a format it
// could not read from one that is empty; Qt answers for the program's own data and elsewhere.
class QtClipboard final : public Clipboard {
public:
    // The name of the program's own format.
    static const char* bytesFormat();
    // How long a read waits for each answer from another program on X11.
    static constexpr std::chrono::milliseconds kPatience{500};
    // How long an owner that did not answer counts as silent before it is asked again.
    static constexpr std::chrono::seconds kSilentPause{5};

    QtClipboard();
    ~QtClipboard() override;

    void put(const std::string& text, const std::string& bytes) override;
    bool hasText() const override;
    std::optional<std::string> bytes() const override;
    std::optional<std::string> text() const override;

private:
    // The other X client that owns the clipboard, which the reader asks; 0 when the program owns it,
    // nobody does, or Qt answers for the desktop.
    std::uint32_t otherOwner() const;
    // The targets that owner lists, read once for each clipboard change. An owner that did not
    // answer counts as Silent for a while without being asked; one that answers the list but not a
    // format may still give the text, and is asked for it.
    const XSelectionReader::Result& targetsOf(std::uint32_t owner) const;

    std::unique_ptr<XSelectionReader> reader_;  // null off X11, or when the reader cannot connect
    // The X resource ids of Qt's own connection: a window among them is the program's own.
    std::uint32_t ownIdBase_ = 0;
    std::uint32_t ownIdMask_ = 0;
    // Counts the clipboard's changes as Qt reports them; a listing read before the last one is stale.
    std::uint64_t generation_ = 0;
    std::unique_ptr<QObject> changes_;  // receives Qt's reports of changes while the reader is there
    struct Listing {
        std::uint32_t owner = 0;
        std::uint64_t generation = 0;
        XSelectionReader::Result targets;
        std::chrono::steady_clock::time_point readAt;
    };
    mutable std::optional<Listing> listing_;
};

}  // namespace zozuz
