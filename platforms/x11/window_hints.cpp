#include "platforms/x11/window_hints.h"

#include "platforms/x11/window_icon.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace qex::x11 {
namespace {

constexpr char windowClass[] = "qex-lifts\0qex-lifts";  // instance and class, each ending in a null

void setProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type, std::uint8_t format,
                 std::size_t count, const void* data)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, name, type, format, static_cast<std::uint32_t>(count), data);
}

}  // namespace

void describeWindow(const Connection& connection, xcb_window_t window, std::string_view caption, int width,
                    int height)
{
    xcb_connection_t* c = connection.get();
    const auto atom = [&](Atom which) { return connection.atom(which); };
    setProperty(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, caption.size(), caption.data());
    setProperty(c, window, atom(Atom::netWmName), atom(Atom::utf8String), 8, caption.size(), caption.data());
    setProperty(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof windowClass, windowClass);

    // Flags: program-specified size, minimum and maximum; equal bounds forbid resizing.
    constexpr std::uint32_t programSize = 8, minSize = 16, maxSize = 32;
    std::array<std::uint32_t, 18> size{};
    size[0] = programSize | minSize | maxSize;
    size[3] = size[5] = size[7] = static_cast<std::uint32_t>(width);
    size[4] = size[6] = size[8] = static_cast<std::uint32_t>(height);
    setProperty(c, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, size.size(), size.data());

    // Takes the keyboard focus when given it, and starts in the normal (shown) state.
    constexpr std::uint32_t inputHint = 1, stateHint = 2, normalState = 1;
    const std::array<std::uint32_t, 9> hints = {inputHint | stateHint, 1, normalState, 0, 0, 0, 0, 0, 0};
    setProperty(c, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, hints.size(), hints.data());

    // Functions move and close; decorations border, title and window menu; nothing to minimize,
    // maximize or resize.
    constexpr std::uint32_t functionsFlag = 1, decorationsFlag = 2;
    constexpr std::uint32_t functionMove = 4, functionClose = 32;
    constexpr std::uint32_t decorationBorder = 2, decorationTitle = 8, decorationMenu = 16;
    const std::array<std::uint32_t, 5> motif = {functionsFlag | decorationsFlag, functionMove | functionClose,
                                                decorationBorder | decorationTitle | decorationMenu, 0, 0};
    setProperty(c, window, atom(Atom::motifWmHints), atom(Atom::motifWmHints), 32, motif.size(), motif.data());

    const xcb_atom_t deleteWindow = atom(Atom::wmDeleteWindow);
    setProperty(c, window, atom(Atom::wmProtocols), XCB_ATOM_ATOM, 32, 1, &deleteWindow);

    const auto pid = static_cast<std::uint32_t>(::getpid());
    setProperty(c, window, atom(Atom::netWmPid), XCB_ATOM_CARDINAL, 32, 1, &pid);
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0) {
        setProperty(c, window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8, std::strlen(host), host);
    }

    const auto icon = windowIcon();
    setProperty(c, window, atom(Atom::netWmIcon), XCB_ATOM_CARDINAL, 32, icon.size(), icon.data());
    const xcb_atom_t normal = atom(Atom::netWmWindowTypeNormal);
    setProperty(c, window, atom(Atom::netWmWindowType), XCB_ATOM_ATOM, 32, 1, &normal);
}

void leaveOutOfTaskBar(const Connection& connection, xcb_window_t window, bool managed)
{
    xcb_connection_t* c = connection.get();
    const xcb_atom_t skipTaskBar = connection.atom(Atom::netWmStateSkipTaskbar);
    if (!managed) {
        setProperty(c, window, connection.atom(Atom::netWmState), XCB_ATOM_ATOM, 32, 1, &skipTaskBar);
        return;
    }
    constexpr std::uint32_t add = 1, fromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = connection.atom(Atom::netWmState);
    message.data.data32[0] = add;
    message.data.data32[1] = skipTaskBar;
    message.data.data32[3] = fromApplication;
    xcb_send_event(c, 0, connection.screen().root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

}  // namespace qex::x11
