#include "device/DeliveryMarkedApplication.h"

// GCC names a ThreadSanitizer build with __SANITIZE_THREAD__, clang only through __has_feature.
#if defined(__SANITIZE_THREAD__)
#define KESTRO_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KESTRO_THREAD_SANITIZER 1
#endif
#endif

#if defined(KESTRO_THREAD_SANITIZER)
#include <QtCore/private/qobject_p.h>
#include <sanitizer/tsan_interface.h>

namespace {
char token;

void SignalBegins(QObject*, int, void**) { DeliveryMarks::Publish(); }
void SignalEnds(QObject*, int) { DeliveryMarks::Consume(); }
void SlotBegins(QObject*, int, void**) { DeliveryMarks::Consume(); }
void SlotEnds(QObject*, int) { DeliveryMarks::Publish(); }
}

namespace DeliveryMarks {
void Publish() { __tsan_release(&token); }
void Consume() { __tsan_acquire(&token); }
void Install()
{
    // Called by Qt on the emitting thread once the arguments are in place, and again after the
    // emit returned (after the wait of a blocking delivery).
    static QSignalSpyCallbackSet callbacks = {SignalBegins, SlotBegins, SignalEnds, SlotEnds};
    qt_register_signal_spy_callbacks(&callbacks);
}
} // namespace DeliveryMarks
#else
namespace DeliveryMarks {
void Publish() {}
void Consume() {}
void Install() {}
} // namespace DeliveryMarks
#endif
