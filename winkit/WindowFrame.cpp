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

template <typename T>
XcbReply<T> Reply(T* reply) {
  return XcbReply<T>(reply, &std::free);
}

// The atoms this file uses, asked for together in one round trip.
struct Atoms {
  xcb_atom_t extents, request, supported;
};

Atoms InternAtoms(xcb_connection_t* c) {
  const char* names[] = {"_NET_FRAME_EXTENTS", "_NET_REQUEST_FRAME_EXTENTS", "_NET_SUPPORTED"};
  xcb_intern_atom_cookie_t cookies[3];
  for (int i = 0; i < 3; ++i)
    cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
  xcb_atom_t atoms[3];
  for (int i = 0; i < 3; ++i) {
    const auto reply = Reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
    atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
  return {atoms[0], atoms[1], atoms[2]};
}

// _NET_FRAME_EXTENTS of `window`: left, right, top, bottom, if set.
bool ReadExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents, QMargins& out) {
  const auto reply = Reply(xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
    return false;
  const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  out = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
  return true;
}

QMargins X11FrameMargins(QWidget* widget, xcb_connection_t* c) {
  // Creating the native window gives it its type and decoration hints, which
  // decide the frame the window manager will draw.
  const auto window = static_cast<xcb_window_t>(widget->winId());
  static const Atoms atoms = InternAtoms(c);
  QMargins native;
  const auto attributes =
      Reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
  if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED) {
    if (!ReadExtents(c, window, atoms.extents, native)) return {};
  } else {
    // Asked afresh each time: the answer depends on hints (a fixed size
    // drops the resize handle) that may have changed since the last one.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto supported = Reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atoms.supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!supported || supported->format != 32) return {};
    const auto* list = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const auto* end = list + xcb_get_property_value_length(supported.get()) / 4;
    if (std::find(list, end, atoms.request) == end) return {};

    xcb_delete_property(c, window, atoms.extents);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atoms.request;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    // The window manager answers by setting the property; it takes a moment.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
    while (!ReadExtents(c, window, atoms.extents, native)) {
      if (std::chrono::steady_clock::now() > deadline) return {};
      QThread::usleep(100);
    }
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
