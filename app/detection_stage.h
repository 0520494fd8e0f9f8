#pragma once

// Finds the running game, fills the game fields of the installer's state and prints them; when
// no game process was found, says so in an error box. Yes when a game process was found.
bool DetectGame();
