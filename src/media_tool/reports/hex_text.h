// Bytes as hex text: two lower-case digits a byte, as sha256sum and the
// registry's binary values in the reports write them.
#pragma once

#include <string>

std::string HexText(const std::string& bytes);
