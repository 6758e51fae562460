#pragma once
#include "device/FlashDataMap.h"

// Puts into a record's settings bytes values the program's controls can set, so that a record made
// of a byte pattern reads as one a device of the shipped models could hold and export: 1000 Hz,
// 1 mm lift-off, debounce index 8, sleep after 60 s, the three switches off, and DPI levels of
// 400, 800, .. 3200 (codes 7, 15, .. 63 without range flags; colours kept). Every other byte stays as it was.
inline FlashDataMap FittingRecord(FlashDataMap record)
{
    record.reportRate = 1;
    record.liftOffDistance = 1;
    record.debounceTime = 8;
    record.sleepTime = 6;
    record.motionSync = 0;
    record.straightLine = 0;
    record.rippleControl = 0;
    for (int level = 0; level < DpiLevelCount; ++level) {
        DpiLevelEntry& entry = record.dpiLevels[level];
        entry.codeX = entry.codeY = uint8_t(8 * (level + 1) - 1);
        entry.flags = 0;
    }
    return record;
}
