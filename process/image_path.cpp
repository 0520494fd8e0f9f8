#include "process/image_path.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

#include "platform/handles.h"
#include "platform/text_conversion.h"
#include "process/drive_prefix.h"

extern "C" NTSTATUS NTAPI RtlAdjustPrivilege(ULONG privilege, BOOLEAN enable, BOOLEAN currentThread,
                                            PBOOLEAN previous);

namespace {

constexpr ULONG kDebugPrivilege = 20;  // SeDebugPrivilege
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
constexpr std::uint32_t kDeviceNameUnits = 260;

// Opens the process for the image-name query with the debug privilege held for just that call.
HandleOwner OpenForQuery(ProcessId processId) {
    BOOLEAN previous = FALSE;
    RtlAdjustPrivilege(kDebugPrivilege, TRUE, FALSE, &previous);
    HandleOwner process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    RtlAdjustPrivilege(kDebugPrivilege, FALSE, FALSE, &previous);
    return process;
}

// The image name the kernel reports: MaximumLength bytes at Buffer, kept inside the query buffer.
WideBytes QueryDevicePath(HANDLE process) {
    ULONG needed = 0;
    if (NtQueryInformationProcess(process, ProcessImageFileName, nullptr, 0, &needed) != kInfoLengthMismatch)
        return {};
    HeapBlockOwner buffer(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, needed));
    if (!buffer) return {};
    if (NtQueryInformationProcess(process, ProcessImageFileName, buffer.Get(), needed, &needed) != 0) return {};
    const auto* name = static_cast<const UNICODE_STRING*>(buffer.Get());
    const auto length = static_cast<SHORT>(name->MaximumLength);
    if (length <= 0 || name->Buffer == nullptr) return {};
    const auto* begin = reinterpret_cast<const std::uint8_t*>(name->Buffer);
    const auto* blockBegin = static_cast<const std::uint8_t*>(buffer.Get());
    const auto* blockEnd = blockBegin + needed;
    if (begin < blockBegin || begin >= blockEnd) return {};
    return WideBytes(begin, std::min(begin + length, blockEnd));
}

}  // namespace

std::uint32_t PlatformQueryDosDevice(const wchar_t* drive, wchar_t* buffer, std::uint32_t capacity) {
    return QueryDosDeviceW(drive, buffer, capacity);
}

WideBytes DevicePathToDosPath(const WideBytes& devicePath, DosDeviceQuery query) {
    if (devicePath.empty()) return {};
    // The device-name buffer is reused for every letter without being cleared.
    std::vector<std::uint8_t> answer(522, 0);
    wchar_t drive[3] = {L'@', L':', L'\0'};
    for (int i = 0; i < 26; ++i) {
        ++drive[0];
        const std::uint32_t units = query(drive, reinterpret_cast<wchar_t*>(answer.data()), kDeviceNameUnits);
        if (units == 0) continue;
        if (auto rewritten = RewriteForDrive(devicePath, answer, units, static_cast<char>(drive[0])))
            return *rewritten;
    }
    return StripNtDrivePrefix(devicePath);
}

WideBytes QueryProcessImageName(ProcessId processId) {
    HandleOwner process = processId == 0 ? HandleOwner(GetCurrentProcess()) : OpenForQuery(processId);
    if (!process) return {};
    return DevicePathToDosPath(QueryDevicePath(process.Get()));
}

Text GetProcessImagePath(ProcessId processId) { return WideToNarrow(QueryProcessImageName(processId)); }
