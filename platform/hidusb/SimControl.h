/*
 * Control of the simulated devices behind the device library, for tests and benchmarks only.
 * The program never includes this header.
 *
 * Device ids: the simulated devices are described in "simulated/devices.ini" in the program folder
 * (or the file handed to SimControl_Reset). Each [Device n] group names one attachable
 * device; SimControl_DeviceCount() and the index n - 1 address them here.
 */
#ifndef HIDUSB_SIMCONTROL_H
#define HIDUSB_SIMCONTROL_H

#include "platform/hidusb/HIDUsb.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Resets the library to its start: every device detached and forgotten, callbacks and connection
 * cleared, counters zero. The description is read again and the devices' flash loaded from
 * flashFolder (created when missing); an empty or null folder means the per-user folder's
 * "Device_Flash" sub-folder. Devices marked attached in the description are attached. */
HIDUSB_API void SimControl_Reset(const char* descriptionFile, const char* flashFolder);

HIDUSB_API int SimControl_DeviceCount(void);
/* The HID path of a device (valid until the next reset). */
HIDUSB_API const char* SimControl_DevicePath(int device);

/* Attach or detach a device: the attach/detach callback runs afterwards on the notice thread. */
HIDUSB_API void SimControl_SetAttached(int device, int attached);
/* A receiver's mouse switched on or off / in or out of range (the receiver stays attached). */
HIDUSB_API void SimControl_SetMouseOnline(int device, int online);
/* Battery level 0..100 and charging; a battery report follows when a connection is open. */
HIDUSB_API void SimControl_SetBattery(int device, int level, int charging);

/* A change made on the mouse itself (its DPI button, its rate switch): the device stores it and sends
 * a status-change report (code 10), then answers the reads the program makes. */
HIDUSB_API void SimControl_PressDpiButton(int device, int level);
HIDUSB_API void SimControl_PressRateButton(int device, int rateCode);
/* The mouse switched on-board profile 0..3 itself: profile report, then the whole image. */
HIDUSB_API void SimControl_SwitchProfile(int device, int profile);

/* How the next pairing attempt ends: 3 paired, 2 failed, 1 stays pairing. Used once; then 3 again.
 * After UsbServer_EnterDonglePairOnlyCid the first status read answers 1 (pairing) and the next ones the
 * outcome; a CID other than the receiver's fails. A paired receiver's mouse is online. A receiver that is
 * unplugged leaves pairing mode; the connection open to it then takes no pairing call (they answer 0 and no
 * report follows), also after the receiver is plugged back in, until UsbServerC_Start opens a new one. */
HIDUSB_API void SimControl_SetPairingOutcome(int outcome);
/* How the next upgrade ends: 0 success, 1 fails halfway, 2 stops in boot mode (the device is left in boot mode),
 * 3 the next UsbUpgrade_Start is refused (returns 0, nothing is written, no event follows), 4 the whole
 * image is written and the success reported, but the device does not start it: it stays in boot mode
 * with its old firmware, as a device does whose image does not boot.
 * Used once; then 0 again. Every upgrade first puts the device into boot mode (it leaves the bus and
 * comes back with its boot product id), then reports every whole percent written, 0, 1, .. 100 (to 50 when it
 * fails), at a boot loader's pace (24 bytes a millisecond: a 64 KiB image takes under 3 s), and the result. Success: the image's version, back to normal. Failing halfway: a device that was running
 * comes back with its old firmware; one that was already in boot mode stays there. An image goes to a
 * device in boot mode that takes it (kind, CID and MID of its header), else to a running receiver
 * (211) or mouse cable (210) of that CID and MID, else, for a wireless mouse with no cable plugged in,
 * over the air through its receiver (the receiver stays on the bus; a mouse left in boot mode then
 * needs its cable). */
HIDUSB_API void SimControl_SetUpgradeOutcome(int outcome);

/* The record the device holds now (HIDUSB_FLASH_RECORD_SIZE bytes copied to out). Non-zero when the device exists. */
HIDUSB_API int SimControl_GetDeviceRecord(int device, uint8_t* out);
/* Replaces the record the device holds (kept as ProtocolDataUpdate keeps one). */
HIDUSB_API int SimControl_SetDeviceRecord(int device, const uint8_t* record);
/* The firmware version the device reports (major << 8 | minor): that of the mouse behind it. */
HIDUSB_API uint16_t SimControl_GetFirmwareVersion(int device);
/* A receiver's own firmware version; 0 for a cable. */
HIDUSB_API uint16_t SimControl_GetReceiverFirmwareVersion(int device);
/* 0 detached, 1 attached and running, 2 attached in boot mode. Boot mode is kept in the device's flash from
 * the moment a write begins until the device starts its new firmware: a device cut off mid-write (the
 * process killed, the library ended or reset, the device unplugged) is still in boot mode after a
 * reset of the library or a new process with the same flash folder. */
