#include "widgets/host/DesktopLayer.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace harborlite::DesktopLayer {

namespace {

xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t made = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return made;
}

} // namespace

bool canBlend()
{
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return false;
    }
    // A compositing manager owns the _NET_WM_CM_S<screen> selection.
    const xcb_atom_t selection = atom(connection, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE) {
        return false;
    }
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = reply != nullptr && reply->owner != xcb_window_t(XCB_WINDOW_NONE);
    std::free(reply);
    return owned;
}

void keepOnDesktop(QWidget* window)
{
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t type = atom(connection, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t desktopType = atom(connection, "_NET_WM_WINDOW_TYPE_DESKTOP");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, type, XCB_ATOM_ATOM, 32, 1, &desktopType);

    // Qt adds its own states (below, from the window flags) to these when it
    // maps the window.
    const std::array<xcb_atom_t, 4> states = {
        atom(connection, "_NET_WM_STATE_BELOW"),
        atom(connection, "_NET_WM_STATE_STICKY"),
        atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
        atom(connection, "_NET_WM_STATE_SKIP_PAGER"),
    };
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());

    const uint32_t everyDesktop = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL,
                        32, 1, &everyDesktop);
    xcb_flush(connection);
}

} // namespace harborlite::DesktopLayer
