// The names a Windows disc can hold, for a media folder on this machine and
// for a disc image alike: which names Windows cannot hold at all, which two
// it takes for one, and what Joliet, the name set Windows reads from a disc
// image, cannot hold as it is.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "media_tool/reading/media_scan.h"

// Why Windows cannot hold a file name, or empty when it can.
std::string WhyNotAWindowsName(const std::string& name);

// Takes the names of one folder, one after another, as they go on the disc:
// a name Windows cannot hold, or one that differs from an earlier one only in
// case, is left out and recorded as a problem.
class FolderNames {
public:
    // `prefix` is the folder's path below the root ("" or ending in '\').
    FolderNames(const std::string& prefix, std::vector<ScanProblem>& problems);
    // Whether the name goes on the disc.
    bool Keep(const std::string& name);

private:
    const std::string m_prefix;
    std::vector<ScanProblem>& m_problems;
    std::map<std::string, std::string> m_taken;  // upper-cased name: the name kept
};

// The names of a path, split at `separator`; an empty name after a last
// separator is dropped.
std::vector<std::string> NamesOf(const std::string& path, char separator);

// Joliet holds names of at most 64 UCS-2 characters and paths below the root
// of at most 120 (240 bytes); longer ones are cut or left out of its tree.
constexpr std::size_t kLongestJolietName = 64;
constexpr std::size_t kLongestJolietPath = 120;

// Why Joliet cannot hold a name (UTF-8 on this machine) as it is, or empty.
std::string WhyJolietCannotHold(const std::string& name);

// The length of UTF-8 text in UTF-16 units, as Joliet counts it; text that
// is no UTF-8 counts a unit per byte.
std::size_t Utf16Length(const std::string& text);

// The name as plain ISO 9660 spells it: upper case, and '_' for each
// character other than A-Z, 0-9, '_' and '.', as images without Joliet
// show "W2K-ME" as "W2K_ME".
std::string Iso9660FormOf(const std::string& name);
