#include "x_display.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <stdexcept>

namespace bench {
namespace {

// A window that vanished between listing and reading raises an X error; the probe just retries.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

XDisplay::XDisplay() : display_(XOpenDisplay(nullptr))
{
    if (!display_) {
        throw std::runtime_error("cannot open the X display");
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        throw std::runtime_error("the X server has no XTEST extension");
    }
    XSetErrorHandler(ignoreErrors);
}

XDisplay::~XDisplay()
{
    XCloseDisplay(display_);
}

InkCount XDisplay::inkOf(Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes)) {
        return {};
    }
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        return {};
    }
    InkCount ink;
    // A 24-bit TrueColor screen: pure black reads 0 and pure white all colour bits set.
    const unsigned long whitePixel = image->red_mask | image->green_mask | image->blue_mask;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y) & whitePixel;
            ink.black += pixel == 0;
            ink.white += pixel == whitePixel;
        }
    }
    XDestroyImage(image);
    return ink;
}

std::optional<Window> XDisplay::windowShowing(InkCount least, int minWidth, int minHeight)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
        return std::nullopt;
    }
    std::optional<Window> found;
    // Topmost first: the last child is on top.
    for (unsigned i = count; i-- > 0 && !found;) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, children[i], &attributes) ||
            attributes.map_state != IsViewable || attributes.width < minWidth ||
            attributes.height < minHeight) {
            continue;
        }
        const InkCount ink = inkOf(children[i]);
        if (ink.black >= least.black && ink.white >= least.white) {
            found = children[i];
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

std::uint64_t XDisplay::pixelHash(Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes)) {
        return 0;
    }
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        return 0;
    }
    // FNV-1a over the raw rows: cheap, and any changed pixel changes it.
    std::uint64_t hash = 1469598103934665603ULL;
    const auto* bytes = reinterpret_cast<const unsigned char*>(image->data);
    const long size = static_cast<long>(image->bytes_per_line) * image->height;
    for (long i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ULL;
    }
    XDestroyImage(image);
    return hash;
}

void XDisplay::movePointer(Window window, int col, int row)
{
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), col, row, &x, &y, &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void XDisplay::parkPointer()
{
    const int screen = DefaultScreen(display_);
    XTestFakeMotionEvent(display_, screen, DisplayWidth(display_, screen) - 1,
                         DisplayHeight(display_, screen) - 1, CurrentTime);
    XSync(display_, False);
}

void XDisplay::focus(Window window)
{
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
}

void XDisplay::pressEscape()
{
    const KeyCode escape = XKeysymToKeycode(display_, XK_Escape);
    XTestFakeKeyEvent(display_, escape, True, CurrentTime);
    XFlush(display_);
}

void XDisplay::releaseEscape()
{
    const KeyCode escape = XKeysymToKeycode(display_, XK_Escape);
    XTestFakeKeyEvent(display_, escape, False, CurrentTime);
    XFlush(display_);
}

void XDisplay::typeSlash()
{
    const KeyCode slash = XKeysymToKeycode(display_, XK_slash);
    XTestFakeKeyEvent(display_, slash, True, CurrentTime);
    XTestFakeKeyEvent(display_, slash, False, CurrentTime);
    XFlush(display_);
}

}  // namespace bench
