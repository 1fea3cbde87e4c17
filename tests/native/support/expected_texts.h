// The texts of the installer's message boxes as a user must see them,
// written out here: the tests compare with these and not with the program's
// own constants, so that a changed letter in the program shows.
#pragma once

namespace expected_text {

inline constexpr const char* kCaption = "Setup";
inline constexpr const char* kDriverNotice =
    "The driver will be installed now. It need a few minutes to complete.";
inline constexpr const char* kMissingInstallationFiles = "Can not find installation files.";
inline constexpr const char* kMissingPackageSetup =
    "Can not find the PCI Audio Applications setup program.";

}  // namespace expected_text
