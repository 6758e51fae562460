#include "platform/hidusb/DeviceDescription.h"

#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using Group = std::map<std::string, std::string>;

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Plain ini text: [group], key=value, lines starting with ';' or '#' are comments.
bool ReadIni(const std::string& file, std::map<std::string, Group>& groups, std::string& error)
{
    if (!IsRegularFile(QString::fromStdString(file))) {
        error = "not a regular file: " + file;
        return false;
    }
    std::ifstream in(file);
    if (!in) {
        error = "cannot open " + file;
        return false;
    }
    std::string line;
    std::string current;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '#')
            continue;
        if (text.front() == '[' && text.back() == ']') {
            current = Trim(text.substr(1, text.size() - 2));
            groups[current];
            continue;
        }
        const auto equals = text.find('=');
        if (equals == std::string::npos || current.empty()) {
            error = file + ":" + std::to_string(number) + ": not a key=value line in a group";
            return false;
        }
        groups[current][Trim(text.substr(0, equals))] = Trim(text.substr(equals + 1));
    }
    return true;
}

// Decimal, or hexadecimal with 0x.
bool ParseNumber(const std::string& text, long& value)
{
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    char* end = nullptr;
    errno = 0;
    value = std::strtol(t.c_str(), &end, hex ? 16 : 10);
    return errno == 0 && end && *end == '\0';
}

class GroupReader
{
public:
    GroupReader(const std::string& name, const Group& group, std::string& error) : name(name), group(group), error(error) {}

    bool Has(const char* key) const { return group.count(key) != 0; }
    std::string Text(const char* key, const std::string& fallback = std::string()) const
    {
        const auto it = group.find(key);
        return it == group.end() ? fallback : it->second;
    }
    long Number(const char* key, long fallback, long low, long high)
    {
        const auto it = group.find(key);
        if (it == group.end())
            return fallback;
        long value = 0;
        if (!ParseNumber(it->second, value) || value < low || value > high) {
            Fail(std::string(key) + " must be a number from " + std::to_string(low) + " to " + std::to_string(high));
            return fallback;
        }
        return value;
    }
    bool Flag(const char* key, bool fallback)
    {
        const std::string value = Text(key);
        if (value.empty())
            return fallback;
        if (value == "true" || value == "1" || value == "yes")
            return true;
        if (value == "false" || value == "0" || value == "no")
            return false;
        Fail(std::string(key) + " must be true or false");
        return fallback;
    }
    // A comma list of bytes; an absent key leaves out as it is.
    template <size_t N>
    void Bytes(const char* key, std::array<uint8_t, N>& out, size_t atLeast = N)
    {
        if (!Has(key))
            return;
        std::vector<uint8_t> values;
        std::stringstream list(Text(key));
        std::string item;
        while (std::getline(list, item, ',')) {
            long value = 0;
            if (!ParseNumber(item, value) || value < -128 || value > 255) {
                Fail(std::string(key) + " holds a value that is not a byte");
                return;
            }
            values.push_back(uint8_t(value));
        }
        if (values.size() < atLeast || values.size() > N) {
            Fail(std::string(key) + " needs " + std::to_string(atLeast) + " to " + std::to_string(N) + " values");
            return;
        }
        std::copy(values.begin(), values.end(), out.begin());
    }
    void Fail(const std::string& what)
    {
        if (error.empty())
            error = "[" + name + "] " + what;
    }

private:
    std::string name;
    const Group& group;
    std::string& error;
};

// Keys of a model group that set one byte of the default record.
struct FieldKey {
    const char* key;
    int offset;
    long low;
    long high;
};

const FieldKey RecordFields[] = {
    {"ReportRate", 0x00, 0, 255},    {"DpiLevels", 0x01, 1, 8},       {"CurrentDpiLevel", 0x02, 0, 7},
    {"Fps20K", 0x04, 0, 1},          {"LiftOff", 0x05, 0, 255},       {"Debounce", 0x06, 0, 15},
    {"MotionSync", 0x07, 0, 1},      {"SleepTime", 0x08, 0, 255},     {"AngleSnapping", 0x09, 0, 1},
    {"Ripple", 0x0A, 0, 1},          {"MovingLightOff", 0x0B, 0, 1},  {"PerformanceMode", 0x0C, 0, 1},
    {"PerformanceTime", 0x0D, 0, 255}, {"SensorMode", 0x0E, 0, 255},  {"SensorAngle", 0x0F, -30, 30},
};

void ReadModel(GroupReader& group, ModelEntry& model)
{
    using namespace RecordLayout;
    model.name = group.Text("Name");
    model.sensor = group.Text("Sensor");
    model.mid = uint8_t(group.Number("MID", 0, 0, 255));
    Record& record = model.defaults;
    record.fill(0);
    for (const FieldKey& field : RecordFields)
        record[field.offset] = uint8_t(group.Number(field.key, 0, field.low, field.high));
    if (group.Has("SensorAngle"))
        record[0x10] = 1; // the angle is valid once written
    for (int level = 0; level < DpiLevels; ++level) {
        // code, flags, red, green, blue; the code stands in bytes 0 and 1
        std::array<uint8_t, 5> entry{};
        group.Bytes(("Dpi" + std::to_string(level + 1)).c_str(), entry);
        uint8_t* out = record.data() + DpiEntries + level * DpiEntrySize;
        out[0] = out[1] = entry[0];
        out[2] = entry[1];
        out[3] = entry[2];
        out[4] = entry[3];
        out[5] = entry[4];
    }
    std::array<uint8_t, 4> dpiLed{};
    group.Bytes("DpiLight", dpiLed);
    std::copy(dpiLed.begin(), dpiLed.end(), record.begin() + DpiLed);
    std::array<uint8_t, 7> light{};
    group.Bytes("MouseLight", light);
    std::copy(light.begin(), light.end(), record.begin() + MouseLight);
    for (int button = 0; button < ButtonSlots; ++button) {
        std::array<uint8_t, 3> function{};
        group.Bytes(("Button" + std::to_string(button + 1)).c_str(), function);
        std::copy(function.begin(), function.end(), record.begin() + Buttons + button * 3);
    }
}

