#include "platforms/x11/refresh_rate.h"

#include <cstdlib>

namespace qex::x11 {
namespace {

constexpr double fallbackHertz = 60;  // when the server does not say

}  // namespace

RefreshRate::RefreshRate(const Connection& connection) : connection_(connection)
{
    xcb_connection_t* c = connection.get();
    const auto* extension = xcb_get_extension_data(c, &xcb_randr_id);
    present_ = extension && extension->present;
    if (present_) {
        version_ = xcb_randr_query_version(c, 1, 3);
        resources_ = xcb_randr_get_screen_resources_current(c, connection.screen().root);
    }
}

void RefreshRate::readMonitors()
{
    read_ = true;
    if (!present_) {
        return;
    }
    xcb_connection_t* c = connection_.get();
    std::free(xcb_randr_query_version_reply(c, version_, nullptr));
    auto* resources = xcb_randr_get_screen_resources_current_reply(c, resources_, nullptr);
    if (!resources) {
        connection_.check();
        return;
    }
    const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(resources);
    const int crtcCount = xcb_randr_get_screen_resources_current_crtcs_length(resources);
    const xcb_randr_mode_info_t* modes = xcb_randr_get_screen_resources_current_modes(resources);
    const int modeCount = xcb_randr_get_screen_resources_current_modes_length(resources);
    std::vector<xcb_randr_get_crtc_info_cookie_t> questions;
    for (int i = 0; i < crtcCount; ++i) {
        questions.push_back(xcb_randr_get_crtc_info(c, crtcs[i], resources->config_timestamp));
    }
    for (const auto& question : questions) {
        auto* crtc = xcb_randr_get_crtc_info_reply(c, question, nullptr);
        if (crtc && crtc->mode != XCB_NONE) {
            double hertz = 0;
            for (int m = 0; m < modeCount; ++m) {
                const xcb_randr_mode_info_t& mode = modes[m];
                if (mode.id == crtc->mode && mode.htotal && mode.vtotal) {
                    double lines = mode.vtotal;
                    if (mode.mode_flags & XCB_RANDR_MODE_FLAG_DOUBLE_SCAN) lines *= 2;
                    if (mode.mode_flags & XCB_RANDR_MODE_FLAG_INTERLACE) lines /= 2;
                    hertz = mode.dot_clock / (mode.htotal * lines);
                }
            }
            monitors_.push_back({crtc->x, crtc->y, crtc->width, crtc->height, hertz});
        }
        std::free(crtc);
    }
    std::free(resources);
    connection_.check();
}

void RefreshRate::windowMoved(int x, int y, int width, int height)
{
    centreX_ = x + width / 2;
    centreY_ = y + height / 2;
    known_ = false;
}

std::chrono::steady_clock::duration RefreshRate::interval()
{
    if (known_) {
        return interval_;
    }
    if (!read_) {
        readMonitors();
    }
    double hertz = 0;
    for (const Monitor& monitor : monitors_) {
        const bool holds = centreX_ >= monitor.x && centreX_ < monitor.x + monitor.width &&
                           centreY_ >= monitor.y && centreY_ < monitor.y + monitor.height;
        if (holds || hertz == 0) {
            hertz = monitor.hertz;
        }
        if (holds) break;
    }
    if (!(hertz > 1)) {
        hertz = fallbackHertz;
    }
    interval_ = std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(1 / hertz));
    known_ = true;
    return interval_;
}

}  // namespace qex::x11
