#pragma once

// Makes later dynamic loads look for DLLs in the system folder only, so that a DLL planted
// beside the program (installers are run from Downloads) is never loaded. Yes when it took
// effect; Windows without SetDefaultDllDirectories keeps its usual search.
bool RestrictDllSearchToSystemFolder();
