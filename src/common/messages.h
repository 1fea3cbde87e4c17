// The installer's message box texts. Every message box has the caption
// "Setup" and an OK button only.
#pragma once

inline constexpr const char* kSetupCaption = "Setup";
inline constexpr const char* kDriverNotice =
    "The driver will be installed now. It need a few minutes to complete.";
inline constexpr const char* kMissingInstallationFiles = "Can not find installation files.";
inline constexpr const char* kMissingPackageSetup =
    "Can not find the PCI Audio Applications setup program.";
