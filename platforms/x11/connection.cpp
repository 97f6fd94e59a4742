#include "platforms/x11/connection.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qex::x11 {

Connection::Connection()
{
    const char* display = std::getenv("DISPLAY");
    name_ = display ? display : "";
    connection_ = xcb_connect(nullptr, &screenNumber_);
    if (xcb_connection_has_error(connection_)) {
        fail("cannot connect");
    }
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber_ && roots.rem; ++i) {
        xcb_screen_next(&roots);
    }
    if (!roots.rem) {
        fail("no such screen");
    }
    screen_ = roots.data;
    constexpr std::uint32_t maxResourceWords = 1 << 16;  // 256 KiB, far beyond any desktop's resources
    resources_ = xcb_get_property(connection_, 0, screen_->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0,
                                  maxResourceWords);

    const std::string xsettings = "_XSETTINGS_S" + std::to_string(screenNumber_);
    const std::string compositor = "_NET_WM_CM_S" + std::to_string(screenNumber_);
    // In the order of Atom.
    const std::array<const char*, static_cast<std::size_t>(Atom::count)> names = {
        "WM_PROTOCOLS", "WM_DELETE_WINDOW", "UTF8_STRING", "_NET_WM_NAME", "_NET_WM_PID", "_NET_WM_ICON",
        "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL",
        "_NET_SUPPORTING_WM_CHECK", "_MOTIF_WM_HINTS", "MANAGER", xsettings.c_str(),
        "_XSETTINGS_SETTINGS", compositor.c_str()};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        cookies[i] = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* reply = xcb_intern_atom_reply(connection_, cookies[i], nullptr);
        if (!reply) {
            check();
            fail("an atom could not be interned");
        }
        atoms_[i] = reply->atom;
        std::free(reply);
    }
}

Connection::~Connection()
{
    xcb_disconnect(connection_);
}

void Connection::lost() const
{
    std::fprintf(stderr, "qex-lifts: lost the X display %s\n", name_.c_str());
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

void Connection::fail(std::string_view why) const
{
    std::fprintf(stderr, "qex-lifts: cannot open the X display %s: %.*s\n", name_.c_str(),
                 static_cast<int>(why.size()), why.data());
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

}  // namespace qex::x11
