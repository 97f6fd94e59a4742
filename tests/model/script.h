#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qex::model {

inline constexpr int loadingPumps = 53;

// One handler call, delivered inside pump `pump` (1-based, counted from program start, so
// pumps 1..53 are the loading pumps and pump 53+p ends pass p).
struct Call {
    enum class Kind : std::uint8_t { key, move, click, doubleClick };
    Kind kind = Kind::key;
    int pump = 0;
    std::int16_t code = 0;
    std::int16_t button = 0;
    std::int16_t shift = 0;
    float x = 0;
    float y = 0;
};

// Calls in pump order; the run stops at the pump after `pumps` unless a call ends it first.
struct Script {
    std::uint64_t seed = 0;
    std::vector<Call> calls;
    int pumps = 0;
};

// Passes still checked after the last call, so a call's effects show before the run stops.
inline constexpr int tailPumps = 20;

// Values drawn straight from the raw 64-bit outputs: the standard fixes mt19937_64's outputs but
// not what its distributions make of them, and the scripts must be the same on every platform.
class Draw {
public:
    explicit Draw(std::uint64_t seed) : engine_(seed) {}
    std::uint64_t Bits() { return engine_(); }
    // The modulo bias is far too small to matter here and is the same everywhere.
    std::uint64_t Below(std::uint64_t bound) { return engine_() % bound; }
    bool Percent(std::uint64_t percent) { return Below(100) < percent; }
    // [0, 1) in steps of 2^-24, every value exact in a float.
    float Unit() { return static_cast<float>(engine_() >> 40) * 0x1p-24f; }

private:
    std::mt19937_64 engine_;
};

// `callCount` calls that never end the program, at random pumps from the first loading pump on.
Script Generate(std::uint64_t seed, std::size_t callCount);

// Up to `maxCalls` such calls, then Escape or a double-click as the last call.
Script GenerateEnding(std::uint64_t seed, std::size_t maxCalls);

// The first `count` calls of `script`, stopping `tailPumps` pumps after the last of them.
Script Prefix(const Script& script, std::size_t count);

std::string Describe(const Call& call);

}  // namespace qex::model
