#pragma once

// The eleven sleep times a sleep-time slider or list offers, from 10 seconds to 40 minutes, with the
// device code of each (record byte 8, in tens of seconds). Rows are 0..10; a slider's position is
// the row + 1.
struct SleepTimeRow
{
    int shown;    // the number shown beside the unit
    bool minutes; // false: seconds
    int code;     // tens of seconds
};

constexpr int SleepTimeRowCount = 11;
extern const SleepTimeRow SleepTimeCodes[SleepTimeRowCount];

// The device code of a row, -1 outside 0..10.
int SleepTimeCode(int row);
// The number shown for a slider position 1..11; 0 outside.
int SleepDisplayNumber(int position);
// Whether a slider position 1..11 shows minutes (positions 3 and up) rather than seconds.
bool SleepDisplayInMinutes(int position);
