// Staging of the driver package: the media's driver folder into the staging
// folder, the DOS files into their folders, the new mixer and the installer's
// copy into the Windows directory, and the mixer's initialisation flag.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

// Called with the full path of every copied file whose name holds ".inf" or
// ".INF", after the copy has been made writable.
using InfHook = std::function<void(const std::string& stagedPath)>;

// Whether a file name holds ".inf" or ".INF", the names the hook is called for.
bool HasInfExtension(const std::string& name);

// Copies every file (never a subfolder) of `sourceFolder` into
// `destinationFolder`, both with a trailing backslash, overwriting read-only
// copies. With `resetAfter` the copies lose the source's attributes; without
// it they keep them. A failed copy does not stop the loop.
void CopyFolderFiles(platform::Platform& os, const std::string& sourceFolder,
                     const std::string& destinationFolder, bool resetAfter,
                     const InfHook& infHook = InfHook());

// "Dosdrv\" and "Dosdrv\DOSAPP\" of the media into the DOS folders, which
// must exist already.
void StageDosDrivers(platform::Platform& os, const std::string& sourceDir);

// The media's driver folder for this Windows: "WinXP\drv\" (XP only),
// "W2K-ME\drv\" or "WIN_ME\drv\", probed through their parent folders.
// A successful probe leaves that folder current.
std::string ChooseDriverFolder(platform::Platform& os, const std::string& sourceDir,
                               bool windowsXP);

// Creates the staging folder and copies the driver package into it. The
// folder is not emptied first.
void StageDriverFiles(platform::Platform& os, const std::string& sourceFolder,
                      const InfHook& infHook = InfHook());

// Places "Mixer.dat" and "W2KSetup.dat" (as "W2KSetup.exe") of the driver
// folder in the Windows directory and registers the mixer replacement for
// the next logon. Does nothing when the folder has no "Mixer.dat". Returns
// whether the Run value was written.
bool RegisterMixerReplacement(platform::Platform& os, const std::string& sourceFolder);

// Writes Initialize=0 into [RUNTIME] of an existing "mixerdef.ini".
void ClearMixerInitialize(platform::Platform& os);
