/*
 * The device library: every exchange with the mouse and its receiver goes through these calls.
 *
 * Conventions that hold for every call:
 * - `path` is a NUL-terminated narrow HID path as returned by the find calls. The library copies
 *   what it needs; the caller keeps ownership of the text.
 * - Calls never call back inside themselves. Reports, attach/detach notices and upgrade events
 *   arrive later on the library's own threads.
 * - The library holds none of its own locks while a callback runs, so a callback may call back
 *   into the library and may wait for another thread. UsbServer_Exit and StopUsbChanged never
 *   wait for a callback that is running.
 * - Byte results: non-zero means yes / accepted / done.
 */
#ifndef HIDUSB_H
#define HIDUSB_H

#include <stdint.h>

#if defined(HIDUSB_BUILDING)
#define HIDUSB_API __attribute__((visibility("default")))
#else
#define HIDUSB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes of the records exchanged with the library. */
enum {
    HIDUSB_FLASH_RECORD_SIZE = 10448, /* the whole parameter record (FlashDataMap) */
    HIDUSB_RAW_IMAGE_SIZE = 6912,     /* a whole-image report, the library's own format */
    HIDUSB_REPORT_HEADER_SIZE = 5,    /* byte 1 code, byte 3 status, byte 4 item */
    HIDUSB_DEVICE_INFO_SIZE = 3,      /* CID, MID, status */
    HIDUSB_USB_ATTRIBUTE_SIZE = 12,   /* 32-bit size, 16-bit vendor, product and version */
    HIDUSB_USB_ADDRESS_STATUS_SIZE = 16, /* byte 6 online, bytes 7..9 receiver address */
    HIDUSB_BATTERY_STATUS_SIZE = 4,   /* byte 0 level, byte 1 charging */
    HIDUSB_STATUS_CHANGE_SIZE = 7,    /* one flag byte per kind of change */
    HIDUSB_DONGLE_RGB_SIZE = 10,      /* receiver indicator record, byte 0 = meaning */
    HIDUSB_DONGLE_RGB_BAR_SIZE = 7,   /* receiver light bar: mode, r, g, b, speed, brightness, on */
    HIDUSB_DONGLE_INDICATOR_LED_SIZE = 3, /* receiver indicator LEDs: one mode per LED */
    HIDUSB_UPGRADE_EVENT_SIZE = 3,    /* byte 0 type (7), byte 1 sub-code, byte 2 value */
    HIDUSB_MAX_PATHS = 8              /* most paths a find call returns */
};

/* Report codes that the report callback receives in header byte 1. */
enum {
    HIDUSB_REPORT_BATTERY = 4,
    HIDUSB_REPORT_PAIR_STATUS = 6,
    HIDUSB_REPORT_PARAMETER = 8,
    HIDUSB_REPORT_DEFAULTS_RESTORED = 9,
    HIDUSB_REPORT_STATUS_CHANGE = 10,
    HIDUSB_REPORT_PROFILE = 14,
    HIDUSB_REPORT_VERSION = 18,
    HIDUSB_REPORT_RECEIVER_INDICATOR = 21,
    HIDUSB_REPORT_LONG_RANGE_OFF = 23
};

/* Parameter reply items (header byte 4 of a code 8 report). */
enum {
    HIDUSB_ITEM_IMAGE_OR_RATE = 0,  /* 6,912 bytes: whole image; 1 byte: report rate */
    HIDUSB_ITEM_CURRENT_DPI = 4,    /* 1 byte */
    HIDUSB_ITEM_DPI_LED = 0x4C,     /* 8 bytes */
    HIDUSB_ITEM_LED_BAR = 0xA0      /* 9 bytes */
};

struct FlashDataMap; /* the 10,448-byte parameter record; the library reads and writes it as bytes */

/*
 * Report callback, called on the library's report thread for every report of the connected device.
 * header and data are valid for the duration of the call only.
 */
typedef void (*HidReportCallback)(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t dataLength);

/* Attach/detach callback, called on the library's notice thread. */
typedef void (*HidUsbChangedCallback)(void);

/* Firmware upgrade events, called on the library's upgrade thread; event holds HIDUSB_UPGRADE_EVENT_SIZE bytes
 * valid for the duration of the call: byte 0 = 7, byte 1 = 1 progress (byte 2 percent) or 2 result (byte 2 = 1 success). */
typedef void (*HidUpgradeStatusCallback)(const uint8_t* event);

/* A firmware image as handed to the upgrade calls. The library copies the bytes when an upgrade starts. */
typedef struct HidUpgradeImage {
    const uint8_t* data;
    uint32_t length;
} HidUpgradeImage;

