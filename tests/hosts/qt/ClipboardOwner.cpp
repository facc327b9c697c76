// Another X client that takes the CLIPBOARD selection and offers text in UTF-8 beside the program's
// own format, which it fails to deliver: with "refuse" it refuses that format at once, with "silent"
// it never answers for it. Usage: ClipboardOwner refuse|silent TEXT. It prints "owner" once it owns
// the selection and ends when another client takes the selection over.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, std::string_view name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "refuse") != 0 && std::strcmp(argv[1], "silent") != 0)) {
        std::fprintf(stderr, "usage: %s refuse|silent TEXT\n", argv[0]);
        return 2;
    }
    const bool silent = std::strcmp(argv[1], "silent") == 0;
    const std::string text = argv[2];
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) return 1;
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screen);
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, 0, window, screen.data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);

    const xcb_atom_t clipboard = atom(connection, "CLIPBOARD");
    const xcb_atom_t targets = atom(connection, "TARGETS");
    const xcb_atom_t utf8String = atom(connection, "UTF8_STRING");
    const xcb_atom_t utf8Plain = atom(connection, "text/plain;charset=utf-8");
    const xcb_atom_t own = atom(connection, "application/x-zozuz-code-page-936");
    xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, clipboard), nullptr), &std::free);
    if (!owner || owner->owner != window) return 1;
    std::printf("owner\n");
    std::fflush(stdout);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_SELECTION_CLEAR) {
            std::free(event);
            break;
        }
        if (type == XCB_SELECTION_REQUEST) {
            const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
            xcb_selection_notify_event_t notify{};
            notify.response_type = XCB_SELECTION_NOTIFY;
            notify.time = request->time;
            notify.requestor = request->requestor;
            notify.selection = request->selection;
            notify.target = request->target;
            notify.property = request->property;
            if (request->target == targets) {
                const xcb_atom_t offered[] = {targets, utf8Plain, utf8String, own};
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request->requestor, request->property, XCB_ATOM_ATOM,
                                    32, 4, offered);
            } else if (request->target == utf8String || request->target == utf8Plain) {
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                                    request->target, 8, static_cast<std::uint32_t>(text.size()), text.data());
            } else {
                notify.property = XCB_ATOM_NONE;
            }
            if (!(silent && request->target == own)) {
                // An event sent is always 32 bytes long.
                char sent[32] = {};
                std::memcpy(sent, &notify, sizeof notify);
                xcb_send_event(connection, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT, sent);
            }
            xcb_flush(connection);
        }
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}
