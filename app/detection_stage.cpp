#include "app/detection_stage.h"

#include <windows.h>

#include <cstdint>

#include "app/installer_state.h"
#include "app/pause.h"
#include "platform/decimal_text.h"
#include "process/image_path.h"
#include "process/path_naming.h"
#include "process/process_lookup.h"
#include "ui/timed_message.h"

namespace {

constexpr ConsoleColour kBlack = 1, kCyan = 7, kLightGrey = 8;

// Handles and ids print as "%d" prints them.
Text WindowText(WindowHandle window) {
    return DecimalText(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)));
}
Text IdText(ProcessId id) { return DecimalText(static_cast<std::int32_t>(id)); }

void PrintReport(const InstallerState& state) {
    PrintLine(kCyan, kBlack, "窗口句柄ID ");
    PrintLine(kLightGrey, kBlack, WindowText(state.gameWindow) + "\r\n");
    PrintLine(kCyan, kBlack, "游戏进程ID ");
    PrintLine(kLightGrey, kBlack, IdText(state.gameProcessId) + "\r\n");
    PrintLine(kCyan, kBlack, "游戏路径 ");
    PrintLine(kLightGrey, kBlack, state.gameFolder + state.gameExecutableName + "\r\n");
}

void ShowNotFound(const InstallerState& state) {
    const Text text = "未能成功寻找到游戏！\r\n请确保游戏已经在运行，版本号与补丁适配版本ver 0.24g相同！\r\n\r\n"
                      "----------变量信息----------\r\n进程ID：" +
                      IdText(state.gameProcessId) + "\r\n窗口句柄：" + WindowText(state.gameWindow) +
                      "\r\n程序路径：" + state.gameFolder + "\r\n程序命名：" + state.gameExecutableName;
    ShowTimedMessage(text, 16, Text("欧尼酱~出错啦~"), std::nullopt, 1000000);
}

}  // namespace

bool DetectGame() {
    InstallerState& state = Installer();
    state.gameWindow = FindTopWindowByTitle(nullptr, nullptr, "", "AliceInCradle");
    if (state.gameWindow == nullptr) state.gameProcessId = FindProcessIdByExeName("AliceInCradle.exe");
    // With no window the call fails and leaves the id found by name in place.
    DWORD owner = state.gameProcessId;
    GetWindowThreadProcessId(state.gameWindow, &owner);
    state.gameProcessId = owner;

    // Id 0 names this program itself, so without a game these are the installer's own.
    state.gameFolder = DirectoryOfPath(GetProcessImagePath(state.gameProcessId));
    state.gameExecutableName = DisplayFileNameOfPath(GetProcessImagePath(state.gameProcessId));

    PrintReport(state);
    PauseMilliseconds(1000);
    if (state.gameProcessId == 0) {
        ShowNotFound(state);
        return false;
    }
    return true;
}
