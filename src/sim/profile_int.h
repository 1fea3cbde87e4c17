// How GetPrivateProfileIntA turns a profile value into a number.
#pragma once

#include <string>

namespace sim {

// The number GetPrivateProfileIntA returns for the value text of a key that
// exists. The value is read into a 30-character buffer, so only its first 29
// characters count; an empty one gives `defaultValue`. Then: blanks and
// control characters are skipped, one sign is taken, a lower-case "0x",
// "0o" or "0b" chooses base 16, 8 or 2 (else base 10), and digits are read
// up to the first one that is not. There is no overflow check: the number
// is kept in 32 unsigned bits, as Windows keeps it, and returned as an int.
int ProfileIntFromValue(const std::string& value, int defaultValue);

}  // namespace sim
