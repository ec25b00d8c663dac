#include "platform/X11WindowHints.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

namespace {

// The EWMH atoms of the application's connection, fetched once.
xcb_ewmh_connection_t *ewmh()
{
    static xcb_ewmh_connection_t *connection = []() -> xcb_ewmh_connection_t * {
        auto *x11 =
                qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!x11 || !x11->connection())
            return nullptr;
        auto *ewmh =
                static_cast<xcb_ewmh_connection_t *>(std::calloc(1, sizeof(xcb_ewmh_connection_t)));
        xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(x11->connection(), ewmh);
        if (!xcb_ewmh_init_atoms_replies(ewmh, cookies, nullptr)) {
            std::free(ewmh);
            return nullptr;
        }
        return ewmh;
    }();
    return connection;
}

void requestSkipTaskbar(QWidget *window)
{
    xcb_ewmh_connection_t *connection = ewmh();
    if (!connection || !window->isVisible())
        return;
    xcb_ewmh_request_change_wm_state(connection, 0, xcb_window_t(window->winId()),
                                     XCB_EWMH_WM_STATE_ADD, connection->_NET_WM_STATE_SKIP_TASKBAR,
                                     connection->_NET_WM_STATE_SKIP_PAGER,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    xcb_flush(connection->connection);
}

} // namespace

namespace X11WindowHints {

bool available()
{
    return ewmh() != nullptr;
}

void skipTaskbar(QWidget *window)
{
    using namespace std::chrono_literals;
    if (!ewmh() || !window)
        return;
    requestSkipTaskbar(window);
    for (const auto delay : {50ms, 400ms, 1500ms})
        QTimer::singleShot(delay, window, [window] { requestSkipTaskbar(window); });
}

bool compositorRunning()
{
    xcb_ewmh_connection_t *connection = ewmh();
    if (!connection)
        return false;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(
            connection->connection,
            xcb_get_selection_owner(connection->connection, connection->_NET_WM_CM_Sn[0]), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

} // namespace X11WindowHints
