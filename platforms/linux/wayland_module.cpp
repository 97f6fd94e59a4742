#include "platforms/linux/wayland_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace qex::linux_desktop {
namespace {

// The folder the program was started from, with a relative path from it applied by hand so
// that a message names the place itself; $ORIGIN, which the loader resolves, where /proc is
// not mounted.
std::string besideProgram(std::string relative)
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) {
        return "$ORIGIN/" + relative;
    }
    std::string folder(path, static_cast<std::size_t>(length));
    folder.erase(folder.rfind('/'));
    while (relative.starts_with("../") && !folder.empty()) {
        folder.erase(folder.rfind('/'));
        relative.erase(0, 3);
    }
    return folder + '/' + relative;
}

}  // namespace

void runOnWaylandIfCompositor()
{
    // The installed layout first, then a build tree's.
    const std::string places[] = {besideProgram(QEX_WAYLAND_MODULE_FROM_BIN "/qex-lifts-wayland.so"),
                                  besideProgram("qex-lifts-wayland.so")};
    std::string firstError;
    void* module = nullptr;
    for (const std::string& place : places) {
        if ((module = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL))) {
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
