#ifndef SENSOR_H
#define SENSOR_H
#define SENSOR_TB_DPI_400	0x04
#define SENSOR_TB_DPI_800	0x08
#define SENSOR_TB_DPI_1600	16
#define SENSOR_TB_DPI_X	-1
#endif
