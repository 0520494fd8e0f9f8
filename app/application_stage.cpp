#include "app/application_stage.h"

#include <windows.h>

#include <vector>

#include "app/installer_state.h"
#include "app/pause.h"
#include "payload/payload_set.h"
#include "platform/decimal_text.h"
#include "platform/error_text.h"
#include "platform/file_operations.h"
#include "process/process_lookup.h"
#include "ui/timed_message.h"

namespace {

constexpr ConsoleColour kBlack = 1, kLightRed = 10, kLightGreen = 11;
constexpr std::uint32_t kGameExitWaitMs = 10000;

const Text kAssemblyTarget = "AliceInCradle_Data\\Managed\\Assembly-CSharp.dll";
const Text kExecutableTarget = "AliceInCradle.exe";
const Text kComparisonFolder = "补丁对比图";
const Text kPlaceholder = "补丁对比图\\该文件夹没用可以直接删除";
const Text kBeforePicture = "补丁对比图\\安装前.PNG";
const Text kAfterPicture = "补丁对比图\\安装后.PNG";

void PrintProgress(const Text& text) { PrintLine(kLightGreen, kBlack, text); }

// One line per failure, naming what failed and why.
void PrintFailure(const Text& what, const Text& subject, std::uint32_t errorCode) {
    PrintLine(kLightRed, kBlack, what + subject + "（" + WindowsErrorText(errorCode) + "）\r\n");
}

Text Quoted(const Text& text) { return "\"" + text + "\""; }

// The game files that kept their old content, and whether access was refused for any of them.
struct Unreplaced {
    std::vector<Text> paths;
    bool accessDenied = false;
};

void ReplaceGameFile(const Text& path, ByteString payload, Unreplaced& unreplaced) {
    const OperationResult result = ReplaceFileSafely(path, payload);
    if (result) return;
    PrintFailure("替换文件失败：", path, result.errorCode);
    unreplaced.paths.push_back(path);
    unreplaced.accessDenied = unreplaced.accessDenied || result.errorCode == ERROR_ACCESS_DENIED;
}

void WriteComparisonFile(const Text& path, ByteString data) {
    if (const OperationResult result = WriteWholeFile(path, data); !result)
        PrintFailure("写入文件失败：", path, result.errorCode);
}

void ShowUnreplaced(const Unreplaced& unreplaced) {
    Text text = "补丁没有安装完整！以下游戏文件未能替换，仍是原来的文件：\r\n";
    for (const Text& path : unreplaced.paths) text += path + "\r\n";
    if (unreplaced.accessDenied)
        text += "\r\n系统拒绝了访问：请关闭游戏，右键单击本程序并选择“以管理员身份运行”，然后重试。";
    ShowTimedMessage(text, 16, Text("欧尼酱~出错啦~"), std::nullopt, 1000000);
}

}  // namespace

void ApplyPatch() {
    const InstallerState& state = Installer();
    const std::int32_t answer = ShowTimedMessage("成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g",
                                                 33, Text("欧尼酱~有件事要问您~"), std::nullopt, 1000000);
    if (answer != 0) return;

    PrintProgress("结束进程 " + DecimalText(static_cast<std::int32_t>(state.gameProcessId)) + "\r\n");
    TerminateProcessById(state.gameProcessId);
    // A game slow to end keeps its files locked: wait for it to be gone, then the usual pause.
    if (!WaitForProcessExit(state.gameProcessId, kGameExitWaitMs))
        PrintLine(kLightRed, kBlack, "游戏进程在10秒内没有结束，游戏文件可能仍被占用\r\n");
    PauseMilliseconds(1000);

    PrintProgress("导出补丁......\r\n");
    Unreplaced unreplaced;
    ReplaceGameFile(state.gameFolder + kAssemblyTarget, AssemblyPayload(), unreplaced);
    ReplaceGameFile(state.gameFolder + kExecutableTarget, ExecutablePayload(), unreplaced);
    PauseMilliseconds(1000);

    // Quoted, so that a folder with spaces never starts a program named by its first word.
    const Text game = state.gameFolder + state.gameExecutableName;
    if (const OperationResult started = LaunchCommandLine(Quoted(game)); started)
        PrintProgress("重新运行 " + state.gameExecutableName + "\r\n");
    else
        PrintFailure("重新运行游戏失败：", game, started.errorCode);

    const Text folder = state.gameFolder + kComparisonFolder;
    if (const OperationResult created = CreateDirectoryTree(folder); !created)
        PrintFailure("创建文件夹失败：", folder, created.errorCode);
    WriteComparisonFile(state.gameFolder + kPlaceholder, {});
    WriteComparisonFile(state.gameFolder + kBeforePicture, BeforeImagePayload());
    WriteComparisonFile(state.gameFolder + kAfterPicture, AfterImagePayload());

    // By its full path: a bare "explorer.exe" is looked for beside this program and in the
    // current folder first, where anything may have been put.
    const Text fileManager = Quoted(WindowsFolder() + "\\explorer.exe") + " " + Quoted(folder);
    if (const OperationResult opened = LaunchCommandLine(fileManager); !opened)
        PrintFailure("打开文件夹失败：", folder, opened.errorCode);

    if (!unreplaced.paths.empty()) ShowUnreplaced(unreplaced);
}
