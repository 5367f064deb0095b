#include "WindowFrame.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef SONMIRA_X11
#include <QThread>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#endif

namespace sonmira::platform {

#ifdef SONMIRA_X11
namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    Reply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a property, empty when it is not set.
std::vector<uint32_t> property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 1024), nullptr), &std::free);
    if (!r || r->format != 32 || r->type != type) return {};
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    return std::vector<uint32_t>(v, v + xcb_get_property_value_length(r.get()) / 4);
}

std::optional<QMargins> askWindowManager(xcb_connection_t* c, xcb_window_t window) {
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr), &std::free);
    if (!tree) return std::nullopt;
    const xcb_window_t root = tree->root;
    // No window manager, no frame.
    if (property(c, root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty()) return QMargins();
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    const auto supported = property(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    if (std::find(supported.begin(), supported.end(), request) == supported.end()) return std::nullopt;

    xcb_client_message_event_t ask{};
    ask.response_type = XCB_CLIENT_MESSAGE;
    ask.format = 32;
    ask.window = window;
    ask.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ask));
    xcb_flush(c);
    // The answer is a property on the window; a window manager that says it
    // answers does so at once, so the wait is short and bounded.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
    for (;;) {
        const auto v = property(c, window, extents, XCB_ATOM_CARDINAL);
        // left, right, top, bottom
        if (v.size() == 4)
            return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                            static_cast<int>(v[3]));
        if (std::chrono::steady_clock::now() >= until) return std::nullopt;
        QThread::msleep(2);
    }
}

} // namespace
#endif

std::optional<QMargins> askFrameMargins(QWidget& window) {
#ifdef SONMIRA_X11
    // Only on an X server: an offscreen screen may answer as X11 without one.
    auto* x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    if (x11 && x11->connection())
        return askWindowManager(x11->connection(), static_cast<xcb_window_t>(window.winId()));
#endif
    // Elsewhere the toolkit knows the frame once the window exists.
    const QRect frame = window.frameGeometry(), client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

} // namespace sonmira::platform
