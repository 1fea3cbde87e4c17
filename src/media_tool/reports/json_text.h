// Text as JSON writes it.
#pragma once

#include <string>

// `text` as a JSON string, quotes included. The installer's texts are 8-bit
// ANSI: valid UTF-8 passes as it is, and any other byte stands for the
// character of the same number (as in Latin-1), so the output is always
// valid JSON. Written here, not with nlohmann/json: that writes \b and \f
// as such, leaves DEL as it is, and refuses a byte that is no UTF-8 or
// makes it U+FFFD; nor is the reports' layout, one finding, event or change
// a line with ": " and ", ", its compact or its indented form.
std::string JsonString(const std::string& text);
