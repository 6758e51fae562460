#pragma once
#include "FuzzSupport.h"

#include <QApplication>

namespace FuzzSupport {

// For targets that feed pages: a widget application on the offscreen platform, a temporary HOME with
// the per-user folders the program makes at start, and the build's laid-out program folder, whose
// model list, pictures and language files the pages read.
inline void SetupPages()
{
    StartOnce<QApplication>(QStringLiteral(KESTRO_FUZZ_PROGRAM_DIR),
                            {"/usersetting/MainPage", "/usersetting/MacroPage", "/usersetting/SensorPage"});
}

} // namespace FuzzSupport
