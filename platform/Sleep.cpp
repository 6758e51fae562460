#include "platform/Sleep.h"

#include <chrono>
#include <thread>

void Sleep(unsigned long milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
