#include "platforms/x11/desktop_settings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace qex::x11 {
namespace {

constexpr std::uint32_t defaultDoubleClick = 400;  // ms, where no settings daemon says otherwise

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, FreeReply>;

PropertyReply property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    constexpr std::uint32_t maxWords = 1 << 16;  // 256 KiB, far beyond any desktop's settings
    return PropertyReply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, maxWords), nullptr));
}

std::string_view text(const xcb_get_property_reply_t& reply)
{
    return {static_cast<const char*>(xcb_get_property_value(&reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(&reply))};
}

// Net/DoubleClickTime from the XSETTINGS wire format, or 0 when absent or malformed.
std::uint32_t doubleClickIn(std::string_view data)
{
    if (data.size() < 12) {
        return 0;
    }
    const bool bigEndian = data[0] != 0;
    const auto card = [&](std::size_t at, int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto byte = static_cast<std::uint8_t>(data[at + static_cast<std::size_t>(i)]);
            value |= static_cast<std::uint32_t>(byte) << (8 * (bigEndian ? bytes - 1 - i : i));
        }
        return value;
    };
    const auto padded = [](std::size_t n) { return (n + 3) & ~std::size_t{3}; };
    const std::uint32_t count = card(8, 4);
    std::size_t at = 12;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + 4 > data.size()) return 0;
        const auto type = static_cast<std::uint8_t>(data[at]);
        const std::size_t nameLength = card(at + 2, 2);
        const std::size_t nameAt = at + 4;
        at = nameAt + padded(nameLength) + 4;  // past the name and the serial of its last change
        if (at > data.size()) return 0;
        const std::string_view name = data.substr(nameAt, nameLength);
        if (type == 0) {  // an integer
            if (at + 4 > data.size()) return 0;
            if (name == "Net/DoubleClickTime") {
                return static_cast<std::uint32_t>(std::max(0, static_cast<std::int32_t>(card(at, 4))));
            }
            at += 4;
        } else if (type == 1) {  // a string
            if (at + 4 > data.size()) return 0;
            at += 4 + padded(card(at, 4));
        } else if (type == 2) {  // a colour
            at += 8;
        } else {
            return 0;
        }
    }
    return 0;
}

}  // namespace

int desktopScale(const Connection& connection)
{
    const PropertyReply reply(xcb_get_property_reply(connection.get(), connection.resourcesAsked(), nullptr));
    if (!reply) {
        connection.check();
        return 1;
    }
    const std::string_view resources = text(*reply);
    constexpr std::string_view key = "Xft.dpi:";
    for (std::size_t at = 0; at < resources.size();) {
        const std::size_t end = std::min(resources.find('\n', at), resources.size());
        const std::string_view line = resources.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, key.size()) != key) {
            continue;
        }
        const std::string value(line.substr(key.size()));
        const double dpi = std::strtod(value.c_str(), nullptr);
        if (!(dpi > 0)) {
            return 1;
        }
        // Rounded half up by hand: the maths library is one more to map at start.
        return std::clamp(static_cast<int>(std::min(dpi / 96, 8.0) + 0.5), 1, 4);
    }
    return 1;
}

DoubleClickTime::DoubleClickTime(const Connection& connection)
    : connection_(connection), milliseconds_(defaultDoubleClick)
{
    // A new settings owner announces itself to the root window's structure listeners.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.get(), connection.screen().root, XCB_CW_EVENT_MASK, &rootEvents);
    readOwner();
}

void DoubleClickTime::readOwner()
{
    xcb_connection_t* c = connection_.get();
    auto* reply = xcb_get_selection_owner_reply(
        c, xcb_get_selection_owner(c, connection_.atom(Atom::xsettingsSelection)), nullptr);
    owner_ = reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
    std::free(reply);
    if (owner_ != XCB_WINDOW_NONE) {
        // Its changes come as property changes; its end as its window's destruction.
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, owner_, XCB_CW_EVENT_MASK, &events);
    }
    readSettings();
}

void DoubleClickTime::readSettings()
{
    std::uint32_t published = 0;
    if (owner_ != XCB_WINDOW_NONE) {
        const xcb_atom_t settings = connection_.atom(Atom::xsettingsSettings);
        if (const auto reply = property(connection_.get(), owner_, settings, settings)) {
            published = doubleClickIn(text(*reply));
        }
    }
    milliseconds_ = published > 0 ? published : defaultDoubleClick;
}

void DoubleClickTime::handle(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7F) {
    case XCB_CLIENT_MESSAGE: {
        const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
        if (message.type == connection_.atom(Atom::manager) &&
            message.data.data32[1] == connection_.atom(Atom::xsettingsSelection)) {
            readOwner();
        }
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (change.window == owner_ && change.atom == connection_.atom(Atom::xsettingsSettings)) {
            readSettings();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == owner_) {
            owner_ = XCB_WINDOW_NONE;
            milliseconds_ = defaultDoubleClick;
        }
        break;
    default:
        break;
    }
}

}  // namespace qex::x11
