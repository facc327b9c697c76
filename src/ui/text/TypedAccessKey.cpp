#include "ui/text/TypedAccessKey.h"

#include "ui/text/MenuCaption.h"

namespace zozuz {

namespace {

bool matchable(const TypedKeyEntry& entry) {
    return entry.visible && !entry.caption.empty() && entry.caption != "-";
}

// The outcome among the enabled matches (in display order), none of which is disabled or all of
// which the caller has already ruled on.
TypedKeyResult chooseAmong(const std::vector<std::size_t>& enabled, std::size_t highlighted) {
    TypedKeyResult result;
    if (enabled.empty()) return result;
    if (enabled.size() == 1) {
        result.kind = TypedKeyResult::Kind::Choose;
        result.entry = enabled.front();
        return result;
    }
    result.kind = TypedKeyResult::Kind::Highlight;
    result.entry = enabled.front();
    if (highlighted != std::string_view::npos)
        for (std::size_t match : enabled)
            if (match > highlighted) result.entry = match;
    return result;
}

}  // namespace

TypedKeyResult resolveTypedAccessKey(const std::vector<TypedKeyEntry>& entries, std::size_t highlighted,
                                     std::string_view character) {
    TypedKeyResult closes;
    closes.kind = TypedKeyResult::Kind::Close;
    if (character.empty()) return {};

    std::vector<std::size_t> enabled;
    bool anyByKey = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!matchable(entries[i]) || !sameAccessKey(accessKeyOf(entries[i].caption), character)) continue;
        anyByKey = true;
        if (entries[i].enabled) enabled.push_back(i);
    }
    if (anyByKey) return enabled.empty() ? closes : chooseAmong(enabled, highlighted);

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TypedKeyEntry& entry = entries[i];
        if (!matchable(entry) || !accessKeyOf(entry.caption).empty()) continue;
        if (!sameAccessKey(firstShownCharacterOf(entry.caption), character)) continue;
        if (!entry.enabled) return closes;
        enabled.push_back(i);
    }
    return chooseAmong(enabled, highlighted);
}

}  // namespace zozuz
