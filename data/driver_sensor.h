/*
 * Sensor features of the supported models, read by the sensor and button pages.
 * A switch names the sensor models that offer the feature, separated by commas.
 * The pages read this file line by line: keep one space after each #define,
 * a tab before each value, and no comment on a define line.
 * Neither sensor carries a DPI code table: both code DPI values by formula,
 * in the single range that DPIRange of Config.ini gives each model.
 */

#define SUPPORT_SENSOR_MODE_SEL	3395,3950
#define SUPPORT_LOD_CAL	3395,3950
#define SUPPORT_RIPPLE	3395,3950
#define SUPPORT_FIXLINE	3395,3950
#define SUPPORT_MOTION_SYNC	3395,3950
#define SUPPORT_MOUSEPAD_CAL	3950

#define SENSOR_3395_MIN_DPI	50
#define SENSOR_3395_MAX_DPI	26000
#define SENSOR_3950_MIN_DPI	50
#define SENSOR_3950_MAX_DPI	30000
