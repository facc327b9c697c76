#include "hosts/qt/XSelectionReader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <poll.h>

namespace zozuz {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// The property on the reader's own window that an owner writes the selection to.
constexpr std::string_view kProperty = "ZOZUZ_SELECTION";

}  // namespace

XSelectionReader::XSelectionReader(const char* displayName, std::chrono::milliseconds patience)
    : patience_(patience) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screen.rem > 0; ++i) xcb_screen_next(&screen);
    if (screen.rem == 0) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = screen.data->root;
}

XSelectionReader::~XSelectionReader() {
    if (connection_) xcb_disconnect(connection_);
}

xcb_atom_t XSelectionReader::atom(std::string_view name) {
    if (const auto found = atoms_.find(name); found != atoms_.end()) return found->second;
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    if (!reply) return XCB_ATOM_NONE;
    atoms_.emplace(name, reply->atom);
    return reply->atom;
}

std::uint32_t XSelectionReader::owner() {
    if (!connection_) return 0;
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    if (clipboard == XCB_ATOM_NONE) return 0;
    const Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, clipboard), nullptr));
    return reply ? reply->owner : 0;
}

template <typename Accept>
xcb_generic_event_t* XSelectionReader::waitFor(std::uint8_t type, Accept accept) {
    const auto deadline = std::chrono::steady_clock::now() + patience_;
    for (;;) {
        // Events already read from the socket come first; poll() only tells of ones still in it.
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7F) == type && accept(event)) return event;
            std::free(event);
        }
        if (xcb_connection_has_error(connection_)) return nullptr;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return nullptr;
        pollfd socket{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&socket, 1, static_cast<int>(left.count()));
    }
}

bool XSelectionReader::offers(const Result& targets, std::string_view target) {
    if (targets.answer != Answer::Data) return false;
    const xcb_atom_t wanted = atom(target);
    if (wanted == XCB_ATOM_NONE) return false;
    // A list of atoms, 32 bits each in the machine's own order (the server converts them).
    for (std::size_t at = 0; at + sizeof(xcb_atom_t) <= targets.data.size(); at += sizeof(xcb_atom_t)) {
        xcb_atom_t listed;
        std::memcpy(&listed, targets.data.data() + at, sizeof listed);
        if (listed == wanted) return true;
    }
    return false;
}

XSelectionReader::Result XSelectionReader::read(std::string_view target) {
    if (!connection_) return {};
    const xcb_atom_t targetAtom = atom(target);
    if (atom("CLIPBOARD") == XCB_ATOM_NONE || targetAtom == XCB_ATOM_NONE || atom(kProperty) == XCB_ATOM_NONE) return {};
    // Each read has a window of its own: an owner that answers after the reader gave up writes to a
    // window that is gone, never into a later read.
    const xcb_window_t requestor = xcb_generate_id(connection_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, 0, requestor, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    Result result = transfer(requestor, targetAtom);
    xcb_destroy_window(connection_, requestor);
    xcb_flush(connection_);
    return result;
}

XSelectionReader::Result XSelectionReader::transfer(xcb_window_t requestor, xcb_atom_t target) {
    const xcb_atom_t property = atom(kProperty);
    xcb_convert_selection(connection_, requestor, atom("CLIPBOARD"), target, property, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    const Reply<xcb_generic_event_t> notify(waitFor(XCB_SELECTION_NOTIFY, [&](xcb_generic_event_t* event) {
        return reinterpret_cast<xcb_selection_notify_event_t*>(event)->requestor == requestor;
    }));
    if (!notify) return {Answer::Silent, {}};
    if (reinterpret_cast<xcb_selection_notify_event_t*>(notify.get())->property == XCB_ATOM_NONE) {
        return {Answer::Refused, {}};
    }

    // Reading the property deletes it, which also tells an owner sending in increments to go on.
    const auto take = [&]() {
        return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 1, requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
            nullptr));
    };
    const auto value = [](const xcb_get_property_reply_t& reply) {
        return std::string_view(static_cast<const char*>(xcb_get_property_value(&reply)),
                                static_cast<std::size_t>(xcb_get_property_value_length(&reply)));
    };
    const Reply<xcb_get_property_reply_t> first = take();
    if (!first || first->type == XCB_ATOM_NONE) return {Answer::Refused, {}};
    if (first->type != atom("INCR")) return {Answer::Data, std::string(value(*first))};

    // Data too large for one property comes in pieces, each written once the last one was taken,
    // and ends with an empty piece. The patience counts from piece to piece.
    Result result{Answer::Data, {}};
    for (;;) {
        const Reply<xcb_generic_event_t> written(waitFor(XCB_PROPERTY_NOTIFY, [&](xcb_generic_event_t* event) {
            const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event);
            return change->window == requestor && change->atom == property && change->state == XCB_PROPERTY_NEW_VALUE;
        }));
        if (!written) return {Answer::Silent, {}};
        const Reply<xcb_get_property_reply_t> piece = take();
        if (!piece) return {Answer::Refused, {}};
        // A property gone again by the time it is read is no piece, and no end either.
        if (piece->type == XCB_ATOM_NONE) continue;
        const std::string_view bytes = value(*piece);
        if (bytes.empty()) return result;
        result.data += bytes;
    }
}

}  // namespace zozuz
