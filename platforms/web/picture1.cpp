#include "platforms/web/picture1.h"

namespace qex {
namespace {

// The surface's user scale: 14.8828125 units across the 345-pixel inner width and
// 29.84375 units down the 764-pixel inner height.
constexpr double unitsAcross = 14.8828125;
constexpr double innerWidth = 345;
constexpr double unitsDown = 29.84375;
constexpr double innerHeight = 764;

}  // namespace

void Picture1::deliver(const SurfaceEvent& event)
{
    switch (event.kind) {
    case SurfaceEvent::Kind::key: {
        auto keyAscii = static_cast<std::int16_t>(event.code);
        events_.keyPress(keyAscii);
        break;
    }
    case SurfaceEvent::Kind::move:
        events_.mouseMove(static_cast<std::int16_t>(event.buttons),
                          static_cast<std::int16_t>(event.shift),
                          static_cast<float>(unitsAcross * event.col / innerWidth),
                          static_cast<float>(unitsDown * event.row / innerHeight));
        break;
    case SurfaceEvent::Kind::click:
        events_.click();
        break;
    case SurfaceEvent::Kind::dblClick:
        events_.dblClick();
        break;
    }
}

}  // namespace qex
