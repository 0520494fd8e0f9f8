#include "platform/error_text.h"

#include <windows.h>

#include "platform/decimal_text.h"
#include "platform/handles.h"
#include "platform/text_conversion.h"

Text WindowsErrorText(std::uint32_t errorCode) {
    wchar_t* message = nullptr;
    const DWORD units = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    LocalMemoryOwner owner(message);
    Text text = units != 0 ? WideToNarrow(WideBytesFromPointer(message)) : Text();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    const Text number = "错误 " + DecimalText(static_cast<std::int32_t>(errorCode));
    return text.empty() ? number : number + "：" + text;
}
