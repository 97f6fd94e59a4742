#include "platforms/linux/wayland_module.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>

namespace qex::linux_desktop {

void runOnWaylandIfCompositor()
{
    // $ORIGIN is the program's own folder: the installed layout first, then a build tree's.
    constexpr const char* places[] = {"$ORIGIN/" QEX_WAYLAND_MODULE_FROM_BIN "/qex-lifts-wayland.so",
                                      "$ORIGIN/qex-lifts-wayland.so"};
    std::string firstError;
    void* module = nullptr;
    for (const char* place : places) {
        if ((module = ::dlopen(place, RTLD_NOW | RTLD_LOCAL))) {
            break;
        }
        if (firstError.empty()) {
            const char* why = ::dlerror();
            firstError = why ? why : place;
        }
    }
    const auto run = module ? reinterpret_cast<void (*)()>(::dlsym(module, "qex_lifts_wayland_run")) : nullptr;
    if (!run) {
        // The installed place's reason: a build tree's is only the fallback.
        std::fprintf(stderr, "qex-lifts: cannot open its Wayland part: %s\n",
                     module ? "it has no entry point" : firstError.c_str());
        return;
    }
    run();
}

}  // namespace qex::linux_desktop
