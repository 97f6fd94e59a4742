#include "platforms/qt/display_check.h"

#include <QtGlobal>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qex::app {
namespace {

QtMessageHandler previousHandler = nullptr;

const char* envOr(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return (value && *value) ? value : fallback;
}

[[noreturn]] void failToStart()
{
    std::fprintf(stderr,
                 "qex-lifts: cannot open a display (DISPLAY=%s, WAYLAND_DISPLAY=%s, platform %s); "
                 "run it in a desktop session, or without one under xvfb-run\n",
                 envOr("DISPLAY", "unset"), envOr("WAYLAND_DISPLAY", "unset"),
                 envOr("QT_QPA_PLATFORM", "default"));
    std::_Exit(EXIT_FAILURE);
}

void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        failToStart();
    }
    // The platform plugin's own complaints before a failed start would bury the one line above.
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0) {
        return;
    }
    if (previousHandler) {
        previousHandler(type, context, message);
    }
}

}  // namespace

void guardPlatformStart()
{
    const bool chosenPlatform = std::getenv("QT_QPA_PLATFORM") && *std::getenv("QT_QPA_PLATFORM");
    const bool display = (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) ||
                         (std::getenv("WAYLAND_DISPLAY") && *std::getenv("WAYLAND_DISPLAY"));
    if (!chosenPlatform && !display) {
        failToStart();
    }
    previousHandler = qInstallMessageHandler(startupMessage);
}

void endPlatformGuard()
{
    qInstallMessageHandler(previousHandler);
}

}  // namespace qex::app
