#pragma once
// The four files the program installs, carried in its own image: read-only bytes, used in place.

#include "platform/text.h"

ByteString AssemblyPayload();     // AliceInCradle_Data\Managed\Assembly-CSharp.dll
ByteString ExecutablePayload();   // AliceInCradle.exe
ByteString BeforeImagePayload();  // 补丁对比图\安装前.PNG
ByteString AfterImagePayload();   // 补丁对比图\安装后.PNG
