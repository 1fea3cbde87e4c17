// The SHA-256 digest of a file's bytes, as the people comparing a plan with
// a real run (and sha256sum) write it: 64 lower-case hex digits.
#pragma once

#include <string>

std::string Sha256Hex(const std::string& bytes);
