/*
 * Control of the simulated devices behind the device library, for tests and benchmarks only.
 * The program never includes this header.
 *
 * Device ids: the simulated devices are described in "simulated/devices.ini" in the program folder
 * (or the file set with SimControl_SetDescriptionFile). Each [Device n] group names one attachable
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

/* How the next pairing attempt ends: 3 paired, 2 failed, 1 stays pairing. */
HIDUSB_API void SimControl_SetPairingOutcome(int outcome);
/* How the next upgrade ends: 0 success, 1 fails halfway, 2 stops in boot mode (the device is left in boot mode). */
HIDUSB_API void SimControl_SetUpgradeOutcome(int outcome);

/* The record the device holds now (HIDUSB_FLASH_RECORD_SIZE bytes copied to out). Non-zero when the device exists. */
HIDUSB_API int SimControl_GetDeviceRecord(int device, uint8_t* out);
/* Replaces the record the device holds. */
HIDUSB_API int SimControl_SetDeviceRecord(int device, const uint8_t* record);
/* The firmware version the device reports (major << 8 | minor). */
HIDUSB_API uint16_t SimControl_GetFirmwareVersion(int device);

/* Counters of what the program did. */
HIDUSB_API int SimControl_UpdateCount(void);           /* ProtocolDataUpdate calls that reached a device */
HIDUSB_API int SimControl_ReadCount(int reportCode);   /* reads answered with this report code */
/* The last record handed to ProtocolDataUpdate, whichever device (or none) it reached. Non-zero when any. */
HIDUSB_API int SimControl_LastUpdate(uint8_t* out);

/* Waits until every report, notice and upgrade event queued so far has been delivered and returned.
 * Must not be called from a callback. Returns non-zero when idle within timeoutMs. */
HIDUSB_API int SimControl_WaitIdle(int timeoutMs);

/* Encodes a record into the library's raw whole-image format (HIDUSB_RAW_IMAGE_SIZE bytes), as a
 * device would send it: ProtocolDataParser gives the record back byte for byte. */
HIDUSB_API void SimControl_EncodeImage(const uint8_t* record, uint8_t* raw);

#ifdef __cplusplus
}
#endif

#endif /* HIDUSB_SIMCONTROL_H */
