// Text as JSON writes it.
#pragma once

#include <string>

// `text` as a JSON string, quotes included. The installer's texts are 8-bit
// ANSI: valid UTF-8 passes as it is, and any other byte stands for the
// character of the same number (as in Latin-1), so the output is always
// valid JSON.
std::string JsonString(const std::string& text);
