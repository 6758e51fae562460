#pragma once

// The device side hands records to the pages over blocking queued connections: the emitting thread
// waits until the GUI thread has run every slot. Qt's wait is invisible to ThreadSanitizer, which
// then takes the reuse of the emitter's argument for a race. Under ThreadSanitizer a fence through
// the GUI thread's event queue makes that order visible; otherwise it costs nothing.
void BlockingEmitFence();

template <typename Emit>
void EmitBlocking(Emit emitSignal)
{
    emitSignal();
    BlockingEmitFence();
}
