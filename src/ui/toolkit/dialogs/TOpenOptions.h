#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zozuz {

// The options of the open and save dialogs.
enum class TOpenOption : std::uint8_t {
    // Set by the dialog when the user ticked its "open as read-only" box.
    ofReadOnly,
    // The dialog itself asks before it names an existing file.
    ofOverwritePrompt,
    // The "open as read-only" box is hidden.
    ofHideReadOnly,
    // Only an existing file can be chosen.
    ofFileMustExist,
    // The user may size the dialog.
    ofEnableSizing,
};

// A set of dialog options.
class TOpenOptions {
public:
    TOpenOptions() = default;

    bool Contains(TOpenOption option) const { return (bits_ & bit(option)) != 0; }
    void Include(TOpenOption option) { bits_ |= bit(option); }
    void Exclude(TOpenOption option) { bits_ &= static_cast<std::uint8_t>(~bit(option)); }

    // The stored form: option names separated by commas, optionally in brackets
    // ("[ofHideReadOnly,ofEnableSizing]"); nothing when a name is not an option.
    static std::optional<TOpenOptions> Parse(std::string_view text);

    friend bool operator==(const TOpenOptions&, const TOpenOptions&) = default;

private:
    static std::uint8_t bit(TOpenOption option) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option)); }

    std::uint8_t bits_ = 0;
};

}  // namespace zozuz
