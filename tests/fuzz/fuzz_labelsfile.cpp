// The labels file "Net.xml": the company names and web addresses of the about box.
#include "FuzzSupport.h"
#include "widgets/UiTextTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QString path = FuzzSupport::ProgramFolder() + "/Net.xml";
    FuzzSupport::WriteInput(path, data, size);
    UiTextTables* tables = UiTextTables::Instance();
    tables->CompanyInfoList.clear();
    tables->LabelsError.clear();
    tables->LoadLabelsFile(path);
    // The about box reads the first entry's texts by position, and an entry may lack some of them.
    if (!tables->CompanyInfoList.isEmpty()) {
        const QStringList company = tables->CompanyInfoList.first();
        for (int index = 0; index < 4; ++index)
            company.value(index);
    }
    return 0;
}
