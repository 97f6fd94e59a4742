#include "platforms/wayland/picture1.h"

#include "frames/packed_frames.h"

#include <algorithm>

namespace qex::wayland {
namespace {

constexpr auto fallbackRefresh = std::chrono::nanoseconds(1'000'000'000 / 60);

}  // namespace

const wl_surface_listener Picture1::surfaceListener{&Picture1::entered, &Picture1::left};

Picture1::Picture1(Connection& connection, SurfaceEvents& events, const Keyboard& keyboard)
    : connection_(connection),
      events_(events),
      keyboard_(keyboard),
      surface_(wl_compositor_create_surface(connection.compositor()))
{
    wl_surface_add_listener(surface_, &surfaceListener, this);
    connection_.onOutputsChanged([this] { outputsChanged(); });
    outputsChanged();
}

Picture1::~Picture1()
{
    connection_.onOutputsChanged(nullptr);
    if (frameCallback_) {
        wl_callback_destroy(frameCallback_);
    }
    if (cursorSurface_) {
        wl_surface_destroy(cursorSurface_);
    }
    if (cursorTheme_) {
        wl_cursor_theme_destroy(cursorTheme_);
    }
    frames_.reset();
    retired_.reset();
    wl_surface_destroy(surface_);
}

void Picture1::entered(void* data, wl_surface*, wl_output* output)
{
    auto& self = *static_cast<Picture1*>(data);
    self.outputsOn_.push_back(output);
    self.outputsChanged();
}

void Picture1::left(void* data, wl_surface*, wl_output* output)
{
    auto& self = *static_cast<Picture1*>(data);
    std::erase(self.outputsOn_, output);
    self.outputsChanged();
}

void Picture1::outputsChanged()
{
    const auto& outputs = connection_.outputs();
    std::erase_if(outputsOn_, [&outputs](wl_output* on) {
        return std::none_of(outputs.begin(), outputs.end(), [on](const auto& known) { return known->output == on; });
    });
    // Before the surface is on any output, every output stands for it: the first picture on a
    // high-density screen is then sharp at once.
    int scale = 1;
    for (const auto& output : outputs) {
        if (outputsOn_.empty() || std::find(outputsOn_.begin(), outputsOn_.end(), output->output) != outputsOn_.end()) {
            scale = std::max(scale, output->scale);
        }
    }
    if (frames_ && frames_->scale() == scale) {
        return;
    }
    // The buffers of the old scale stay until the compositor has let go of them (a set retired
    // before may go now: its storage is never written again, so the compositor keeps its copy).
    retired_ = std::move(frames_);
    frames_ = std::make_unique<ShmFrames>(connection_.shm(), scale);
    if (committedHolder_ != 0) {
        if (frameCallback_) {
            waiting_ = true;
        } else {
            commit();
        }
    }
}

std::chrono::nanoseconds Picture1::refreshInterval() const
{
    for (auto on = outputsOn_.rbegin(); on != outputsOn_.rend(); ++on) {
        for (const auto& output : connection_.outputs()) {
            if (output->output == *on && output->refreshMilliHz > 0) {
                return std::chrono::nanoseconds(1'000'000'000'000LL / output->refreshMilliHz);
            }
        }
    }
    return fallbackRefresh;
}

void Picture1::setPicture(std::shared_ptr<const frames::FramePicture> picture)
{
    picture_ = std::move(picture);
    if (frameCallback_) {
        waiting_ = true;
    } else {
        commit();
    }
}

void Picture1::frameDone(void* data, wl_callback* callback, std::uint32_t)
{
    auto& self = *static_cast<Picture1*>(data);
    wl_callback_destroy(callback);
    self.frameCallback_ = nullptr;
    if (self.retired_ && !self.retired_->held()) {
        self.retired_.reset();
    }
    if (self.waiting_) {
        self.commit();
    }
}

void Picture1::commit()
{
    static const wl_callback_listener frameListener{&Picture1::frameDone};
    waiting_ = false;
    if (!picture_) {
        return;
    }
    const int holder = picture_->holder();
    const int scale = frames_->scale();
    frames_->attach(surface_, holder);
    if (scale != committedScale_ || committedHolder_ == 0) {
        // Every buffer holds the whole content: a new scale, or the first picture, is all new.
        wl_surface_set_buffer_scale(surface_, scale);
        wl_surface_damage(surface_, 0, 0, width, height);
    } else {
        damageChanges(committedHolder_, holder);
    }
    committedScale_ = scale;
    committedHolder_ = holder;
    frameCallback_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frameCallback_, &frameListener, this);
    wl_surface_commit(surface_);
}

void Picture1::damageChanges(int before, int after)
{
    // Compositors upload each damaged rectangle of a shared-memory buffer on its own, which costs
    // more than the pixels between the changes: one rectangle round them all is damaged.
    const auto changed = changedBounds(frames::packedFrame(before), frames::packedFrame(after));
    if (!changed) {
        return;
    }
    const FrameArea& box = *changed;
    if (connection_.compositorVersion() >= 4) {
        const int n = committedScale_;
        wl_surface_damage_buffer(surface_, (edge + box.x) * n, (edge + box.y) * n, box.width * n, box.height * n);
    } else {
        wl_surface_damage(surface_, edge + box.x, edge + box.y, box.width, box.height);
    }
}

}  // namespace qex::wayland
