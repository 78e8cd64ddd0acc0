// orvane-wait-window TITLE: waits until a top-level window titled TITLE is
// mapped on the X display and prints that moment (CLOCK_REALTIME, in
// nanoseconds). It prints "ready" once it listens, so the caller starts the
// program only then. Used by scripts/startup-bench.sh: xdotool's --sync polls
// twice a second, far too coarse for start-ups of a tenth of a second.
//
// Without a window manager (Xvfb), top-level windows are children of the root
// window, so the root's substructure events show every one as it is mapped.

#include <xcb/xcb.h>

#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

std::string Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property) {
  const auto cookie = xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
      xcb_get_property_reply(c, cookie, nullptr), &free);
  if (!reply) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     std::size_t(xcb_get_property_value_length(reply.get())));
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const auto cookie = xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
      xcb_intern_atom_reply(c, cookie, nullptr), &free);
  return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvane-wait-window TITLE\n");
    return 2;
  }
  const std::string title = argv[1];
  // A program that never shows its window must not hang the benchmark.
  alarm(60);
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "cannot open the X display\n");
    return 1;
  }
  auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
  const xcb_window_t root = it.data->root;
  const xcb_atom_t netWmName = Atom(c, "_NET_WM_NAME");
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);
  std::printf("ready\n");
  std::fflush(stdout);

  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
    const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
    free(event);
    if (!mapped) continue;
    if (Property(c, w, netWmName) == title || Property(c, w, XCB_ATOM_WM_NAME) == title) {
      std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      xcb_disconnect(c);
      return 0;
    }
  }
  return 1;
}
