#include "app/pause.h"

#include <windows.h>

void PauseMilliseconds(int count) { Sleep(count < 0 ? 0u : static_cast<DWORD>(count)); }
