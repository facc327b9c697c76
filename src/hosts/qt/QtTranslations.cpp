#include "hosts/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace zozuz {

QtTranslations::QtTranslations(const QLocale& locale) {
    // The catalogue of Qt's base modules holds the widgets' and the print support's texts; it is
    // found by the locale's UI languages in order (zh_CN, then zh), as Qt looks them up itself.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    if (!QCoreApplication::installTranslator(translator.get())) return;
    translator_ = std::move(translator);
}

QtTranslations::~QtTranslations() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

}  // namespace zozuz
