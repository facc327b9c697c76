#include "editor/LineCache.h"

#include <algorithm>

namespace zozuz {

void LineCache::checkVersion() {
    const std::uint64_t version = edit_.layoutVersion();
    if (version == version_) return;
    version_ = version;
    for (Entry& entry : entries_) entry.valid = false;
}

LineCache::Entry& LineCache::fill(const Line& span) {
    newest_ = 1 - newest_;
    Entry& entry = entries_[newest_];
    entry.span = span;
    entry.valid = true;
    entry.bytes.clear();
    if (span.start >= 0) {
        const Pos end = std::min(span.next >= 0 ? span.next : span.end, span.start + kMaxBytes);
        entry.bytes.resize(static_cast<std::size_t>(end - span.start));
        edit_.copyRange(span.start, end, entry.bytes.data());
    }
    return entry;
}

LineCache::Line LineCache::line(Pos line) {
    checkVersion();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].valid && entries_[i].span.line == line) {
            newest_ = i;
            return entries_[i].span;
        }
    }
    return fill(edit_.lineSpan(line)).span;
}

LineCache::Line LineCache::lineAt(Pos position) {
    checkVersion();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Line& span = entries_[i].span;
        if (entries_[i].valid && span.start >= 0 && span.start <= position && (span.next < 0 || position < span.next)) {
            newest_ = i;
            return span;
        }
    }
    return fill(edit_.lineSpanAt(position)).span;
}

char LineCache::byteAt(Pos position) {
    checkVersion();
    for (const Entry& entry : entries_) {
        if (!entry.valid || entry.span.start < 0) continue;
        const Pos offset = position - entry.span.start;
        if (offset >= 0 && offset < static_cast<Pos>(entry.bytes.size())) return entry.bytes[static_cast<std::size_t>(offset)];
    }
    return edit_.byteAt(position);
}

}  // namespace zozuz