/* ---- Presence and discovery ---- */

/* Non-zero when the device at path answers (a receiver whose mouse sleeps or is off answers 0). */
HIDUSB_API uint8_t VidEzorarA_GetDeviceOnLine(const char* path);

/* Paths of the attached devices with this vendor and product id (hexadecimal or decimal text).
 * *count goes in as the room the caller has (at most HIDUSB_MAX_PATHS are returned) and comes back as
 * the number of paths. The array and its texts belong to the library and stay valid until the next
 * find call on any thread; callers that keep a path copy it. interfaceId and deviceId select the
 * interface of a composite device; the simulated devices expose one. */
HIDUSB_API const char* const* VidEzorarA_FindHidDevicesByDeviceId(const char* vid, const char* pid, int interfaceId, int deviceId, int* count);
HIDUSB_API const char* const* VidEzorarA_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count);

/* CID, MID and connection status of the device (HIDUSB_DEVICE_INFO_SIZE bytes). The buffer belongs to the
 * library and stays valid until the calling thread's next call; all zero when the device does not answer. */
HIDUSB_API const uint8_t* VidEzorarA_GetDeviceInfo(const char* path, int index);

/* Fills HIDUSB_USB_ATTRIBUTE_SIZE bytes: 32-bit size, 16-bit vendor id, product id, version (little-endian). */
HIDUSB_API uint8_t VidEzorarA_GetUsbDeviceAttribute(const char* path, uint8_t* record);

/* Fills HIDUSB_USB_ADDRESS_STATUS_SIZE bytes: byte 6 = 1 when online, bytes 7..9 the receiver address. */
HIDUSB_API uint8_t VidEzorarA_GetDeviceOnLineWithUsbAddress(const char* path, uint8_t* status);

/* 16-bit firmware version of the device's mouse: major in the high byte, minor in the low byte; 0 when unknown. */
HIDUSB_API uint16_t VidEzorarA_GetVersion(const char* path);

/* The receiver's own firmware version; non-zero when read. */
HIDUSB_API uint8_t VidEzorarA_GetSlaveVersion(const char* path, uint16_t* version);

/* ---- Attach and detach ---- */

/* Registers the attach/detach callback, replacing any earlier one. It is called once soon after
 * registering, then after every attach and detach. intervalMs is how often the library looks. */
HIDUSB_API void StartUsbChanged(HidUsbChangedCallback callback, int intervalMs);
/* Ends the notices. Returns at once, also while a notice runs; no notice starts after it returns. */
HIDUSB_API void StopUsbChanged(void);

/* ---- The connection ---- */

/* Opens (or re-opens) the connection to the device at path and installs the report callback.
 * Reports of that device are delivered to callback from now on. Both paths name the same device. */
HIDUSB_API void UsbServerC_Start(const char* path, const char* interfacePath, HidReportCallback callback);
/* Tells the device whether the configuration program runs (1) or stops (0). */
HIDUSB_API void UsbServer_SetPCDriverStatus(uint8_t running);
/* Closes the connection: no report is delivered after it returns, except one already running. */
HIDUSB_API void UsbServer_Exit(void);

/* Reads; each is answered later through the report callback. */
HIDUSB_API uint8_t UsbServer_ReadAllFlashData(void);   /* code 8, item 0, 6,912 bytes */
HIDUSB_API uint8_t UsbServer_ReadCurrentDPI(void);     /* code 8, item 4, 1 byte */
HIDUSB_API uint8_t UsbServer_ReadReportRate(void);     /* code 8, item 0, 1 byte */
HIDUSB_API uint8_t UsbServer_ReadBatteryLevel(void);   /* code 4 */
HIDUSB_API uint8_t UsbServer_ReadLedBar(void);         /* code 8, item 0xA0, 9 bytes */
HIDUSB_API uint8_t UsbServer_ReadDPILed(void);         /* code 8, item 0x4C, 8 bytes */
HIDUSB_API uint8_t UsbServer_ReadVersion(void);        /* code 18 */
HIDUSB_API uint8_t UsbServer_ReadConfig(void);         /* code 14, 1 byte: the active profile */

/* ---- Records ---- */

/* Sends the whole record to the connected device, which stores what it can hold: every byte as sent,
 * except in the macro events, where a delay above 65,535 ms is kept as 65,535, the spare byte (3) is
 * cleared and action and kind keep their low four bits. The next whole image gives back exactly what
 * was stored. Non-zero when the record reached a device (connected, and its mouse answers). */
