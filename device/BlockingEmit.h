#pragma once

// Emits a signal whose receivers are connected with Qt::BlockingQueuedConnection from a device
// thread: the thread waits until the GUI thread has run every slot with the emitter's own argument.
// Qt's wait is invisible to ThreadSanitizer, which takes the later reuse of that argument's stack
// slot for a race; its suppressions name this function to keep exactly these hand-overs quiet.
template <typename Emit>
void EmitBlocking(Emit emitSignal)
{
    emitSignal();
}