HIDUSB_API int SimControl_GetDeviceMode(int device);
/* The on-board profile 0..3 the mouse behind the device uses; -1 when there is no such device. */
HIDUSB_API int SimControl_GetActiveProfile(int device);

/* The receiver's own records, as the receiver calls of HIDUsb.h exchange them. */
enum {
    SIMCONTROL_RECEIVER_INDICATOR = 0,      /* HIDUSB_DONGLE_RGB_SIZE bytes, byte 0 = meaning */
    SIMCONTROL_RECEIVER_LIGHT_BAR = 1,      /* HIDUSB_DONGLE_RGB_BAR_SIZE bytes */
    SIMCONTROL_RECEIVER_INDICATOR_LEDS = 2  /* HIDUSB_DONGLE_INDICATOR_LED_SIZE bytes */
};
/* What a receiver holds now of one record (copied to out). Non-zero when the device is a receiver. */
HIDUSB_API int SimControl_GetReceiverRecord(int device, int which, uint8_t* out);
/* Replaces what a receiver holds, as a change made on the receiver itself; nothing is reported. */
HIDUSB_API int SimControl_SetReceiverRecord(int device, int which, const uint8_t* in);
/* From now on the receiver refuses (1) or takes (0) the light-bar and indicator-LED writes
 * (VidEzorarA_SetDongleRGBBarMode, VidEzorarA_SetDongleIndicatorLed answer 0 and keep nothing).
 * A reset makes every receiver take them again. */
HIDUSB_API void SimControl_SetReceiverRefusesLights(int device, int refuse);
/* From now on the receiver refuses (1) or takes (0) the indicator-meaning writes
 * (VidEzorarA_Set4KDongleRGB answers 0 and keeps nothing), whatever the light writes do. A reset
 * makes every receiver take them again. */
HIDUSB_API void SimControl_SetReceiverRefusesIndicator(int device, int refuse);
/* The receiver sends its indicator report (code 21) when a connection to it is open. */
HIDUSB_API void SimControl_ReportIndicator(int device);

/* Counters of what the program did. */
HIDUSB_API int SimControl_UpdateCount(void);           /* ProtocolDataUpdate calls that reached a device */
HIDUSB_API int SimControl_ReadCount(int reportCode);   /* reports delivered with this code (answers and notices of the device) */
/* Writes of one receiver record (SIMCONTROL_RECEIVER_...) the program made, taken or refused. */
HIDUSB_API int SimControl_ReceiverWriteCount(int which);
/* The last record handed to ProtocolDataUpdate, whichever device (or none) it reached. Non-zero when any. */
HIDUSB_API int SimControl_LastUpdate(uint8_t* out);

/* Waits until every report, notice and upgrade event queued so far has been delivered and returned.
 * Must not be called from a callback. Returns non-zero when idle within timeoutMs. */
HIDUSB_API int SimControl_WaitIdle(int timeoutMs);

/* Encodes a record into the library's raw whole-image format (HIDUSB_RAW_IMAGE_SIZE bytes), as a
 * device would send it: ProtocolDataParser gives the record back byte for byte for every record a
 * device can hold. The format keeps macro events in 4 bytes: action and kind in four bits each, the
 * usage, and a 16-bit delay; a delay above 65,535 ms is sent as 65,535 and the spare event byte is
 * not sent (ProtocolDataUpdate stores records the same way). */
HIDUSB_API void SimControl_EncodeImage(const uint8_t* record, uint8_t* raw);

/* Reports a receiver sends of itself, through the open connection to it (nothing is sent when the
 * connection is open to another device or to none).
 * The indicator was changed on the receiver (meaning 1..3, as Set4KDongleRGB takes it): the receiver
 * keeps it and sends the indicator report (code 21, no data). */
HIDUSB_API void SimControl_ChangeIndicatorOnReceiver(int device, int meaning);
/* The receiver left long-range mode by itself: the mode is off and the long-range report (code 23)
 * follows with its 10 data bytes. */
HIDUSB_API void SimControl_LeaveLongRangeOnReceiver(int device);
/* A report of the test's own making (any code, item and data, also lengths no device sends), sent by
 * the device as its own reports are. The data is copied before the call returns. */
HIDUSB_API void SimControl_SendReport(int device, int code, int item, const uint8_t* data, int length);

#ifdef __cplusplus
}
#endif

#endif /* HIDUSB_SIMCONTROL_H */
