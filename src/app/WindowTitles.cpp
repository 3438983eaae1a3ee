#include "WindowTitles.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#ifdef KALPIYON_HAVE_XCB
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

#ifdef KALPIYON_HAVE_XCB
namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Qt sets the title when a window is created and on every caption change, and sends Show
// and WindowTitleChange after it did; an empty caption is then written over Qt's fallback.
class EmptyTitleKeeper : public QObject {
public:
    EmptyTitleKeeper(xcb_connection_t *connection, QObject *parent)
        : QObject(parent), connection_(connection), netWmName_(internAtom(connection, "_NET_WM_NAME")),
          utf8String_(internAtom(connection, "UTF8_STRING"))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((event->type() == QEvent::Show || event->type() == QEvent::WindowTitleChange) && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() && widget->windowTitle().isEmpty() && widget->internalWinId())
                clearTitle(xcb_window_t(widget->internalWinId()));
        }
        return false;
    }

private:
    void clearTitle(xcb_window_t window)
    {
        if (netWmName_ != XCB_ATOM_NONE && utf8String_ != XCB_ATOM_NONE)
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, netWmName_, utf8String_, 8, 0, nullptr);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(connection_);
    }

    xcb_connection_t *connection_;
    xcb_atom_t netWmName_, utf8String_;
};

}  // namespace
#endif

void keepWindowTitlesExact(QApplication &app)
{
#ifdef KALPIYON_HAVE_XCB
    // Other platforms (offscreen) answer the interface too, without a connection.
    auto *x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection() && QGuiApplication::platformName() == QLatin1String("xcb"))
        app.installEventFilter(new EmptyTitleKeeper(x11->connection(), &app));
#else
    Q_UNUSED(app);
#endif
}
