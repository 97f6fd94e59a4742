#include "platforms/x11/refresh_rate.h"

#include <xcb/xcbext.h>

#include <cstdlib>

namespace qex::x11 {
namespace {

constexpr double fallbackHertz = 60;  // when the server does not say

}  // namespace

RefreshRate::RefreshRate(const Connection& connection) : connection_(connection) {}

void RefreshRate::ask()
{
    if (answers_ != Answers::unasked) {
        return;
    }
    answers_ = Answers::taken;  // unless there are questions to send
    randr_ = RandrFunctions::get();
    if (!randr_) {
        return;  // the usual rate, as on a server without RandR
    }
    xcb_connection_t* c = connection_.get();
    const auto* extension = xcb_get_extension_data(c, randr_->xcb_randr_id);
    if (extension && extension->present) {
        version_ = randr_->xcb_randr_query_version(c, 1, 3);
        resources_ = randr_->xcb_randr_get_screen_resources_current(c, connection_.screen().root);
        answers_ = Answers::awaited;
        known_ = false;
    }
}

bool RefreshRate::takeAnswers()
{
    if (answers_ != Answers::awaited) {
        return true;
    }
    xcb_connection_t* c = connection_.get();
    const auto answer = [c](unsigned int sequence, void*& reply) {
        xcb_generic_error_t* error = nullptr;
        const bool came = xcb_poll_for_reply(c, sequence, &reply, &error) != 0;
        std::free(error);
        return came;
    };
    if (version_.sequence) {
        void* reply = nullptr;
        if (!answer(version_.sequence, reply)) return false;
        std::free(reply);
        version_.sequence = 0;
    }
    if (resources_.sequence) {
        void* reply = nullptr;
        if (!answer(resources_.sequence, reply)) return false;
        resources_.sequence = 0;
        auto* resources = static_cast<xcb_randr_get_screen_resources_current_reply_t*>(reply);
        if (resources) {
            const xcb_randr_crtc_t* crtcs = randr_->xcb_randr_get_screen_resources_current_crtcs(resources);
            const xcb_randr_mode_info_t* modes = randr_->xcb_randr_get_screen_resources_current_modes(resources);
            modes_.assign(modes, modes + randr_->xcb_randr_get_screen_resources_current_modes_length(resources));
            for (int i = 0; i < randr_->xcb_randr_get_screen_resources_current_crtcs_length(resources); ++i) {
                crtcQuestions_.push_back(randr_->xcb_randr_get_crtc_info(c, crtcs[i], resources->config_timestamp));
            }
            std::free(resources);
        }
    }
    while (!crtcQuestions_.empty()) {
        void* reply = nullptr;
        if (!answer(crtcQuestions_.front().sequence, reply)) return false;
        crtcQuestions_.erase(crtcQuestions_.begin());
        auto* crtc = static_cast<xcb_randr_get_crtc_info_reply_t*>(reply);
        if (crtc && crtc->mode != XCB_NONE) {
            double hertz = 0;
            for (const xcb_randr_mode_info_t& mode : modes_) {
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
    answers_ = Answers::taken;
    return true;
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
    // Until the answers are in, the usual rate; they are asked for once the first frame is up and
    // come within its 2 s.
    const bool answered = takeAnswers();
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
    known_ = answered;
    return interval_;
}

}  // namespace qex::x11
