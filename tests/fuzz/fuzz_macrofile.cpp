// The macro files of the per-user macro folder, read into a button's macro block, and the macro
// names that become their paths.
#include "FuzzSupport.h"
#include "device/DeviceState.h"
#include "device/KeyNames.h"
#include "device/MacroBlocks.h"

#include <QFileInfo>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    static const bool ready = [] {
        QDir().mkpath(MacroBlocks::MacroFolder());
        UserWritesEnabled = true;
        return true;
    }();
    (void)ready;
    // Half the inputs with the mouse buttons named as the macro page names them, one name equal to a key.
    if (size % 2)
        KeyNames::MouseButtonNames = {QStringLiteral("Left"), QStringLiteral("F1"), QStringLiteral("Middle"),
                                      QString(), QStringLiteral("Forward")};
    else
        KeyNames::MouseButtonNames = {};

    FuzzSupport::WriteInput(MacroBlocks::MacroFolder() + QStringLiteral("/Fuzz.ini"), data, size);
    bool ok = false;
    const ButtonMacroBlock block = MacroBlocks::MacroFileToRecord(QStringLiteral("Fuzz"), &ok);
    if (!ok || block.nameLength != 4 || block.eventCount < 1 || block.eventCount > MacroBlocks::EventRoom)
        std::abort();
    for (const MacroEvent& event : block.events) {
        if (event.action > 1 || (event.kind != 0 && event.kind != 1 && event.kind != 4) || event.reserved != 0)
            std::abort();
    }
    MacroBlocks::RepeatModeByte(MacroBlocks::ReadMacroRepeatMode(QStringLiteral("Fuzz")));

    // The input as a macro name: a name that passes keeps its file inside the macro folder.
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    if (MacroBlocks::IsSafeMacroName(name)) {
        const QString path = MacroBlocks::MacroFilePath(name);
        if (path.isEmpty() || QFileInfo(QDir::cleanPath(path)).path() != QDir::cleanPath(MacroBlocks::MacroFolder()))
            std::abort();
    }
    if (MacroBlocks::MacroNameBytes(name).size() > MacroBlocks::NameRoom)
        std::abort();
    // The input as a block's name bytes.
    ButtonMacroBlock named{};
    std::memcpy(&named, data, size < sizeof named ? size : sizeof named);
    MacroBlocks::MacroNameOfBlock(named);
    return 0;
}
