#include "bmp.h"
#include "drawing.h"
#include "mechanism.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

// Writes the 54 frames as OUTDIR/image01.bmp .. image54.bmp: lift 1 fills
// 01..18, lift 2 19..36 and lift 3 37..54, position 0 first.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: frame-generator OUTDIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::cerr << "frame-generator: cannot create " << outDir << ": " << error.message() << '\n';
        return 1;
    }

    // Degrees each lever and its stem swing out at the peak of a lift.
    constexpr std::array<double, 3> fullSwing{12.0, 8.0, 4.0};
    int holder = 1;
    for (double swing : fullSwing) {
        const std::vector<framegen::Vec> cam = framegen::camOutline(swing);
        for (int position = 0; position < framegen::positionsPerLift; ++position, ++holder) {
            const std::vector<std::uint8_t> bytes = framegen::encodeBmp(framegen::drawFrame(cam, swing, position));
            const std::string name = std::string("image") + (holder < 10 ? "0" : "") + std::to_string(holder) + ".bmp";
            std::ofstream file(outDir / name, std::ios::binary);
            file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!file) {
                std::cerr << "frame-generator: cannot write " << (outDir / name) << '\n';
                return 1;
            }
        }
    }
    return 0;
}
