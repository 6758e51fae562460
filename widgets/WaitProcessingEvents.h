#pragma once

// Waits the given milliseconds on the calling thread while its events keep being handled, so that
// a thread waiting on this one in a blocking emit can finish meanwhile. The wait is measured with a
// monotonic timer: it ends after that time whatever the clock of the day does (midnight, clock
// changes). Zero or less handles the events already waiting and returns. Without an application
// object it only sleeps.
void WaitProcessingEvents(int milliseconds);
