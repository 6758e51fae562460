#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <QWidget>
#include <QtTest>

#include <cstring>

// What the button page's tests share: the key record a multimedia key must reach the mouse as, and
// the pictures of the page that KESTRO_BUTTON_SHOTS asks for.
namespace ButtonPageSupport {

// Press and release of one consumer usage, 10 ms each, the rest zero.
inline ButtonKeyRecord ConsumerBytes(uint16_t usage)
{
    ButtonKeyRecord record{};
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&record);
    bytes[0] = 2;
    const uint8_t events[2][8] = {{0, 2, uint8_t(usage & 0xFF), uint8_t(usage >> 8), 10, 0, 0, 0},
                                  {1, 2, uint8_t(usage & 0xFF), uint8_t(usage >> 8), 10, 0, 0, 0}};
    std::memcpy(bytes + 4, events, sizeof events);
    return record;
}

// The rows of a picture test: one per language.
inline void LanguageRows()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Chinese") << 1;
    QTest::newRow("Russian") << 2;
}

// The folder KESTRO_BUTTON_SHOTS names; empty when no pictures are asked for.
inline QString ShotFolder()
{
    return qEnvironmentVariable("KESTRO_BUTTON_SHOTS");
}

// The device window's dark ground that the page is drawn on.
inline void MakeGround(QWidget& ground)
{
    ground.setObjectName("ground");
    ground.setStyleSheet("QWidget#ground{background: rgb(24, 27, 33);}");
}

} // namespace ButtonPageSupport
