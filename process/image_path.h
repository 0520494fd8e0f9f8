#pragma once
// The full path of a process's executable, in drive-letter form.

#include <cstdint>

#include "platform/text.h"

// The platform's QueryDosDeviceW, as a plain function (tests give their own answers).
using DosDeviceQuery = std::uint32_t (*)(const wchar_t* drive, wchar_t* buffer, std::uint32_t capacity);
std::uint32_t PlatformQueryDosDevice(const wchar_t* drive, wchar_t* buffer, std::uint32_t capacity);

// The device path with its device part replaced by the first drive letter (A to Z) that stands for
// that device; "\??\X:\..." without its "\??\" when none does; otherwise unchanged.
WideBytes DevicePathToDosPath(const WideBytes& devicePath, DosDeviceQuery query = PlatformQueryDosDevice);

// The image path of the process (0: the calling process) as UTF-16, passed through
// DevicePathToDosPath; empty when it cannot be read.
WideBytes QueryProcessImageName(ProcessId processId);

// The same as Text in code page 936.
Text GetProcessImagePath(ProcessId processId);
