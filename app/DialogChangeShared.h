#pragma once
#include <QString>

// What the files of the selection page (DialogChange.h names them) share; only they include it.
namespace SelectPage {

// The model list's group that holds what all its models share ("Option"). Defined in DialogChange.cpp.
extern const QString Option;

// Whether the device at path answers (a receiver answers only while its mouse does). Defined in
// DialogChangeDevices.cpp.
bool IsOnline(const QString& path);

} // namespace SelectPage
