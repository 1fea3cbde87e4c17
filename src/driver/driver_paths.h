// The fixed places of a driver installation on the local disk, and the
// device it is for.
#pragma once

// The hardware ID of the audio device. A device matches when this text occurs
// inside one of its hardware-ID entries.
inline constexpr const char* kHardwareId = "PCI\\VEN_7E2D&DEV_0111";

// Always on drive C under the literal "Program Files", and named "WIN_ME" on
// every Windows version: the OEM INF registration and the installation-source
// list point here.
inline constexpr const char* kProgramFilesDir = "C:\\Program Files\\";
inline constexpr const char* kQuarnelDir = "C:\\Program Files\\Quarnel\\";
inline constexpr const char* kDriverStagingDir = "C:\\Program Files\\Quarnel\\WIN_ME\\";
inline constexpr const char* kDosDriverDir = "C:\\Program Files\\Quarnel\\DOS\\";
inline constexpr const char* kDosApplicationDir = "C:\\Program Files\\Quarnel\\DOS\\DOSAPP\\";

// The staged INF, and the source location recorded with its OEM copy (no
// trailing backslash).
inline constexpr const char* kStagedInf = "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF";
inline constexpr const char* kStagedMediaLocation = "C:\\Program Files\\Quarnel\\WIN_ME";
