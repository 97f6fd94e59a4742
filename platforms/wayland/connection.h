#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace qex::wayland {

// Ends the program with one line naming the fault and the compositor, and status 1.
[[noreturn]] void fatal(std::string_view what);

// One output as the compositor describes it.
struct Output {
    class Connection* connection = nullptr;
    wl_output* output = nullptr;
    std::uint32_t name = 0;  // the registry's
    int scale = 1;
    int refreshMilliHz = 0;  // of the current mode; 0 when not told
};

// The connection to the compositor and the globals the window uses: bound at start, outputs
// followed as they come and go, the seat's pointer and keyboard handed to their listeners.
class Connection {
public:
    // Binds the globals; a compositor without a compositor, shared memory or seat is a fault.
    // Binds the globals; a compositor that offers no surfaces in shared memory is a fault.
    explicit Connection(wl_display* display);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    wl_display* display() const { return display_; }
    wl_compositor* compositor() const { return compositor_; }
    std::uint32_t compositorVersion() const { return compositorVersion_; }
    wl_shm* shm() const { return shm_; }
    const std::vector<std::unique_ptr<Output>>& outputs() const { return outputs_; }

    // Who hears the seat's pointer and keyboard once it has them.
    void listenToSeat(const wl_pointer_listener* pointer, void* pointerData,
                      const wl_keyboard_listener* keyboard, void* keyboardData);
    // Called whenever an output's scale or mode is complete, or an output goes.
    void onOutputsChanged(std::function<void()> changed) { outputsChanged_ = std::move(changed); }

private:
    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void globalRemove(void* data, wl_registry* registry, std::uint32_t name);
    static void capabilities(void* data, wl_seat* seat, std::uint32_t caps);
    static void seatName(void* data, wl_seat* seat, const char* name);
    void outputsChanged() const;
    void updateDevices();
    friend struct OutputEvents;

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    std::uint32_t compositorVersion_ = 0;
    wl_shm* shm_ = nullptr;
    wl_seat* seat_ = nullptr;
    std::uint32_t capabilities_ = 0;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    const wl_pointer_listener* pointerListener_ = nullptr;
    void* pointerData_ = nullptr;
    const wl_keyboard_listener* keyboardListener_ = nullptr;
    void* keyboardData_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::function<void()> outputsChanged_;
};

}  // namespace qex::wayland
