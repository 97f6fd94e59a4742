#include "platforms/qt/server_canvas.h"

#include "platforms/qt/changed_bands.h"

#include <QGuiApplication>
#include <QWindow>

#if defined(QEX_HAVE_XCB) && QT_CONFIG(xcb)
#include "platforms/qt/compositor_watch.h"
#include "platforms/qt/x_formats.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <vector>
#endif

namespace qex {

#if defined(QEX_HAVE_XCB) && QT_CONFIG(xcb)
struct ServerCanvas::Server {
    xcb_connection_t* connection = nullptr;
    xcb_window_t window = 0;
    xcb_visualtype_t visual{};
    BitmapLayout layout;
    xcb_gcontext_t copyGc = 0;    // on the window; no exposure events, colours of the shown frame
    xcb_gcontext_t uploadGc = 0;  // on 1-bit pixmaps, made with the first one
    std::uint32_t foreground = 0, background = 0;
    bool coloursSet = false;
    std::unordered_map<qint64, xcb_pixmap_t> pixmaps;  // by the frame image's cache key
    std::vector<std::uint8_t> rows;                     // upload scratch, reused
    std::optional<CompositorWatch> compositor;

    xcb_pixmap_t pixmapOf(const QImage& image);
};

xcb_pixmap_t ServerCanvas::Server::pixmapOf(const QImage& image)
{
    const auto found = pixmaps.find(image.cacheKey());
    if (found != pixmaps.end()) {
        return found->second;
    }
    const auto width = static_cast<std::uint16_t>(image.width());
    const auto height = static_cast<std::uint16_t>(image.height());
    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, 1, pixmap, window, width, height);
    if (uploadGc == 0) {
        uploadGc = xcb_generate_id(connection);
        xcb_create_gc(connection, uploadGc, pixmap, 0, nullptr);
    }
    const auto rowBytes = static_cast<std::size_t>(layout.rowBytes(image.width()));
    const auto sourceBytes = static_cast<std::size_t>((image.width() + 7) / 8);
    rows.assign(rowBytes * height, 0);
    for (int y = 0; y < height; ++y) {
        const uchar* from = image.constScanLine(y);
        std::uint8_t* to = rows.data() + rowBytes * static_cast<std::size_t>(y);
        for (std::size_t i = 0; i < sourceBytes; ++i) {
            // The image holds its leftmost pixel in the high bit of each byte.
            to[i] = layout.leftmostInLowBit ? reversedBits(from[i]) : from[i];
        }
    }
    xcb_put_image(connection, XCB_IMAGE_FORMAT_XY_PIXMAP, pixmap, uploadGc, width, height, 0, 0, 0,
                  1, static_cast<std::uint32_t>(rows.size()), rows.data());
    pixmaps.emplace(image.cacheKey(), pixmap);
    return pixmap;
}

ServerCanvas* ServerCanvas::create(QWidget& parent, const QRect& area)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || parent.devicePixelRatioF() != 1.0) {
        return nullptr;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(connection);
    BitmapLayout layout;
    if (!setup || !bitmapLayout(*setup, layout)) {
        return nullptr;
    }
    // The pointer passes through the child window by an empty input shape, which needs SHAPE.
    static constexpr char shape[] = "SHAPE";
    auto* extension = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof shape - 1, shape), nullptr);
    const bool shapes = extension && extension->present;
    std::free(extension);
    if (!shapes) {
        return nullptr;
    }
    auto* canvas = new ServerCanvas(parent, area);
    Server& server = *canvas->server_;
    server.connection = connection;
    server.layout = layout;
    server.window = static_cast<xcb_window_t>(canvas->winId());
    if (QWindow* window = canvas->windowHandle()) {
        // The X window itself must let the pointer through, not only Qt's routing.
        window->setFlag(Qt::WindowTransparentForInput);
    }
    auto* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, server.window), nullptr);
    const xcb_visualtype_t* visual = attributes ? findVisual(*setup, attributes->visual) : nullptr;
    std::free(attributes);
    if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR) {
        delete canvas;
        return nullptr;
    }
    server.visual = *visual;
    server.compositor.emplace(connection, server.window);
    server.copyGc = xcb_generate_id(connection);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(connection, server.copyGc, server.window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    return canvas;
}

