// Two small adjustments made on every start: the default sound format and the
// CD player's digital-audio switch.
#pragma once

#include <string>

#include "platform/platform.h"

// Makes the first system sound format whose name contains "CD" the default
// format, for the current user and for the default user profile.
void SetDefaultSoundFormat(platform::Platform& os);

// Copies [Default] UsingCDDA of setup.ini into the CD player's QNCDPLAY.INI.
void ApplyCdPlayerSetting(platform::Platform& os, const std::string& setupIniPath);

// The format that SetDefaultSoundFormat chooses from a "SystemFormats" text:
// the first comma-terminated entry containing "CD" (case-sensitive), or an
// empty text. The entry after the last comma is never examined.
std::string ChooseCdFormat(const std::string& systemFormats);
