#pragma once
#include "pages/macro/Macro.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

// The home of a test program of pages and their dialogs: the per-user folders and the shipped text
// tables, made once, and the state every case starts from: English texts and no macro recording.
class PageTestHome : public TestHome
{
public:
    // For initTestCase.
    void Start() const
    {
        MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    // For init.
    static void Reset()
    {
        UiLanguage = 0;
        MacroRecording = false;
    }
};
