#include "platform/TraceLog.h"

// Debug lines are below the default level: they show only when a logging rule asks for them.
Q_LOGGING_CATEGORY(kestroTrace, "kestro.trace", QtInfoMsg)
