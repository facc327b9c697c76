#include "hosts/qt/QtCodePageCodec.h"

#include <algorithm>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include "base/LeadByteSet.h"
#include "base/Utf8Append.h"

namespace zozuz {

namespace {

constexpr LeadByteSet kLeadBytes = LeadByteSet::codePage936();

// The pieces a long text is converted in: long enough that opening the converter is lost in the
// work, short enough that a piece with a bad character in it is cheap to convert again.
constexpr std::size_t kPieceBytes = std::size_t{1} << 16;
constexpr qsizetype kPieceUnits = qsizetype{1} << 15;

bool privateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// The last character boundary at or before `position` (position <= bytes.size()). A byte that
// is no lead byte ends a character, so the lead bytes after it pair up from there.
std::size_t boundaryAtOrBefore(std::string_view bytes, std::size_t position) {
    std::size_t runStart = position;
    while (runStart > 0 && kLeadBytes.contains(bytes[runStart - 1])) --runStart;
    return (position - runStart) % 2 == 0 ? position : position - 1;
}

// The characters in `bytes`, divided as the lead bytes say.
std::size_t characterCount(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes.size(); ++count) i += kLeadBytes.contains(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
    return count;
}

// A place to halve `bytes` on a character boundary, or 0 when it holds a single character.
std::size_t halfway(std::string_view bytes) {
    std::size_t split = boundaryAtOrBefore(bytes, bytes.size() / 2);
    if (split == 0) split = kLeadBytes.contains(bytes[0]) ? 2 : 1;
    return split < bytes.size() ? split : 0;
}

}  // namespace

std::optional<char32_t> QtCodePageCodec::decode(std::string_view character) const {
    if (character.empty() || character.size() > 2) return std::nullopt;
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(character.data(), static_cast<qsizetype>(character.size())));
    if (decoder.hasError()) return std::nullopt;
    const QList<uint> codes = text.toUcs4();
    if (codes.size() != 1 || codes[0] == 0xFFFD || privateUse(codes[0])) return std::nullopt;
    return static_cast<char32_t>(codes[0]);
}

std::string QtCodePageCodec::decodeText(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    while (!bytes.empty()) {
        const std::size_t piece = bytes.size() <= kPieceBytes ? bytes.size() : boundaryAtOrBefore(bytes, kPieceBytes);
        appendDecoded(bytes.substr(0, piece), out);
        bytes.remove_prefix(piece);
    }
    return out;
}

void QtCodePageCodec::appendDecoded(std::string_view bytes, std::string& out) const {
    if (bytes.empty()) return;
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    // Taken whole only when every character became one Unicode character that decode() would give:
    // GBK holds none outside the Basic Multilingual Plane, so one UTF-16 unit each.
    bool clean = !decoder.hasError() && static_cast<std::size_t>(text.size()) == characterCount(bytes);
    for (qsizetype i = 0; clean && i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        clean = c != 0xFFFD && !privateUse(c) && (c < 0xD800 || c > 0xDFFF);
    }
    if (clean) {
        const QByteArray utf8 = text.toUtf8();
        out.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        return;
    }
    const std::size_t split = halfway(bytes);
    if (split == 0) {
        appendUtf8(out, decode(bytes).value_or(U'\uFFFD'));
        return;
    }
    appendDecoded(bytes.substr(0, split), out);
    appendDecoded(bytes.substr(split), out);
}

std::optional<std::string> QtCodePageCodec::encodeCharacter(char16_t c) const {
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QStringView(&c, 1));
    // Some characters convert one way only (ICU's fallbacks): a character counts as held when its
    // bytes decode to it again.
    if (encoder.hasError() || bytes.isEmpty() || bytes.size() > 2) return std::nullopt;
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (decode(view) != static_cast<char32_t>(c)) return std::nullopt;
    return std::string(view);
}

void QtCodePageCodec::appendEncoded(QStringView text, std::string& out) const {
    if (text.isEmpty()) return;
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    bool clean = !encoder.hasError();
    if (clean) {
        // The run is taken whole when its bytes are one character for each character of the text
        // and decode to the text again, as each character alone must.
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
        if (characterCount(view) == static_cast<std::size_t>(text.size())) {
            const QString back = decoder.decode(QByteArrayView(bytes));
            clean = !decoder.hasError() && back == text;
        } else {
            clean = false;
        }
    }
    if (clean) {
        out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return;
    }
    if (text.size() == 1) {
        out += encodeCharacter(text[0].unicode()).value_or("?");
        return;
    }
    const qsizetype half = text.size() / 2;
    appendEncoded(text.first(half), out);
    appendEncoded(text.sliced(half), out);
}

std::string QtCodePageCodec::encode(std::string_view utf8) const {
    // Malformed UTF-8 becomes U+FFFD here, and so "?" below.
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    std::string out;
    out.reserve(utf8.size());
    // Runs of characters the code page may hold go to the converter whole; what it surely cannot hold
    // (outside the Basic Multilingual Plane, the private use area, U+FFFD) becomes "?" on the spot.
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        for (qsizetype start = runStart; start < end; start += kPieceUnits)
            appendEncoded(QStringView(text).sliced(start, std::min(kPieceUnits, end - start)), out);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != 0xFFFD && !privateUse(c) && (c < 0xD800 || c > 0xDFFF)) continue;
        flush(i);
        out.push_back('?');
        // A surrogate pair is one character, and one "?".
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) ++i;
        runStart = i + 1;
    }
    flush(text.size());
    return out;
}

}  // namespace zozuz
