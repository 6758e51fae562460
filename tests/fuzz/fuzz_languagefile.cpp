// A language file (en.json, zh-CN.json, ru.json) as the start-up reads it into the UI text tables.
#include "FuzzSupport.h"
#include "widgets/UiTextTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QString path = FuzzSupport::ProgramFolder() + "/en.json";
    FuzzSupport::WriteInput(path, data, size);
    UiTextTables* tables = UiTextTables::Instance();
    // The section and the mouse flag carry over from input to input, as they do from file to file;
    // the tables do not, or a long run would only measure their growth.
    tables->working = UiLanguageTables();
    tables->LoadLanguageFile(path);
    return 0;
}
