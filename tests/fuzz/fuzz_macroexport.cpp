// A macro export file as the macro page's import reads it.
#include "FuzzSupport.h"
#include "pages/macro/Macro.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Macro::ExportContent content = Macro::ReadExportStream(buffer);
    // The repeat mode becomes a macro file's first line as it stands: one field, no line end.
    if (content.repeatLine.isEmpty() || content.repeatLine.contains(QLatin1Char('\n'))
        || content.repeatLine.contains(QLatin1Char('\r')) || content.repeatLine.contains(QLatin1Char(' ')))
        std::abort();
    // Each item took bytes of the stream: what is read never outgrows what was given.
    if (qint64(content.items.size()) * 4 > qint64(size))
        std::abort();
    return 0;
}
