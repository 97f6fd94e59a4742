#include "platforms/wayland/connection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qex::wayland {

void fatal(std::string_view what)
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "qex-lifts: error: %.*s (WAYLAND_DISPLAY=%s)\n",
                 static_cast<int>(what.size()), what.data(), (name && *name) ? name : "wayland-0");
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

// The output events, each completing the output's description.
struct OutputEvents {
    static Output& of(void* data) { return *static_cast<Output*>(data); }
    static void geometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t, const char*, const char*, std::int32_t)
    {
    }
    static void mode(void* data, wl_output*, std::uint32_t flags, std::int32_t, std::int32_t, std::int32_t refresh)
    {
        if (flags & WL_OUTPUT_MODE_CURRENT) {
            of(data).refreshMilliHz = refresh;
        }
    }
    static void done(void* data, wl_output*);
    static void scale(void* data, wl_output*, std::int32_t factor) { of(data).scale = std::max(1, factor); }
    static void name(void*, wl_output*, const char*) {}
    static void description(void*, wl_output*, const char*) {}
};

namespace {

const wl_output_listener outputListener{&OutputEvents::geometry, &OutputEvents::mode, &OutputEvents::done,
                                        &OutputEvents::scale, &OutputEvents::name, &OutputEvents::description};

template <class Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t version)
{
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, version));
}

}  // namespace

void OutputEvents::done(void* data, wl_output*)
{
    of(data).connection->outputsChanged();
}

// Versions before 3 cannot say that the client is done with a device, only forget it.
template <class Device>
void releaseDevice(Device* device, void (*release)(Device*), void (*destroy)(Device*))
{
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(device)) >= 3) {
        release(device);
    } else {
        destroy(device);
    }
}

Connection::Connection(wl_display* display) : display_(display)
{
    static const wl_registry_listener listener{&Connection::global, &Connection::globalRemove};
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &listener, this);
    if (wl_display_roundtrip(display_) < 0) {
        fatal("the compositor broke the connection at start");
    }
    if (!compositor_ || !shm_) {
        fatal("the compositor offers no surfaces in shared memory");
    }
}

void Connection::global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                        std::uint32_t version)
{
    auto& self = *static_cast<Connection*>(data);
    const auto is = [interface](const wl_interface& wanted) { return std::strcmp(interface, wanted.name) == 0; };
    if (is(wl_compositor_interface)) {
        // Version 4 damages in buffer pixels.
        self.compositorVersion_ = std::min(version, 4U);
        self.compositor_ = bind<wl_compositor>(registry, name, wl_compositor_interface, self.compositorVersion_);
    } else if (is(wl_shm_interface)) {
        self.shm_ = bind<wl_shm>(registry, name, wl_shm_interface, 1);
    } else if (is(wl_seat_interface) && !self.seat_) {
        // Version 4 tells the key repeat; later pointer events are not needed.
        self.seat_ = bind<wl_seat>(registry, name, wl_seat_interface, std::min(version, 4U));
        // Its capabilities come straight after the bind: listened to before they are dispatched.
        static const wl_seat_listener seatListener{&Connection::capabilities, &Connection::seatName};
        wl_seat_add_listener(self.seat_, &seatListener, &self);
    } else if (is(wl_output_interface)) {
        auto output = std::make_unique<Output>();
        output->connection = &self;
        output->name = name;
        // Version 2 tells the scale.
        output->output = bind<wl_output>(registry, name, wl_output_interface, std::min(version, 2U));
        wl_output_add_listener(output->output, &outputListener, output.get());
        self.outputs_.push_back(std::move(output));
    }
}

void Connection::globalRemove(void* data, wl_registry*, std::uint32_t name)
{
    auto& self = *static_cast<Connection*>(data);
    auto gone = std::find_if(self.outputs_.begin(), self.outputs_.end(),
                             [name](const auto& output) { return output->name == name; });
    if (gone != self.outputs_.end()) {
        // Whoever follows the outputs forgets this one before it is destroyed.
        auto output = std::move(*gone);
        self.outputs_.erase(gone);
        self.outputsChanged();
        wl_output_destroy(output->output);
    }
}

void Connection::listenToSeat(const wl_pointer_listener* pointer, void* pointerData,
                              const wl_keyboard_listener* keyboard, void* keyboardData)
{
    pointerListener_ = pointer;
    pointerData_ = pointerData;
    keyboardListener_ = keyboard;
    keyboardData_ = keyboardData;
    updateDevices();
}

void Connection::capabilities(void* data, wl_seat*, std::uint32_t caps)
{
    auto& self = *static_cast<Connection*>(data);
    self.capabilities_ = caps;
    self.updateDevices();
}

void Connection::updateDevices()
{
    const bool pointer = capabilities_ & WL_SEAT_CAPABILITY_POINTER;
    if (pointer && !pointer_ && pointerListener_) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, pointerListener_, pointerData_);
    } else if (!pointer && pointer_) {
        releaseDevice(pointer_, &wl_pointer_release, &wl_pointer_destroy);
        pointer_ = nullptr;
    }
    const bool keyboard = capabilities_ & WL_SEAT_CAPABILITY_KEYBOARD;
    if (keyboard && !keyboard_ && keyboardListener_) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, keyboardListener_, keyboardData_);
    } else if (!keyboard && keyboard_) {
        releaseDevice(keyboard_, &wl_keyboard_release, &wl_keyboard_destroy);
        keyboard_ = nullptr;
    }
}

void Connection::seatName(void*, wl_seat*, const char*) {}

void Connection::outputsChanged() const
{
    if (outputsChanged_) {
        outputsChanged_();
    }
}

}  // namespace qex::wayland