// The groups "<prefix> 1", "<prefix> 2", ... up to the first missing number.
std::vector<std::pair<std::string, const Group*>> Numbered(const std::map<std::string, Group>& groups, const std::string& prefix)
{
    std::vector<std::pair<std::string, const Group*>> found;
    for (int n = 1;; ++n) {
        const std::string name = prefix + " " + std::to_string(n);
        const auto it = groups.find(name);
        if (it == groups.end())
            break;
        found.emplace_back(name, &it->second);
    }
    return found;
}

} // namespace

bool DeviceDescription::Load(const std::string& file)
{
    models.clear();
    mice.clear();
    devices.clear();
    error.clear();
    std::map<std::string, Group> groups;
    if (!ReadIni(file, groups, error))
        return false;

    for (const auto& [name, group] : Numbered(groups, "Model")) {
        GroupReader reader(name, *group, error);
        ModelEntry model;
        ReadModel(reader, model);
        models.push_back(model);
    }
    for (const auto& [name, group] : Numbered(groups, "Mouse")) {
        GroupReader reader(name, *group, error);
        MouseEntry mouse;
        mouse.model = int(reader.Number("Model", 0, 1, long(models.size()))) - 1;
        mouse.firmware = uint16_t(reader.Number("Firmware", 0x0100, 0, 0xFFFF));
        mouse.battery = int(reader.Number("Battery", 100, 0, 100));
        mouse.charging = reader.Flag("Charging", false);
        if (mouse.model < 0)
            reader.Fail("Model must name a [Model n] group");
        mice.push_back(mouse);
    }
    for (const auto& [name, group] : Numbered(groups, "Device")) {
        GroupReader reader(name, *group, error);
        DeviceEntry device;
        const std::string kind = reader.Text("Kind");
        if (kind == "receiver")
            device.kind = DeviceKind::Receiver;
        else if (kind == "cable")
            device.kind = DeviceKind::Cable;
        else
            reader.Fail("Kind must be receiver or cable");
        device.name = reader.Text("Name");
        device.vid = uint16_t(reader.Number("VID", 0, 0, 0xFFFF));
        device.pid = uint16_t(reader.Number("PID", 0, 0, 0xFFFF));
        device.bootPid = uint16_t(reader.Number("BootPID", 0, 0, 0xFFFF));
        device.cid = uint8_t(reader.Number("CID", 0, 0, 255));
        device.status = uint8_t(reader.Number("Status", device.kind == DeviceKind::Receiver ? 1 : 2, 0, 255));
        device.mouse = int(reader.Number("Mouse", 0, 1, long(mice.size()))) - 1;
        const long modelMid = device.mouse >= 0 && mice[device.mouse].model >= 0 ? models[mice[device.mouse].model].mid : 0;
        device.mid = uint8_t(reader.Number("MID", modelMid, 0, 255));
        device.usbVersion = uint16_t(reader.Number("UsbVersion", 0x0100, 0, 0xFFFF));
        device.receiverFirmware = uint16_t(reader.Number("ReceiverFirmware", device.usbVersion, 0, 0xFFFF));
        reader.Bytes("Address", device.address);
        device.attachedAtStart = reader.Flag("AttachedAtStart", false);
        device.mouseOnlineAtStart = reader.Flag("MouseOnlineAtStart", true);
        reader.Bytes("Indicator", device.indicator, 1);
        reader.Bytes("LightBar", device.lightBar);
        reader.Bytes("IndicatorLeds", device.indicatorLeds);
        device.longRange = uint8_t(reader.Number("LongRange", 0, 0, 1));
        if (device.mouse < 0)
            reader.Fail("Mouse must name a [Mouse n] group");
        if (device.bootPid == 0 || device.bootPid == device.pid)
            reader.Fail("BootPID must be given and differ from PID");
        devices.push_back(device);
    }
    if (!error.empty()) {
        models.clear();
        mice.clear();
        devices.clear();
        return false;
    }
    return true;
}

std::string DeviceDescription::DefaultFile()
{
    // The library lies in the program folder; a test program elsewhere still finds the program's file.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DeviceDescription::DefaultFile), &info) && info.dli_fname) {
        std::string library = info.dli_fname;
        const auto slash = library.rfind('/');
        if (slash != std::string::npos)
            return library.substr(0, slash) + "/simulated/devices.ini";
    }
    return (AppPaths::ProgramFolder() + QStringLiteral("/simulated/devices.ini")).toStdString();
}
