#include "hosts/qt/QtFontMapper.h"

#include <algorithm>

#include <QFontDatabase>
#include <QString>

namespace zozuz {

namespace {

QStringList installed(const QStringList& wanted) {
    QStringList result;
    for (const QString& family : wanted)
        if (QFontDatabase::hasFamily(family)) result << family;
    return result;
}

bool isSerifName(const QString& family) {
    // 宋 (Song) and 仿宋 (FangSong) and 楷 (Kai) are the brush-stroke faces; their Latin names too.
    return family.contains(QStringLiteral("宋")) || family.contains(QStringLiteral("楷")) ||
           family.contains(QStringLiteral("Song"), Qt::CaseInsensitive) ||
           family.contains(QStringLiteral("Kai"), Qt::CaseInsensitive);
}

}  // namespace

const QStringList& QtFontMapper::chineseFallbacks(bool serif) {
    static const QStringList serifFirst = installed({
        QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
        QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Droid Sans Fallback")});
    static const QStringList sansFirst = installed({
        QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Droid Sans Fallback"), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")});
    return serif ? serifFirst : sansFirst;
}

QFont QtFontMapper::toQFont(const Font& font) {
    const QString family = QString::fromStdString(font.family);
    QStringList families;
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) families << family;
    for (const QString& fallback : chineseFallbacks(isSerifName(family)))
        if (!families.contains(fallback)) families << fallback;
    QFont result;
    if (!families.isEmpty()) result.setFamilies(families);
    result.setPixelSize(std::max(1, font.pixelHeight));
    result.setBold(font.bold);
    return result;
}

}  // namespace zozuz
