#pragma once

// Blocks the thread for `count` milliseconds; a negative count is 0.
void PauseMilliseconds(int count);
