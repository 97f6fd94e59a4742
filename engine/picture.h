#pragma once

#include <memory>

namespace qex {

// One immutable frame picture; the platform layer derives the concrete kind that holds pixels.
class Picture {
public:
    virtual ~Picture() = default;

protected:
    Picture() = default;
};

// Shared handle: copying it never copies pixels.
using PictureRef = std::shared_ptr<const Picture>;

}  // namespace qex
