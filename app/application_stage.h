#pragma once

// Asks the player to confirm; on OK ends the game, replaces its two files with the payloads,
// starts it again, writes the comparison pictures beside it and opens their folder. Every
// failure is reported as it happens; a game file left unreplaced is also said in a box.
void ApplyPatch();
