#include "winkit/WindowFrame.h"

#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QtGui/qguiapplication_platform.h>
#include <QWidget>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace vornel {

namespace {

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> Reply(T* reply) {
  return XcbReply<T>(reply, &std::free);
}

// The atoms this file uses, asked for together in one round trip.
enum Atom {
  kFrameExtents,
  kSupportingWmCheck,
  kWmState,
  kWmStateModal,
  kWmStateSkipTaskbar,
  kWmStateSkipPager,
  kClientLeader,
  kWindowType,
  kMotifHints,
  kNetWmName,
  kAtomCount
};
using Atoms = std::array<xcb_atom_t, kAtomCount>;

Atoms InternAtoms(xcb_connection_t* c) {
  static constexpr const char* kNames[kAtomCount] = {
      "_NET_FRAME_EXTENTS", "_NET_SUPPORTING_WM_CHECK", "_NET_WM_STATE",
      "_NET_WM_STATE_MODAL", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
      "WM_CLIENT_LEADER", "_NET_WM_WINDOW_TYPE", "_MOTIF_WM_HINTS", "_NET_WM_NAME"};
  std::array<xcb_intern_atom_cookie_t, kAtomCount> cookies{};
  for (int i = 0; i < kAtomCount; ++i)
    cookies[i] =
        xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(kNames[i])), kNames[i]);
  Atoms atoms{};
  for (int i = 0; i < kAtomCount; ++i) {
    const auto reply = Reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
    atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
  return atoms;
}

XcbReply<xcb_get_property_reply_t> GetProperty(xcb_connection_t* c, xcb_window_t window,
                                               xcb_atom_t property) {
  return Reply(xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, property, XCB_ATOM_ANY, 0, 1024), nullptr));
}

// _NET_FRAME_EXTENTS of `window`: left, right, top, bottom, if set.
bool ReadExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents, QMargins& out) {
  const auto reply = GetProperty(c, window, extents);
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
    return false;
  const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  out = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
  return true;
}

// What decides the frame a window manager draws: the window's type and
// decoration hints, which follow from its flags, and whether it is modal.
using Kind = std::pair<Qt::WindowFlags::Int, bool>;

Kind KindOf(const QWidget* widget) {
  return {widget->windowFlags().toInt(), widget->windowModality() != Qt::NonModal};
}

// A twin of a window, mapped iconic (framed, never shown), whose frame the
// window manager has yet to tell.
struct Probe {
  xcb_window_t twin = XCB_NONE;
  std::chrono::steady_clock::time_point deadline;
};

