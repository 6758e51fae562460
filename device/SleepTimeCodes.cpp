#include "device/SleepTimeCodes.h"

const SleepTimeRow SleepTimeCodes[SleepTimeRowCount] = {
    {10, false, 1},  {30, false, 3},  {1, true, 6},    {5, true, 30},   {10, true, 60},  {15, true, 90},
    {20, true, 120}, {25, true, 150}, {30, true, 180}, {35, true, 210}, {40, true, 240},
};

int SleepTimeCode(int row)
{
    return row >= 0 && row < SleepTimeRowCount ? SleepTimeCodes[row].code : -1;
}

int SleepDisplayNumber(int position)
{
    return position >= 1 && position <= SleepTimeRowCount ? SleepTimeCodes[position - 1].shown : 0;
}

bool SleepDisplayInMinutes(int position)
{
    return position >= 1 && position <= SleepTimeRowCount && SleepTimeCodes[position - 1].minutes;
}
