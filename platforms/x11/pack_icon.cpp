// pack-icon OUTPUT.cpp PNG...: the given icon images as one C++ source defining windowIcon().
// Reads only what the frame generator writes (8-bit RGBA, stored deflate blocks, no filters);
// anything else stops the build, naming the file, rather than bringing an image decoder in.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t big32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
           bytes[at + 3];
}

// Appends width, height and the ARGB pixels of the PNG to `out`; an empty refusal on success.
std::string decode(const std::vector<std::uint8_t>& png, std::vector<std::uint32_t>& out)
{
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 33 || !std::equal(std::begin(signature), std::end(signature), png.begin())) {
        return "is not a PNG file";
    }
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> zlib;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = big32(png, at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        if (at + 12 + length > png.size()) return "has a cut chunk";
        const auto data = png.begin() + static_cast<std::ptrdiff_t>(at + 8);
        if (type == "IHDR") {
            if (length != 13) return "has a malformed header";
            width = big32(png, at + 8);
            height = big32(png, at + 12);
            if (data[8] != 8 || data[9] != 6 || data[10] != 0 || data[11] != 0 || data[12] != 0) {
                return "is not 8-bit RGBA without interlace";
            }
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        }
        at += 12 + length;
    }
    if (width == 0 || height == 0 || width > 1024 || height > 1024 || zlib.size() < 6 || (zlib[0] & 0x0F) != 8 ||
        (zlib[1] & 0x20)) {
        return "has no image or an unusual zlib stream";
    }
    std::vector<std::uint8_t> raw;
    bool last = false;
    for (std::size_t at = 2; !last;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) return "is compressed (only stored blocks are read)";
        last = zlib[at] & 1;
        const std::size_t size = zlib[at + 1] | std::size_t{zlib[at + 2]} << 8;
        const std::size_t check = zlib[at + 3] | std::size_t{zlib[at + 4]} << 8;
        if ((size ^ 0xFFFF) != check || at + 5 + size > zlib.size()) return "has a broken stored block";
        raw.insert(raw.end(), zlib.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   zlib.begin() + static_cast<std::ptrdiff_t>(at + 5 + size));
        at += 5 + size;
    }
    const std::size_t rowBytes = 1 + std::size_t{width} * 4;
    if (raw.size() != rowBytes * height) return "holds the wrong number of bytes";
    out.push_back(width);
    out.push_back(height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = raw.data() + y * rowBytes;
        if (row[0] != 0) return "uses row filters";
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = row + 1 + 4 * x;
            out.push_back(std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
        }
    }
    return {};
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp PNG...\n", argv[0]);
        return 2;
    }
    std::vector<std::uint32_t> icon;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string refusal = in.is_open() ? decode(bytes, icon) : std::string("cannot be read");
        if (!refusal.empty()) {
            std::fprintf(stderr, "pack-icon: %s %s\n", argv[i], refusal.c_str());
            return 1;
        }
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "pack-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(out, "// Made by pack-icon from the icon images; not to be edited.\n"
                      "#include \"platforms/x11/window_icon.h\"\n\nnamespace qex::x11 {\nnamespace {\n\n"
                      "const std::uint32_t icon[%zu] = {", icon.size());
    for (std::size_t i = 0; i < icon.size(); ++i) {
        std::fprintf(out, "%s0x%08x,", i % 8 == 0 ? "\n" : "", icon[i]);
    }
    std::fprintf(out, "\n};\n\n}  // namespace\n\nstd::span<const std::uint32_t> windowIcon()\n{\n"
                      "    return icon;\n}\n\n}  // namespace qex::x11\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
