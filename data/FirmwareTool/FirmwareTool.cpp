// Writes the firmware images of a table (see Firmware.tsv) into a folder:
//   FirmwareTool <table> <output folder>
// Each image is a 728-byte header with the fields the program reads (minor version at 16, major
// at 17..19, kind at 20, CID at 21, MID at 22, model name at 87..150) and a body of a fixed pattern,
// which only the device library looks at.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t HeaderSize = 728;
// The size of a real image: written at a boot loader's pace it takes a few seconds, as on a device.
constexpr std::size_t BodySize = 65536;

bool WriteImage(const std::string& path, int kind, int cid, int mid, unsigned long major, int minor, const std::string& name)
{
    std::vector<uint8_t> image(HeaderSize + BodySize, 0);
    for (std::size_t i = HeaderSize; i < image.size(); ++i)
        image[i] = uint8_t((i * 31 + 7) & 0xFF);
    image[16] = uint8_t(minor);
    image[17] = uint8_t(major);
    image[18] = uint8_t(major >> 8);
    image[19] = uint8_t(major >> 16);
    image[20] = uint8_t(kind);
    image[21] = uint8_t(cid);
    image[22] = uint8_t(mid);
    for (std::size_t i = 0; i < name.size() && i < 64; ++i)
        image[87 + i] = uint8_t(name[i]);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    return bool(out.flush());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: FirmwareTool <table> <output folder>\n");
        return 2;
    }
    std::ifstream table(argv[1]);
    if (!table) {
        std::fprintf(stderr, "FirmwareTool: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string line;
    int row = 0;
    while (std::getline(table, line)) {
        ++row;
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        std::istringstream fields(line);
        std::string file, kind, cid, mid, major, minor, name;
        if (!std::getline(fields, file, '\t') || !std::getline(fields, kind, '\t') || !std::getline(fields, cid, '\t')
            || !std::getline(fields, mid, '\t') || !std::getline(fields, major, '\t')
            || !std::getline(fields, minor, '\t') || !std::getline(fields, name)) {
            std::fprintf(stderr, "FirmwareTool: row %d has not seven fields\n", row);
            return 1;
        }
        const std::string path = std::string(argv[2]) + "/" + file;
        if (!WriteImage(path, std::stoi(kind, nullptr, 0), std::stoi(cid, nullptr, 0), std::stoi(mid, nullptr, 0),
                        std::stoul(major, nullptr, 0), std::stoi(minor, nullptr, 0), name)) {
            std::fprintf(stderr, "FirmwareTool: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
