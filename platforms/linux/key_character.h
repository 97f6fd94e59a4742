#pragma once

#include <cstdint>
#include <optional>

namespace qex {

// The handlers' key code for the character a key gives (xkbcommon's UTF-32 for it, 0 for
// none; Escape gives 27). Every command is in the single-byte set, so keys beyond it (arrows,
// function keys, other scripts) are none.
inline std::optional<std::int16_t> keyAsciiOf(std::uint32_t character)
{
    if (character == 0 || character > 0xFF) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(character);
}

}  // namespace qex
