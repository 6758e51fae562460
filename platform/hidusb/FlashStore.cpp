#include "platform/hidusb/FlashStore.h"

#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr char Magic[4] = {'K', 'S', 'F', 'L'};
constexpr uint32_t FormatVersion = 1;
constexpr size_t MaxPayload = 1u << 20;

uint32_t Crc32(const uint8_t* data, size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

bool FlashStore::Read(const std::string& name, uint32_t identity, std::vector<uint8_t>& payload) const
{
    if (folder.empty())
        return false;
    const std::string path = folder + "/" + name;
    if (!IsRegularFile(QString::fromStdString(path)))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < HeadSize + 4 || std::memcmp(file.data(), Magic, 4) != 0)
        return false;
    const uint32_t length = GetU32(file.data() + 12);
    if (GetU32(file.data() + 4) != FormatVersion || GetU32(file.data() + 8) != identity || length > MaxPayload
        || file.size() != HeadSize + length + 4)
        return false;
    if (Crc32(file.data(), HeadSize + length) != GetU32(file.data() + HeadSize + length))
        return false;
    payload.assign(file.begin() + HeadSize, file.begin() + HeadSize + length);
    return true;
}

bool FlashStore::Seal(std::vector<uint8_t>& file)
{
    if (file.size() < HeadSize + 4)
        return false;
    const uint32_t crc = Crc32(file.data(), file.size() - 4);
    for (int i = 0; i < 4; ++i)
        file[file.size() - 4 + size_t(i)] = uint8_t(crc >> (8 * i));
    return true;
}

bool FlashStore::Write(const std::string& name, uint32_t identity, const std::vector<uint8_t>& payload) const
{
    if (folder.empty())
        return false;
    std::vector<uint8_t> file(Magic, Magic + 4);
    PutU32(file, FormatVersion);
    PutU32(file, identity);
    PutU32(file, uint32_t(payload.size()));
    file.insert(file.end(), payload.begin(), payload.end());
    PutU32(file, Crc32(file.data(), file.size()));

    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string target = folder + "/" + name;
    const std::string temporary = target + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::string FlashStore::DefaultFolder()
{
    return (AppPaths::UserDataFolder() + QStringLiteral("/Device_Flash")).toStdString();
}