HIDUSB_API uint8_t ProtocolDataUpdate(const struct FlashDataMap* record);
/* Fills the whole record from a whole-image report (HIDUSB_RAW_IMAGE_SIZE bytes). */
HIDUSB_API void ProtocolDataParser(const uint8_t* raw, struct FlashDataMap* record);
/* Fills record bytes 0..3 (DPI light mode, brightness, speed, on) from an item 0x4C reply. */
HIDUSB_API void BufferToDPILed(const uint8_t* raw, uint8_t* record);
/* Fills record bytes 0..3 (mouse light mode, red, green, blue) from an item 0xA0 reply. */
HIDUSB_API void BufferToLedBar(const uint8_t* raw, uint8_t* record);
/* Fills HIDUSB_BATTERY_STATUS_SIZE bytes from a code 4 report. */
HIDUSB_API void GetDeviceBatteryStatus(const uint8_t* raw, uint8_t* status);
/* Fills HIDUSB_STATUS_CHANGE_SIZE flag bytes from a code 10 report: 0 DPI, 1 report rate, 2 whole
 * configuration, 3 DPI light, 4 unused, 5 light bar, 6 battery. */
HIDUSB_API void GetDeviceStatusChanged(const uint8_t* raw, uint8_t* flags);

/* ---- Receiver ---- */

HIDUSB_API uint8_t VidEzorarA_Get4KDongleRGBValue(const char* path, uint8_t* record);       /* HIDUSB_DONGLE_RGB_SIZE */
HIDUSB_API uint8_t VidEzorarA_Set4KDongleRGB(const char* path, const uint8_t* record);
HIDUSB_API uint8_t VidEzorarA_GetDongleRGBBarMode(const char* path, uint8_t* record);       /* HIDUSB_DONGLE_RGB_BAR_SIZE */
HIDUSB_API uint8_t VidEzorarA_SetDongleRGBBarMode(const char* path, const uint8_t* record);
HIDUSB_API uint8_t VidEzorarA_GetDongleIndicatorLed(const char* path, uint8_t* record);     /* HIDUSB_DONGLE_INDICATOR_LED_SIZE */
HIDUSB_API uint8_t VidEzorarA_SetDongleIndicatorLed(const char* path, const uint8_t* record);
/* *mode is left as the caller preset it when the receiver does not answer; else 0 off, 1 on. */
HIDUSB_API uint8_t VidEzorarA_GetLongRangeMode(const char* path, uint8_t* mode);
HIDUSB_API uint8_t VidEzorarA_SetLongRangeMode(const char* path, uint8_t on);
/* Opens a receiver for raw exchanges. */
HIDUSB_API uint8_t VidEzorarA_OpenDevice(const char* path);
/* One raw exchange with the opened receiver: sends length bytes of frame, fills reply (room for 64 bytes). */
HIDUSB_API uint8_t VidEzorarA_ReadWriteDeviceData(uint8_t* frame, uint8_t* reply, uint8_t length);

/* ---- Device settings ---- */

HIDUSB_API uint8_t UsbServer_SetBatteryOptimizeEnable(uint8_t enable);
/* Restores the model's defaults on the connected mouse, then sends code 9. */
HIDUSB_API uint8_t UsbServer_SetClearSetting(void);
/* Switches to on-board profile 0..3, then sends the profile report and the whole image. */
HIDUSB_API uint8_t UsbServer_SetCurrentConfig(uint8_t profile);

/* ---- Pairing ---- */

/* Puts the connected receiver into pairing mode for mice of this CID. */
HIDUSB_API uint8_t UsbServer_EnterDonglePairOnlyCid(uint8_t cid);
/* Answered through the report callback as code 6: data byte 0 = 1 pairing, 2 failed, 3 paired. */
HIDUSB_API uint8_t UsbServer_ReadDonglePairStatus(void);

/* ---- Firmware upgrade ---- */

/* Number of attached devices in boot mode that take this image; *count goes in as the room. */
HIDUSB_API int UsbUpgradeC_FindBootDevices(const HidUpgradeImage* image, int* count);
/* Starts writing the image; progress and result arrive through callback. Non-zero when started.
 * The device restarts into its boot loader before the first byte; one cut off before its result
 * (unplugged, the program or the library ended) stays there, across restarts, until an image is
 * written to it again: UsbUpgradeC_FindBootDevices finds it. A reported success means the whole image
 * was written; the device then restarts into it, or stays in its boot loader when the image does not
 * start. */
HIDUSB_API uint8_t UsbUpgrade_Start(const HidUpgradeImage* image, HidUpgradeStatusCallback callback, int timeoutMs);

#ifdef __cplusplus
}
#endif

#endif /* HIDUSB_H */
