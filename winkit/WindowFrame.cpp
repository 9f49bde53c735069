#include "winkit/WindowFrame.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QThread>
#include <QtGui/qguiapplication_platform.h>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vornel {

namespace {

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const XcbReply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                            nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// _NET_FRAME_EXTENTS of `window`: left, right, top, bottom, if set.
bool ReadExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents, QMargins& out) {
  const XcbReply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4),
                             nullptr),
      &std::free);
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
    return false;
  const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  out = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
  return true;
}

// True when the window manager lists `atom` among what it supports.
bool Supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t atom) {
  const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED");
  const XcbReply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(
          c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr),
      &std::free);
  if (!reply || reply->format != 32) return false;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  return std::find(atoms, atoms + count, atom) != atoms + count;
}

QMargins X11FrameMargins(QWidget* widget, xcb_connection_t* c) {
  // Creating the native window gives it its type and decoration hints, which
  // decide the frame the window manager will draw.
  const auto window = static_cast<xcb_window_t>(widget->winId());
  const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
  QMargins native;
  const XcbReply<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr), &std::free);
  const bool mapped = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
  if (!mapped) {
    // Asked afresh each time: the answer depends on hints (a fixed size
    // drops the resize handle) that may have changed since the last one.
    const XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr), &std::free);
    const xcb_atom_t request = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (!tree || !Supported(c, tree->root, request)) return {};
    xcb_delete_property(c, window, extents);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(c, 0, tree->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    // The window manager answers by setting the property; it takes a moment.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
    while (!ReadExtents(c, window, extents, native)) {
      if (std::chrono::steady_clock::now() > deadline) return {};
      QThread::usleep(500);
    }
  } else if (!ReadExtents(c, window, extents, native)) {
    return {};
  }
  const double ratio = widget->devicePixelRatioF();
  const auto logical = [ratio](int v) { return static_cast<int>(std::lround(v / ratio)); };
  return {logical(native.left()), logical(native.top()), logical(native.right()),
          logical(native.bottom())};
}

}  // namespace

QMargins FrameMargins(QWidget* window) {
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (xcb_connection_t* connection = x11->connection())
      return X11FrameMargins(window, connection);
  }
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(),
          frame.right() - client.right(), frame.bottom() - client.bottom()};
}

}  // namespace vornel
