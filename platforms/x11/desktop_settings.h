#pragma once

#include "platforms/x11/connection.h"

#include <cstdint>

namespace qex::x11 {

// The integer scale the desktop asks for through the Xft.dpi resource on the root window:
// round(dpi / 96) from 1 to 4, 1 when the resource is not set.
int desktopScale(const Connection& connection);

// The desktop's double-click time, as a settings daemon publishes it through XSETTINGS
// (Net/DoubleClickTime), followed while the program runs; 400 ms where none publishes it.
class DoubleClickTime {
public:
    explicit DoubleClickTime(const Connection& connection);

    std::uint32_t milliseconds() const { return milliseconds_; }
    // Takes the events that tell of a new settings owner or changed settings.
    void handle(const xcb_generic_event_t& event);

private:
    void readOwner();
    void readSettings();

    const Connection& connection_;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
    std::uint32_t milliseconds_;
};

}  // namespace qex::x11
