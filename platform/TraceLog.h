#pragma once

#include <QLoggingCategory>

// The program's trace lines: off unless the user turns them on, for example with
// QT_LOGGING_RULES="kestro.trace.debug=true", so that a normal session prints nothing.
Q_DECLARE_LOGGING_CATEGORY(kestroTrace)
