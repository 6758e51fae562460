#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The flash of the simulated devices: one file per mouse or device in a folder, so that settings
// survive a restart of the program like those of a real mouse. A file is always written whole to a
// temporary name and then renamed over the old one; a missing, foreign or damaged file reads as absent.
class FlashStore
{
public:
    FlashStore() = default;
    explicit FlashStore(std::string folder) : folder(std::move(folder)) {}

    // identity ties a file to what wrote it (kind of unit and its ids); another identity reads as absent.
    bool Read(const std::string& name, uint32_t identity, std::vector<uint8_t>& payload) const;
    bool Write(const std::string& name, uint32_t identity, const std::vector<uint8_t>& payload) const;

    // Puts the right check sum at the end of a whole file whose head and contents were laid out by hand,
    // as a file written by Write; false when it is too short to hold a head and a check sum.
    static bool Seal(std::vector<uint8_t>& file);
    static constexpr size_t HeadSize = 16; // magic, format, identity, contents length

    const std::string& Folder() const { return folder; }
    // "Device_Flash" in the per-user data folder.
    static std::string DefaultFolder();

private:
    std::string folder;
};
