#pragma once

// Banner, the stages, the closing notice and its pause.
void RunMainSequence();
