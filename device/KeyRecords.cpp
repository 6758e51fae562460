#include "device/KeyRecords.h"

#include "device/KeyNames.h"

namespace KeyRecords {

namespace {

constexpr int EventRoom = int(sizeof(ButtonKeyRecord::events) / sizeof(KeyEvent));

const std::array<MultimediaKey, 18> Keys = {{
    {0x83, 0x0183, "Player"},        // media player
    {0xCD, 0x00CD, "StartPause_2"},  // play/pause
    {0xB5, 0x00B5, "BackMusic_2"},   // next track
    {0xB6, 0x00B6, "TopMusic_2"},    // previous track
    {0xB7, 0x00B7, "Mute"},          // stop
    {0xE2, 0x00E2, "VolumeUp"},      // mute
    {0xE9, 0x00E9, "VolumeDown"},    // volume up
    {0xEA, 0x00EA, "VolumeDown_4"},  // volume down
    {0x8A, 0x018A, "VolumeDown_5"},  // mail
    {0x92, 0x0192, "VolumeDown_6"},  // calculator
    {0x94, 0x0194, "VolumeDown_3"},  // my computer
    {0x23, 0x0223, "VolumeDown_8"},  // browser home
    {0x21, 0x0221, "VolumeDown_9"},  // browser search
    {0x25, 0x0225, "VolumeDown_7"},  // browser forward
    {0x24, 0x0224, "VolumeDown_10"}, // browser back
    {0x26, 0x0226, "VolumeDown_12"}, // browser stop
    {0x27, 0x0227, "VolumeDown_13"}, // browser refresh
    {0x2A, 0x022A, "VolumeDown_11"}, // browser favorites
}};

} // namespace

QStringList SplitKeyString(const QString& keys)
{
    const QStringList split = keys.split(QLatin1Char('+'), Qt::KeepEmptyParts);
    QStringList parts;
    for (int i = 0; i < split.size(); ++i) {
        if (split.at(i) == QLatin1String("Num") && i + 1 < split.size() && split.at(i + 1).isEmpty()) {
            parts << QStringLiteral("Num+");
            ++i;
        } else {
            parts << split.at(i);
        }
    }
    return parts;
}

bool KeyStringToRecord(const QString& keys, ButtonKeyRecord& record)
{
    const QStringList parts = SplitKeyString(keys);
    const int n = parts.size();
    if (n > MaxComboKeys)
        return false;
    ButtonKeyRecord built{};
    for (int k = 0; k < n; ++k)
        built = ComboNameToEvents(built, parts.at(k), k, n);
    built.eventCount = uint8_t(2 * n);
    record = built;
    return true;
}

ButtonKeyRecord ComboNameToEvents(ButtonKeyRecord record, const QString& name, int k, int n)
{
    if (n < 1 || 2 * n > EventRoom || k < 0 || k >= n)
        return record;
    KeyEvent& press = record.events[k];
    KeyEvent& release = record.events[2 * n - 1 - k];
    press.action = 0;
    press.delay = EventDelayMs;
    release.action = 1;
    release.delay = EventDelayMs;
    const KeyNames::Key key = KeyNames::ComboNameToKey(name);
    press.kind = key.kind;
    release.kind = key.kind;
    if (key.known) {
        press.usage = key.usage;
        release.usage = key.usage;
    }
    return record;
}

ButtonKeyRecord ConsumerKeyRecord(uint8_t high, uint8_t low)
{
    ButtonKeyRecord record{};
    const uint16_t usage = uint16_t((high << 8) | low);
    record.eventCount = 2;
    record.events[0] = KeyEvent{0, KeyNames::KindConsumer, usage, EventDelayMs};
    record.events[1] = KeyEvent{1, KeyNames::KindConsumer, usage, EventDelayMs};
    return record;
}

const std::array<MultimediaKey, 18>& MultimediaKeys()
{
    return Keys;
}

const MultimediaKey* FindMultimediaKey(int code)
{
    for (const MultimediaKey& key : Keys) {
        if (key.code == code)
            return &key;
    }
    return nullptr;
}

bool MultimediaKeyRecord(int code, ButtonKeyRecord& record)
{
    const MultimediaKey* key = FindMultimediaKey(code);
    if (!key)
        return false;
    record = ConsumerKeyRecord(uint8_t(key->usage >> 8), uint8_t(key->usage & 0xFF));
    return true;
}

} // namespace KeyRecords
