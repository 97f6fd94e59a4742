#include "platforms/web/picture1.h"

namespace qex {

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
                          unitsAcross(event.col), unitsDown(event.row));
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