ServerCanvas::ServerCanvas(QWidget& parent, const QRect& area)
    : QWidget(&parent), server_(std::make_unique<Server>())
{
    setGeometry(area);
    // Drawn by the X server alone: Qt neither paints nor clears it, and its parent keeps the
    // pointer, so keys and clicks reach the surface as they would without the canvas.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

ServerCanvas::~ServerCanvas()
{
    Server& server = *server_;
    if (!server.connection || xcb_connection_has_error(server.connection)) {
        return;
    }
    for (const auto& [key, pixmap] : server.pixmaps) {
        xcb_free_pixmap(server.connection, pixmap);
    }
    if (server.uploadGc) xcb_free_gc(server.connection, server.uploadGc);
    if (server.copyGc) xcb_free_gc(server.connection, server.copyGc);
    xcb_flush(server.connection);
}

bool ServerCanvas::draw(std::shared_ptr<const frames::FramePicture> picture)
{
    const bool twoColours = picture && picture->image().format() == QImage::Format_Mono &&
                            picture->image().colorCount() == 2;
    if (!twoColours) {
        // Left to Qt; what the canvas last showed is gone, so its next picture goes up whole.
        picture_.reset();
        hide();
        return false;
    }
    if (isHidden()) {
        show();
    }
    const auto previous = std::move(picture_);
    picture_ = std::move(picture);
    const QImage& next = picture_->image();
    const bool alike = previous && previous->image().size() == next.size() &&
                       previous->image().colorTable() == next.colorTable();
    // A compositor may read a damaged part only after the next frame has come in, and then shows
    // pieces of two frames (under mutter, up to 75 of 600 screen samples): there, frames go up whole.
    if (!alike || server_->compositor->running()) {
        copyToWindow({next.rect()});
        return true;
    }
    // Successive frames of a line drawing differ in a small part, and the server's 1-bit
    // expansion costs by the pixel: only the bands that changed are copied.
    constexpr int bandRows = 16;
    copyToWindow(changedBands(previous->image(), next, bandRows));
    return true;
}

void ServerCanvas::paintEvent(QPaintEvent*)
{
    // The window's contents were lost (first shown, uncovered): all of the frame is drawn again.
    if (picture_) {
        copyToWindow({picture_->image().rect()});
    }
}

void ServerCanvas::copyToWindow(const std::vector<QRect>& areas)
{
    Server& server = *server_;
    if (!picture_ || server.copyGc == 0 || areas.empty()) {
        return;
    }
    const QImage& image = picture_->image();
    const xcb_pixmap_t pixmap = server.pixmapOf(image);
    // A set bit takes the colour of palette entry 1, a clear one that of entry 0.
    const std::uint32_t foreground = pixelOf(image.color(1), server.visual);
    const std::uint32_t background = pixelOf(image.color(0), server.visual);
    if (!server.coloursSet || foreground != server.foreground || background != server.background) {
        const std::uint32_t values[] = {foreground, background};
        xcb_change_gc(server.connection, server.copyGc, XCB_GC_FOREGROUND | XCB_GC_BACKGROUND, values);
        server.foreground = foreground;
        server.background = background;
        server.coloursSet = true;
    }
    // One copy for the whole change, clipped to the changed areas: a compositor or a screen
    // grab that reads the window between two requests must never see half of a frame.
    std::vector<xcb_rectangle_t> clips;
    clips.reserve(areas.size());
    QRect bounds;
    for (const QRect& area : areas) {
        clips.push_back({static_cast<std::int16_t>(area.x()), static_cast<std::int16_t>(area.y()),
                         static_cast<std::uint16_t>(area.width()), static_cast<std::uint16_t>(area.height())});
        bounds |= area;
    }
    // The areas are bands from top to bottom that never share a row.
    xcb_set_clip_rectangles(server.connection, XCB_CLIP_ORDERING_YX_BANDED, server.copyGc, 0, 0,
                            static_cast<std::uint32_t>(clips.size()), clips.data());
    const auto x = static_cast<std::int16_t>(bounds.x());
    const auto y = static_cast<std::int16_t>(bounds.y());
    xcb_copy_plane(server.connection, pixmap, server.window, server.copyGc, x, y, x, y,
                   static_cast<std::uint16_t>(bounds.width()), static_cast<std::uint16_t>(bounds.height()), 1);
    xcb_flush(server.connection);
}

#else

struct ServerCanvas::Server {};

ServerCanvas* ServerCanvas::create(QWidget&, const QRect&)
{
    return nullptr;
}

ServerCanvas::ServerCanvas(QWidget& parent, const QRect&) : QWidget(&parent) {}
ServerCanvas::~ServerCanvas() = default;
bool ServerCanvas::draw(std::shared_ptr<const frames::FramePicture>)
{
    return false;
}
void ServerCanvas::paintEvent(QPaintEvent*) {}
void ServerCanvas::copyToWindow(const std::vector<QRect>&) {}

#endif

}  // namespace qex
