// Asks a window to close the way a window manager does: when the window
// takes part in the WM_DELETE_WINDOW protocol, it gets that client message;
// the program that owns it decides what to do. xdotool's windowclose would
// destroy the window instead.
//
//   zent_wmclose WINDOW-ID
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

xcb_atom_t Atom(xcb_connection_t* Connection, const char* Name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> Reply(
        xcb_intern_atom_reply(Connection, xcb_intern_atom(Connection, 0, uint16_t(std::strlen(Name)), Name),
                              nullptr),
        &std::free);
    return Reply ? Reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Whether the window lists Protocol in its WM_PROTOCOLS property.
bool TakesProtocol(xcb_connection_t* Connection, xcb_window_t Window, xcb_atom_t Protocols,
                   xcb_atom_t Protocol) {
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> Reply(
        xcb_get_property_reply(
            Connection, xcb_get_property(Connection, 0, Window, Protocols, XCB_ATOM_ATOM, 0, 64), nullptr),
        &std::free);
    if (!Reply || Reply->format != 32) return false;
    const auto* Atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(Reply.get()));
    const int Count = xcb_get_property_value_length(Reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < Count; ++i)
        if (Atoms[i] == Protocol) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
        return 2;
    }
    const xcb_window_t Window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t* Connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(Connection)) {
        std::fprintf(stderr, "cannot connect to the X display\n");
        xcb_disconnect(Connection);
        return 1;
    }
    const xcb_atom_t Protocols = Atom(Connection, "WM_PROTOCOLS");
    const xcb_atom_t DeleteWindow = Atom(Connection, "WM_DELETE_WINDOW");
    int Result = 0;
    if (!TakesProtocol(Connection, Window, Protocols, DeleteWindow)) {
        std::fprintf(stderr, "window %s does not take WM_DELETE_WINDOW\n", argv[1]);
        Result = 1;
    } else {
        xcb_client_message_event_t Event;
        std::memset(&Event, 0, sizeof Event);
        Event.response_type = XCB_CLIENT_MESSAGE;
        Event.format = 32;
        Event.window = Window;
        Event.type = Protocols;
        Event.data.data32[0] = DeleteWindow;
        Event.data.data32[1] = XCB_CURRENT_TIME;
        const xcb_void_cookie_t Sent = xcb_send_event_checked(Connection, 0, Window, XCB_EVENT_MASK_NO_EVENT,
                                                              reinterpret_cast<const char*>(&Event));
        if (xcb_generic_error_t* Error = xcb_request_check(Connection, Sent)) {
            std::fprintf(stderr, "cannot send to window %s (X error %d)\n", argv[1], Error->error_code);
            std::free(Error);
            Result = 1;
        }
    }
    xcb_disconnect(Connection);
    return Result;
}
