#include "platform/WindowActivation.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

// The X server's time now: the time stamp of a property change on a window of our own.
xcb_timestamp_t serverTime(xcb_connection_t *connection, xcb_window_t root)
{
    const xcb_window_t probe = xcb_generate_id(connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    const xcb_atom_t property = internAtom(connection, "_CORKVANE_TIME");
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, probe, property, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY
                           && reinterpret_cast<xcb_property_notify_event_t *>(event)->window == probe;
        if (found)
            time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
        std::free(event);
        if (found)
            break;
    }
    xcb_destroy_window(connection, probe);
    return time;
}

// The request a pager or a program makes for a window to become the active one.
bool requestActivation(xcb_window_t window)
{
    // A connection of its own: the toolkit's reads its events on another thread.
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = internAtom(connection, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 1;  // from an application
    message.data.data32[1] = serverTime(connection, root);
    message.data.data32[2] = XCB_NONE;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    xcb_disconnect(connection);
    return true;
}

class ActivateOnExpose : public QObject
{
public:
    ActivateOnExpose(QWidget *widget, QWindow *window) : QObject(window), m_widget(widget) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window->isExposed() && m_widget) {
            QWidget *widget = m_widget;
            window->removeEventFilter(this);
            deleteLater();
            widget->raise();
            const bool x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>() != nullptr;
            if (!x11 || !requestActivation(xcb_window_t(widget->winId())))
                widget->activateWindow();
        }
        return false;
    }

private:
    QPointer<QWidget> m_widget;
};

} // namespace

namespace WindowActivation {

void activateWhenShown(QWidget *window)
{
    window->winId();  // the native window, so that its exposure can be watched
    if (QWindow *handle = window->windowHandle())
        handle->installEventFilter(new ActivateOnExpose(window, handle));
}

} // namespace WindowActivation
