#include "app/main_sequence.h"

#include "app/application_stage.h"
#include "app/banner_links.h"
#include "app/detection_stage.h"
#include "app/installer_state.h"
#include "app/pause.h"

#include <string_view>

// Every literal the user sees must be stored as code page 936; a build with the wrong execution
// character set would show garbage, so refuse to compile instead.
static_assert(std::string_view("补丁对比图") == "\xB2\xB9\xB6\xA1\xB6\xD4\xB1\xC8\xCD\xBC",
              "narrow literals must be stored as code page 936 (-fexec-charset=CP936)");

namespace {

constexpr ConsoleColour kMagenta = 6, kLightRed = 10, kLightYellow = 12,
                        kLightBlue = 13, kBrightWhite = 16;

void PrintBanner() {
    PrintLine(kLightRed, kBrightWhite, "免责声明：本程序仅供参考，技术分享。\r\n");
    PrintLine(kLightRed, kBrightWhite, "补丁适配游戏版本:ver 0.24g\r\n");
    PrintLine(kLightYellow, kLightBlue, kBannerLinkVideo);
    PrintLine(kLightYellow, kLightBlue, kBannerLinkSocial);
    PrintLine(kLightYellow, kLightBlue, kBannerLinkWiki);
}

}  // namespace

void RunMainSequence() {
    PrintBanner();
    // Without a game the error box has been shown: no notice, no pause.
    if (!DetectGame()) return;
    ApplyPatch();
    PrintLine(kBrightWhite, kMagenta, "补丁安装结束，程序在10秒后自动关闭......\r\n");
    PauseMilliseconds(10000);
}
