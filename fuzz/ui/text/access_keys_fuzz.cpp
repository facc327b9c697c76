// Access keys over any menu level: the keys among digits and letters end up unique, a level of at
// most 36 entries on a double-byte system leaves none without key, hidden entries keep their
// captions, a second pass changes nothing, and a typed key resolves to an entry of the level.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/text/AccessKeyAssignment.h"
#include "ui/text/MenuCaption.h"
#include "ui/text/TypedAccessKey.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool takesPart(const zozuz::AccessKeyEntry& entry) {
    return entry.visible && !entry.caption.empty() && entry.caption != "-";
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the character set and the typed key's place.
    const auto characterSet =
        (data[0] & 1) ? zozuz::MenuCharacterSet::DoubleByte : zozuz::MenuCharacterSet::SingleByte;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    // One caption a line; a line starting with a tab is a hidden entry.
    std::vector<zozuz::AccessKeyEntry> entries;
    std::size_t start = 0;
    while (start <= text.size() && entries.size() < 64) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        const bool hidden = !line.empty() && line[0] == '\t';
        if (hidden) line.remove_prefix(1);
        entries.push_back({std::string(line), !hidden});
        start = end + 1;
    }
    const std::vector<zozuz::AccessKeyEntry> before = entries;
    zozuz::assignAccessKeys(entries, characterSet);

    std::set<char> keys;
    std::size_t taking = 0;
    std::size_t withoutKey = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!takesPart(before[i])) {
            check(entries[i].caption == before[i].caption);
            continue;
        }
        ++taking;
        const std::string_view key = zozuz::accessKeyOf(entries[i].caption);
        if (key.empty()) ++withoutKey;
        if (key.size() == 1) {
            const char upper = upperAscii(key[0]);
            if ((upper >= '0' && upper <= '9') || (upper >= 'A' && upper <= 'Z')) check(keys.insert(upper).second);
        }
    }
    if (characterSet == zozuz::MenuCharacterSet::DoubleByte && taking <= 36) check(withoutKey == 0);

    std::vector<zozuz::AccessKeyEntry> again = entries;
    check(!zozuz::assignAccessKeys(again, characterSet));

    std::vector<zozuz::TypedKeyEntry> level;
    for (std::size_t i = 0; i < entries.size(); ++i)
        level.push_back({entries[i].caption, (i + data[0]) % 3 != 0, entries[i].visible});
    const std::string typed = text.empty() ? std::string() : std::string(1, text[data[0] % text.size()]);
    const zozuz::TypedKeyResult result = zozuz::resolveTypedAccessKey(level, data[0] % (entries.size() + 1), typed);
    if (result.kind == zozuz::TypedKeyResult::Kind::Choose || result.kind == zozuz::TypedKeyResult::Kind::Highlight)
        check(result.entry < level.size() && level[result.entry].enabled && level[result.entry].visible);
    return 0;
}
