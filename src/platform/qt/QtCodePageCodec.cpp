#include "platform/qt/QtCodePageCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace zozuz {

namespace {

bool privateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

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

std::string QtCodePageCodec::encode(std::string_view utf8) const {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    std::string out;
    out.reserve(utf8.size());
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    for (const uint code : text.toUcs4()) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        const char32_t c = static_cast<char32_t>(code);
        if (c == 0xFFFD || privateUse(c)) {
            out.push_back('?');
            continue;
        }
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray bytes = encoder.encode(one);
        const bool held = !encoder.hasError() && !bytes.isEmpty() && bytes.size() <= 2 &&
                          decode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) == c;
        // An error stays with the encoder; a fresh one takes the next character.
        if (encoder.hasError()) encoder = QStringEncoder("GBK", QStringEncoder::Flag::Stateless);
        if (held) {
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        } else {
            out.push_back('?');
        }
    }
    return out;
}

}  // namespace zozuz
