#pragma once
// Looks at the windows of an X display from outside, as a window manager or a tray would:
// the window tree with each window's class, geometry and whether it is shown.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <xcb/xcb.h>
#include <cstdlib>

class XWindows
{
public:
    struct Window
    {
        xcb_window_t id = XCB_NONE;
        QByteArray instance;          // WM_CLASS, first part ("corkvane")
        QByteArray className;         // WM_CLASS, second part ("Corkvane")
        QList<QByteArray> ancestors;  // the WM_CLASS classes of the windows above it, nearest first
        bool viewable = false;
        int width = 0;
        int height = 0;
    };

    explicit XWindows(const QString &display) { m_connection = xcb_connect(display.toLocal8Bit().constData(), &m_screen); }
    ~XWindows()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }
    XWindows(const XWindows &) = delete;
    XWindows &operator=(const XWindows &) = delete;

    bool connected() const { return m_connection && !xcb_connection_has_error(m_connection); }
    xcb_connection_t *connection() const { return m_connection; }

    xcb_window_t root() const
    {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < m_screen && it.rem; ++i)
            xcb_screen_next(&it);
        return it.data->root;
    }

    // Every window of the display below the root.
    QList<Window> all() const
    {
        QList<Window> out;
        if (connected())
            walk(root(), {}, out);
        return out;
    }

    QList<Window> withInstance(const QByteArray &instance) const
    {
        QList<Window> out;
        for (const Window &w : all())
            if (w.instance == instance)
                out << w;
        return out;
    }

    // A text property (UTF8_STRING or STRING) of a window, such as _NET_WM_NAME.
    QByteArray textProperty(xcb_window_t window, const char *name) const
    {
        const xcb_atom_t atom = intern(name);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr);
        if (!reply)
            return {};
        const QByteArray value(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        std::free(reply);
        return value;
    }

    // The window the window manager reports active (_NET_ACTIVE_WINDOW on the root).
    xcb_window_t activeWindow() const
    {
        const xcb_atom_t atom = intern("_NET_ACTIVE_WINDOW");
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, root(), atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t active = XCB_NONE;
        if (reply && xcb_get_property_value_length(reply) == 4)
            active = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
        std::free(reply);
        return active;
    }

    // The window holding the keyboard focus.
    xcb_window_t focusWindow() const
    {
        xcb_get_input_focus_reply_t *reply = xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr);
        const xcb_window_t focus = reply ? reply->focus : XCB_NONE;
        std::free(reply);
        return focus;
    }

    // The window and its ancestors, up to the root.
    QList<xcb_window_t> lineage(xcb_window_t window) const
    {
        QList<xcb_window_t> out;
        while (window != XCB_NONE && window != root()) {
            out << window;
            xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr);
            if (!tree)
                break;
            window = tree->parent;
            std::free(tree);
        }
        return out;
    }

private:
    xcb_atom_t intern(const char *name) const
    {
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, qstrlen(name), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    }

    void walk(xcb_window_t parent, const QList<QByteArray> &ancestors, QList<Window> &out) const
    {
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr);
        if (!tree)
            return;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        QList<xcb_window_t> ids(children, children + count);
        std::free(tree);
        for (xcb_window_t id : ids) {
            Window w;
            w.id = id;
            w.ancestors = ancestors;
            const QList<QByteArray> wmClass = textProperty(id, "WM_CLASS").split('\0');
            w.instance = wmClass.value(0);
            w.className = wmClass.value(1);
            if (xcb_get_window_attributes_reply_t *attributes =
                    xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, id), nullptr)) {
                w.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
                std::free(attributes);
            }
            if (xcb_get_geometry_reply_t *geometry =
                    xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, id), nullptr)) {
                w.width = geometry->width;
                w.height = geometry->height;
                std::free(geometry);
            }
            out << w;
            QList<QByteArray> below = ancestors;
            below.prepend(w.className);
            walk(id, below, out);
        }
    }

    xcb_connection_t *m_connection = nullptr;
    int m_screen = 0;
};
