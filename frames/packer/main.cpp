#include "frames/packer/bitmap_packer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

// pack-frames OUTPUT.cpp BITMAP...: the given frame bitmaps, in holder order, as one C++ source
// of packed rows. Any bitmap not in the exact frame format stops the build, naming the file.
int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp BITMAP...\n", argv[0]);
        return 2;
    }
    std::vector<std::vector<std::uint8_t>> frames;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.eof() && !in) {
            std::fprintf(stderr, "pack-frames: cannot read %s\n", argv[i]);
            return 1;
        }
        auto packed = qex::frames::packBitmap(bytes);
        if (packed.rows.empty()) {
            std::fprintf(stderr, "pack-frames: %s %s\n", argv[i], packed.refusal.c_str());
            return 1;
        }
        frames.push_back(std::move(packed.rows));
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "pack-frames: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(out, "// Made by pack-frames from the frame bitmaps; not to be edited.\n"
                      "#include \"frames/packed_frames.h\"\n\nnamespace qex::frames {\nnamespace {\n\n"
                      "alignas(4) const std::uint8_t rows[%zu][packedFrameBytes] = {\n", frames.size());
    for (const auto& frame : frames) {
        std::fputs("{", out);
        for (std::size_t i = 0; i < frame.size(); ++i) {
            std::fprintf(out, "%s%u,", i % 32 == 0 ? "\n" : "", frame[i]);
        }
        std::fputs("},\n", out);
    }
    std::fprintf(out, "};\n\n}  // namespace\n\n"
                      "std::span<const std::uint8_t, packedFrameBytes> packedFrame(int holder)\n{\n"
                      "    return std::span<const std::uint8_t, packedFrameBytes>(rows[holder - 1], packedFrameBytes);\n"
                      "}\n\n}  // namespace qex::frames\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
