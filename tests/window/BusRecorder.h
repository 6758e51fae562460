#pragma once
#include "device/FlashDataMap.h"
#include "device/PostMsg.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

// Writes down, in order, the bus signals the frame and its wait dialog send, as short texts such
// as "SigMouseOffLineo(1)"; the records they carry are kept byte for byte.
class BusRecorder : public QObject
{
public:
    QStringList events;
    QList<QByteArray> records; // one per record signal, in order

    BusRecorder()
    {
        PostMsg* bus = PostMsg::Instance();
        const auto note = [this](const QString& event) { events << event; };
        connect(bus, &PostMsg::SigSetver, this, [note](int index) { note(QStringLiteral("SigSetver(%1)").arg(index)); });
        connect(bus, &PostMsg::SigMouseOffLineo, this,
                [note](int index) { note(QStringLiteral("SigMouseOffLineo(%1)").arg(index)); });
        connect(bus, &PostMsg::SigFormB, this, [note] { note(QStringLiteral("SigFormB()")); });
        connect(bus, &PostMsg::SigChangeMainDialog, this,
                [note](int index) { note(QStringLiteral("SigChangeMainDialog(%1)").arg(index)); });
        connect(bus, &PostMsg::SigChangeSize, this, [note](int index) { note(QStringLiteral("SigChangeSize(%1)").arg(index)); });
        connect(bus, &PostMsg::SigSetMacroPage, this, [note] { note(QStringLiteral("SigSetMacroPage()")); });
        connect(bus, &PostMsg::SigAddMacroButton, this, [note] { note(QStringLiteral("SigAddMacroButton()")); });
        connect(bus, &PostMsg::SigtVis, this, [note](int index) { note(QStringLiteral("SigtVis(%1)").arg(index)); });
        const auto record = [this, note](const char* name) {
            return [this, note, name](FlashDataMap data) {
                note(QLatin1String(name));
                records << QByteArray(reinterpret_cast<const char*>(data.bytes()), int(sizeof data));
            };
        };
        connect(bus, &PostMsg::SigUpDataLightUIA, this, record("SigUpDataLightUIA"));
        connect(bus, &PostMsg::SigUpDataSensorUIB, this, record("SigUpDataSensorUIB"));
        connect(bus, &PostMsg::SigUpDataButtonUIC, this, record("SigUpDataButtonUIC"));
    }

    void Clear()
    {
        events.clear();
        records.clear();
    }
};
