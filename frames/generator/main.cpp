#include "bmp.h"
#include "drawing.h"
#include "icon.h"
#include "mechanism.h"
#include "png.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::cerr << "frame-generator: cannot write " << path << '\n';
    }
    return static_cast<bool>(file);
}

// The application icon in the sizes desktops ask for, cut from a frame with the left stem out.
int writeIcons(const std::filesystem::path& outDir)
{
    constexpr double iconSwing = 12.0;
    constexpr int iconPosition = 5;
    const framegen::Canvas frame = framegen::drawFrame(framegen::camOutline(iconSwing), iconSwing, iconPosition);
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const auto png = framegen::encodePng(size, size, framegen::drawIcon(frame, size));
        if (!writeFile(outDir / ("qex-lifts-" + std::to_string(size) + ".png"), png)) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

// Writes the 54 frames as OUTDIR/image01.bmp .. image54.bmp: lift 1 fills
// 01..18, lift 2 19..36 and lift 3 37..54, position 0 first.
// With --icons, writes the application icon as OUTDIR/qex-lifts-SIZE.png instead.
int main(int argc, char** argv)
{
    const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        std::cerr << "usage: frame-generator OUTDIR | frame-generator --icons OUTDIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::cerr << "frame-generator: cannot create " << outDir << ": " << error.message() << '\n';
        return 1;
    }
    if (icons) {
        return writeIcons(outDir);
    }

    // Degrees each lever and its stem swing out at the peak of a lift.
    constexpr std::array<double, 3> fullSwing{12.0, 8.0, 4.0};
    int holder = 1;
    for (double swing : fullSwing) {
        const std::vector<framegen::Vec> cam = framegen::camOutline(swing);
        for (int position = 0; position < framegen::positionsPerLift; ++position, ++holder) {
            const std::vector<std::uint8_t> bytes = framegen::encodeBmp(framegen::drawFrame(cam, swing, position));
            const std::string name = std::string("image") + (holder < 10 ? "0" : "") + std::to_string(holder) + ".bmp";
            if (!writeFile(outDir / name, bytes)) {
                return 1;
            }
        }
    }
    return 0;
}
