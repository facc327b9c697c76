#include "hosts/qt/QtClipboard.h"

#include <utility>

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>
#include <QString>

#include <xcb/xcb.h>
// Last: Xlib defines macros whose names Qt uses.
#include <X11/Xlib.h>

namespace zozuz {

namespace {

// The forms of text read from another program, in the order they are preferred.
struct TextForm {
    const char* target;
    bool utf8;  // otherwise Latin-1
};
constexpr TextForm kTextForms[] = {{"UTF8_STRING", true}, {"text/plain;charset=utf-8", true}, {"STRING", false}};
// Older forms that only Qt converts.
constexpr const char* kOlderTextForms[] = {"TEXT", "COMPOUND_TEXT", "text/plain"};

}  // namespace

const char* QtClipboard::bytesFormat() { return "application/x-zozuz-code-page-936"; }

QtClipboard::QtClipboard() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return;
    const xcb_setup_t* setup = xcb_get_setup(x11->connection());
    ownIdBase_ = setup->resource_id_base;
    ownIdMask_ = setup->resource_id_mask;
    // The reader goes to the server Qt is on, which the name of Qt's display says exactly.
    const char* display = x11->display() ? XDisplayString(x11->display()) : nullptr;
    reader_ = std::make_unique<XSelectionReader>(display, kPatience);
    if (!reader_->connected()) {
        reader_.reset();
        return;
    }
    changes_ = std::make_unique<QObject>();
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, changes_.get(), [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard) ++generation_;
    });
}

QtClipboard::~QtClipboard() = default;

void QtClipboard::put(const std::string& text, const std::string& bytes) {
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    data->setData(QString::fromLatin1(bytesFormat()), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::uint32_t QtClipboard::otherOwner() const {
    if (!reader_) return 0;
    const std::uint32_t owner = reader_->owner();
    return (owner & ~ownIdMask_) == ownIdBase_ ? 0 : owner;
}

const XSelectionReader::Result& QtClipboard::targetsOf(std::uint32_t owner) const {
    const bool known = listing_ && listing_->owner == owner && listing_->generation == generation_;
    if (known && (listing_->targets.answer != XSelectionReader::Answer::Silent ||
                  std::chrono::steady_clock::now() - listing_->readAt < kSilentPause)) {
        return listing_->targets;
    }
    XSelectionReader::Result targets = reader_->targets();
    listing_ = Listing{owner, generation_, std::move(targets), std::chrono::steady_clock::now()};
    return listing_->targets;
}

bool QtClipboard::hasText() const {
    if (const std::uint32_t owner = otherOwner()) {
        const XSelectionReader::Result& targets = targetsOf(owner);
        for (const TextForm& form : kTextForms) {
            if (reader_->offers(targets, form.target)) return true;
        }
        for (const char* form : kOlderTextForms) {
            if (reader_->offers(targets, form)) return true;
        }
        return false;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

std::optional<std::string> QtClipboard::bytes() const {
    if (const std::uint32_t owner = otherOwner()) {
        if (!reader_->offers(targetsOf(owner), bytesFormat())) return std::nullopt;
        XSelectionReader::Result read = reader_->read(bytesFormat());
        if (read.answer != XSelectionReader::Answer::Data) return std::nullopt;
        return std::move(read.data);
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(bytesFormat()))) return std::nullopt;
    const QByteArray bytes = data->data(QString::fromLatin1(bytesFormat()));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<std::string> QtClipboard::text() const {
    if (const std::uint32_t owner = otherOwner()) {
        const XSelectionReader::Result& targets = targetsOf(owner);
        if (targets.answer != XSelectionReader::Answer::Data) return std::nullopt;
        // A refusal moves on to the next form; an owner that stays silent is not asked again.
        for (const TextForm& form : kTextForms) {
            if (!reader_->offers(targets, form.target)) continue;
            XSelectionReader::Result read = reader_->read(form.target);
            if (read.answer == XSelectionReader::Answer::Silent) return std::nullopt;
            if (read.answer != XSelectionReader::Answer::Data) continue;
            if (form.utf8) return std::move(read.data);
            return QString::fromLatin1(read.data.data(), static_cast<qsizetype>(read.data.size())).toStdString();
        }
        // The older forms are left to Qt below.
    }
    // Qt hands over empty text for text it could not read; as the program never puts empty text,
    // empty text counts as unreadable here.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    const QString text = data->text();
    if (text.isEmpty()) return std::nullopt;
    return text.toStdString();
}

}  // namespace zozuz
