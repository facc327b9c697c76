#pragma once

#include <memory>

class QLocale;
class QTranslator;

namespace zozuz {

// Qt's own texts in the user's language: the file, print and message-box dialogs say "打开" and
// "取消" under a Chinese locale, as every other text of the program does. Qt ships them as
// translation catalogues beside its libraries; while an instance lives, the one for `locale` is
// installed on the running application. A locale without a catalogue, or a system without Qt's
// translations installed, keeps Qt's English texts.
class QtTranslations {
public:
    explicit QtTranslations(const QLocale& locale);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Whether a catalogue was found and installed.
    bool loaded() const { return translator_ != nullptr; }

private:
    // Null when nothing was installed.
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace zozuz
