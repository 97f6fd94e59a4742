#pragma once

#include "platforms/x11/connection.h"
#include "platforms/x11/late_libraries.h"

#include <chrono>
#include <vector>

namespace qex::x11 {

// The refresh interval of the monitor the window is on, from RandR's CRTCs and their modes;
// 60 Hz where the server does not say, and until it has answered: the frame path never waits.
class RefreshRate {
public:
    explicit RefreshRate(const Connection& connection);

    // Sends the questions, once; their answers are taken when next needed.
    void ask();
    // Where the window is now, in root coordinates.
    void windowMoved(int x, int y, int width, int height);
    std::chrono::steady_clock::duration interval();

private:
    struct Monitor {
        int x, y, width, height;
        double hertz;
    };

    // Takes whatever answers have come; true once the monitors are known.
    bool takeAnswers();

    const Connection& connection_;
    const RandrFunctions* randr_ = nullptr;
    enum class Answers { unasked, awaited, taken } answers_ = Answers::unasked;
    xcb_randr_query_version_cookie_t version_{};
    xcb_randr_get_screen_resources_current_cookie_t resources_{};
    std::vector<xcb_randr_get_crtc_info_cookie_t> crtcQuestions_;
    std::vector<xcb_randr_mode_info_t> modes_;
    std::vector<Monitor> monitors_;
    int centreX_ = 0, centreY_ = 0;
    std::chrono::steady_clock::duration interval_{};
    bool known_ = false;
};

}  // namespace qex::x11