// The twin that learns the frame the window manager gives a window of this
// kind. Not every manager answers _NET_REQUEST_FRAME_EXTENTS for a window it
// does not manage yet, and some answer it for an ordinary window, whatever
// the kind. None where nobody draws frames. `fixed`: the twin cannot be
// resized, as the window will not be once it is laid out (a manager may give
// a resizable window a grip, and so another frame).
std::optional<Probe> StartProbe(xcb_connection_t* c, const Atoms& atoms, QWidget* widget,
                                xcb_window_t window, bool fixed) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  // Every question asked at once, then the answers read: one round trip.
  const xcb_atom_t copied[] = {XCB_ATOM_WM_CLASS,        XCB_ATOM_WM_NAME,
                               atoms[kNetWmName],        atoms[kWindowType],
                               atoms[kMotifHints],       XCB_ATOM_WM_NORMAL_HINTS,
                               XCB_ATOM_WM_TRANSIENT_FOR, atoms[kClientLeader]};
  const auto ask = [c](xcb_window_t w, xcb_atom_t p) {
    return xcb_get_property(c, 0, w, p, XCB_ATOM_ANY, 0, 1024);
  };
  const auto manager = ask(screen->root, atoms[kSupportingWmCheck]);
  const auto geometryCookie = xcb_get_geometry(c, window);
  std::array<xcb_get_property_cookie_t, std::size(copied)> cookies{};
  for (std::size_t i = 0; i < cookies.size(); ++i) cookies[i] = ask(window, copied[i]);
  const auto wm = Reply(xcb_get_property_reply(c, manager, nullptr));
  const auto geometry = Reply(xcb_get_geometry_reply(c, geometryCookie, nullptr));
  std::vector<XcbReply<xcb_get_property_reply_t>> values;
  for (const auto cookie : cookies)
    values.push_back(Reply(xcb_get_property_reply(c, cookie, nullptr)));
  if (!wm || wm->type == XCB_NONE) return std::nullopt;  // nobody draws frames

  const xcb_window_t twin = xcb_generate_id(c);
  const std::uint32_t width = geometry ? geometry->width : 1;
  const std::uint32_t height = geometry ? geometry->height : 1;
  // Far off the screen, should a manager show it after all.
  xcb_create_window(c, XCB_COPY_FROM_PARENT, twin, screen->root, -20000, -20000, width, height, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
  for (std::size_t i = 0; i + 1 < values.size(); ++i) {
    const auto& value = values[i];
    if (!value || value->type == XCB_NONE) continue;
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, twin, copied[i], value->type, value->format,
        std::uint32_t(xcb_get_property_value_length(value.get()) / (value->format / 8)),
        xcb_get_property_value(value.get()));
  }
  if (fixed) {
    // WM_NORMAL_HINTS as copied, with a least and a largest size of the
    // twin's own.
    std::array<std::uint32_t, 18> hints{};
    if (const auto& copiedHints = values[5]; copiedHints && copiedHints->format == 32)
      std::memcpy(hints.data(), xcb_get_property_value(copiedHints.get()),
                  std::min<std::size_t>(sizeof hints,
                                        xcb_get_property_value_length(copiedHints.get())));
    hints[0] |= 16 | 32;  // PMinSize, PMaxSize
    hints[5] = hints[7] = width;
    hints[6] = hints[8] = height;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, twin, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, hints.size(), hints.data());
  }
  // Qt makes a tool window or dialog transient for its client leader, and
  // marks a modal one, only when it shows it.
  if (const auto& leader = values.back(); leader && leader->format == 32 &&
                                          xcb_get_property_value_length(leader.get()) == 4 &&
                                          widget->windowType() != Qt::Window) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, twin, XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, xcb_get_property_value(leader.get()));
  }
  std::vector<xcb_atom_t> state{atoms[kWmStateSkipTaskbar], atoms[kWmStateSkipPager]};
  if (KindOf(widget).second) state.push_back(atoms[kWmStateModal]);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, twin, atoms[kWmState], XCB_ATOM_ATOM, 32,
                      std::uint32_t(state.size()), state.data());
  // WM_HINTS: input and initial state given; no input, iconic.
  const std::uint32_t wmHints[9] = {1 | 2, 0, 3, 0, 0, 0, 0, 0, 0};
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, twin, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9,
                      wmHints);
  xcb_map_window(c, twin);
  xcb_flush(c);
  // The manager frames it in a few milliseconds; one that never says is
  // given a quarter of a second, once per kind.
  return Probe{twin, std::chrono::steady_clock::now() + std::chrono::milliseconds(250)};
}

// Frames in device pixels, by kind: what a shown window has is the truth
// for the next window of its kind; the twins still being framed (none where
// no manager ran); and the kinds whose frame no manager told in time, only a
// guess until a shown window of the kind has its own.
std::map<Kind, QMargins> known;
std::map<Kind, std::optional<Probe>> pending;
std::set<Kind> guessed;

// The twin's frame once the manager has set it; none, and the kind's frame
// a guess, where no manager runs yet or it does not answer in time. The
// twin is gone after.
QMargins FinishProbe(xcb_connection_t* c, const Atoms& atoms, const std::optional<Probe>& probe,
                     Kind kind) {
  QMargins native;
  bool told = false;
  if (probe) {
    while (!(told = ReadExtents(c, probe->twin, atoms[kFrameExtents], native)) &&
           std::chrono::steady_clock::now() <= probe->deadline)
      QThread::usleep(200);
    xcb_destroy_window(c, probe->twin);
    xcb_flush(c);
  }
  if (!told) guessed.insert(kind);
  return told ? native : QMargins();
}

xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

const Atoms& AtomsOf(xcb_connection_t* c) {
  static const Atoms atoms = InternAtoms(c);
  return atoms;
}

QMargins Logical(const QWidget* widget, const QMargins& native) {
  const double ratio = widget->devicePixelRatioF();
  const auto logical = [ratio](int v) { return static_cast<int>(std::lround(v / ratio)); };
  return {logical(native.left()), logical(native.top()), logical(native.right()),
          logical(native.bottom())};
}

// The frame the manager has set on the window, once it is mapped; it is
// then the truth for its kind.
bool ReadShownFrame(QWidget* widget, xcb_connection_t* c, QMargins& native) {
  const auto window = static_cast<xcb_window_t>(widget->winId());
  const auto attributes =
      Reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
  if (!attributes || attributes->map_state == XCB_MAP_STATE_UNMAPPED ||
      !ReadExtents(c, window, AtomsOf(c)[kFrameExtents], native))
    return false;
  known[KindOf(widget)] = native;
  guessed.erase(KindOf(widget));
  return true;
}

QMargins X11FrameMargins(QWidget* widget, xcb_connection_t* c) {
  // Creating the native window gives it its type and decoration hints.
  const auto window = static_cast<xcb_window_t>(widget->winId());
  const Atoms& atoms = AtomsOf(c);
  const Kind kind = KindOf(widget);
  // A twin that ExpectFrame sent ahead is read first.
  if (const auto twin = pending.find(kind); twin != pending.end()) {
    known[kind] = FinishProbe(c, atoms, twin->second, kind);
    pending.erase(twin);
  }
  QMargins native;
  if (ReadShownFrame(widget, c, native)) return Logical(widget, native);
  if (const auto found = known.find(kind); found != known.end())
    return Logical(widget, found->second);
  known[kind] = FinishProbe(c, atoms, StartProbe(c, atoms, widget, window, false), kind);
  return Logical(widget, known[kind]);
}

// Waits, for a few seconds at most, for the shown window's own frame; calls
// `replace` if it differs from the guess the window was placed by. A window
// moved meanwhile is left where it is.
class FrameWatch : public QObject {
 public:
  FrameWatch(QWidget* window, const QMargins& used, std::function<void()> replace)
      : QObject(window),
        window_(window),
        used_(used),
        placed_(window->geometry().topLeft()),
        replace_(std::move(replace)) {
    clock_.start();
    startTimer(20);
  }

 protected:
  void timerEvent(QTimerEvent*) override {
    xcb_connection_t* c = X11Connection();
    QMargins native;
    if (c == nullptr || clock_.hasExpired(5000) || window_->geometry().topLeft() != placed_) {
      deleteLater();
    } else if (window_->isVisible() && ReadShownFrame(window_, c, native)) {
      deleteLater();
      if (Logical(window_, native) != used_) replace_();
    }
  }

 private:
  QWidget* window_;
  QMargins used_;
  QPoint placed_;
  std::function<void()> replace_;
  QElapsedTimer clock_;
};

}  // namespace

void ExpectFrame(QWidget* window) {
  xcb_connection_t* c = X11Connection();
  const Kind kind = KindOf(window);
  if (c == nullptr || known.count(kind) != 0 || pending.count(kind) != 0) return;
  const auto native = static_cast<xcb_window_t>(window->winId());
  pending[kind] = StartProbe(c, AtomsOf(c), window, native, true);
}

QMargins FrameMargins(QWidget* window) {
  if (xcb_connection_t* connection = X11Connection()) return X11FrameMargins(window, connection);
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(),
          frame.right() - client.right(), frame.bottom() - client.bottom()};
}

void WhenFrameShown(QWidget* window, const QMargins& used, std::function<void()> replace) {
  if (X11Connection() != nullptr && guessed.count(KindOf(window)) != 0)
    new FrameWatch(window, used, std::move(replace));
}

}  // namespace vornel
