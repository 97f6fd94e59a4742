#pragma once

#include <xcb/xcb.h>

#include <array>
#include <string>
#include <string_view>

namespace qex::x11 {

// The atoms the window uses, asked for together so start-up waits for the server once.
enum class Atom {
    wmProtocols, wmDeleteWindow, utf8String, netWmName, netWmPid, netWmIcon, netWmState,
    netWmStateSkipTaskbar, netWmWindowType, netWmWindowTypeNormal,
    netSupportingWmCheck, motifWmHints, manager, xsettingsSelection, xsettingsSettings,
    compositorSelection, count
};

// The connection to the X server that DISPLAY names, with its default screen. Every failure
// to start and the loss of the server end the program with one line naming the display.
class Connection {
public:
    // Connects and interns the atoms; ends the program if the display cannot be used.
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return connection_; }
    xcb_screen_t& screen() const { return *screen_; }
    int screenNumber() const { return screenNumber_; }
    xcb_atom_t atom(Atom which) const { return atoms_[static_cast<std::size_t>(which)]; }
    // The root window's resource database (RESOURCE_MANAGER), asked for with the atoms.
    xcb_get_property_cookie_t resourcesAsked() const { return resources_; }

    // The server went away (or broke the connection): one line, status 1.
    [[noreturn]] void lost() const;
    // The display cannot serve the window: one line with the reason, status 1.
    [[noreturn]] void fail(std::string_view why) const;
    // Ends the program through lost() when the connection has broken.
    void check() const
    {
        if (xcb_connection_has_error(connection_)) {
            lost();
        }
    }

private:
    std::string name_;
    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    int screenNumber_ = 0;
    xcb_get_property_cookie_t resources_{};
    std::array<xcb_atom_t, static_cast<std::size_t>(Atom::count)> atoms_{};
};

}  // namespace qex::x11
