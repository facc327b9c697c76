#include "ui/text/AccessKeyAssignment.h"

#include <cstddef>
#include <string_view>

#include "ui/text/MenuCaption.h"

namespace zozuz {

namespace {

constexpr std::string_view kKeyCharacters = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kEllipsis = "...";

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool takesPart(const AccessKeyEntry& entry) {
    return entry.visible && !entry.caption.empty() && entry.caption != "-";
}

bool hasDoubleByteCharacter(std::string_view caption) {
    for (char c : caption)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// The keys still free, in the order of kKeyCharacters.
class FreeKeys {
public:
    FreeKeys() : keys_(kKeyCharacters) {}
    bool contains(char key) const { return keys_.find(upperAscii(key)) != std::string::npos; }
    void take(char key) { keys_.erase(keys_.find(upperAscii(key)), 1); }
    bool empty() const { return keys_.empty(); }
    char takeLast() {
        const char last = keys_.back();
        keys_.pop_back();
        return last;
    }

private:
    std::string keys_;
};

// Removes the access key's mark from a caption; on a double-byte system a "(&X)" group goes whole.
// Any earlier single "&" goes too: once the last mark is gone it would mark the key instead, and an
// "&" inserted later just before that character would read as a literal "&&".
void removeMark(std::string& caption, std::size_t mark, MenuCharacterSet characterSet) {
    const bool group = characterSet == MenuCharacterSet::DoubleByte && mark > 0 && caption[mark - 1] == '(' &&
                       mark + 2 < caption.size() && caption[mark + 2] == ')';
    if (group)
        caption.erase(mark - 1, 4);
    else
        caption.erase(mark, 1);
    for (std::size_t earlier = accessKeyMarkOf(caption); earlier != std::string::npos;
         earlier = accessKeyMarkOf(caption))
        caption.erase(earlier, 1);
}

void appendGroup(std::string& caption, char key) {
    const std::string group = std::string("(&") + key + ")";
    const bool ellipsis = caption.size() >= kEllipsis.size() && caption.ends_with(kEllipsis);
    caption.insert(ellipsis ? caption.size() - kEllipsis.size() : caption.size(), group);
}

// The first single-byte character of the caption that is still free, or npos.
std::size_t firstFreeCharacter(std::string_view caption, const FreeKeys& free) {
    for (std::size_t i = 0; i < caption.size(); i += characterLengthAt(caption, i))
        if (static_cast<unsigned char>(caption[i]) < 0x80 && free.contains(caption[i])) return i;
    return std::string_view::npos;
}

struct Attempt {
    // Where in its caption each waiting entry found its key (npos: unserved), by place in `waiting`.
    std::vector<std::size_t> found;
    std::size_t served = 0;
    FreeKeys free;
};

// Serves the waiting entries in `order` (places in `waiting`) from the keys `free` holds.
Attempt serve(const std::vector<AccessKeyEntry>& entries, const std::vector<std::size_t>& waiting,
              const std::vector<std::size_t>& order, FreeKeys free) {
    Attempt attempt;
    attempt.found.assign(waiting.size(), std::string_view::npos);
    for (std::size_t place : order) {
        const std::string& caption = entries[waiting[place]].caption;
        const std::size_t at = firstFreeCharacter(caption, free);
        if (at == std::string_view::npos) continue;
        free.take(caption[at]);
        attempt.found[place] = at;
        ++attempt.served;
    }
    attempt.free = free;
    return attempt;
}

}  // namespace

bool assignAccessKeys(std::vector<AccessKeyEntry>& entries, MenuCharacterSet characterSet) {
    std::vector<std::string> before;
    before.reserve(entries.size());
    for (const AccessKeyEntry& entry : entries) before.push_back(entry.caption);

    // Keys already marked keep their place in display order; later duplicates give theirs up.
    FreeKeys free;
    std::vector<std::size_t> waiting;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        AccessKeyEntry& entry = entries[i];
        if (!takesPart(entry)) continue;
        const std::size_t mark = accessKeyMarkOf(entry.caption);
        if (mark == std::string_view::npos) {
            waiting.push_back(i);
            continue;
        }
        const std::string_view key = accessKeyOf(entry.caption);
        if (key.size() != 1 || kKeyCharacters.find(upperAscii(key[0])) == std::string_view::npos) continue;
        if (free.contains(key[0])) {
            free.take(key[0]);
        } else {
            removeMark(entry.caption, mark, characterSet);
            waiting.push_back(i);
        }
    }

    // Waiting entries take characters of their own captions. An entry served early may take the
    // only character another one could use, so the order is tried again with the unserved ones
    // last, and the attempt that serves the most wins (the earliest among equals).
    std::vector<std::size_t> order(waiting.size());
    for (std::size_t place = 0; place < order.size(); ++place) order[place] = place;
    Attempt current = serve(entries, waiting, order, free);
    Attempt best = current;
    for (std::size_t retry = 0; retry < waiting.size() && best.served < waiting.size(); ++retry) {
        std::vector<std::size_t> next;
        next.reserve(order.size());
        for (std::size_t place : order)
            if (current.found[place] != std::string_view::npos) next.push_back(place);
        for (std::size_t place : order)
            if (current.found[place] == std::string_view::npos) next.push_back(place);
        if (next == order) break;  // the same order would serve the same entries again
        order = std::move(next);
        current = serve(entries, waiting, order, free);
        if (current.served > best.served) best = current;
    }

    for (std::size_t place = 0; place < waiting.size(); ++place) {
        const std::size_t at = best.found[place];
        if (at == std::string_view::npos) continue;
        std::string& caption = entries[waiting[place]].caption;
        if (characterSet == MenuCharacterSet::DoubleByte && hasDoubleByteCharacter(caption))
            appendGroup(caption, caption[at]);
        else
            caption.insert(at, 1, '&');
    }
    if (characterSet == MenuCharacterSet::DoubleByte) {
        for (std::size_t place = 0; place < waiting.size() && !best.free.empty(); ++place)
            if (best.found[place] == std::string_view::npos)
                appendGroup(entries[waiting[place]].caption, best.free.takeLast());
    }

    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].caption != before[i]) return true;
    return false;
}

}  // namespace zozuz
