#include "media_tool/reports/hex_text.h"

#include <nettle/base16.h>

std::string HexText(const std::string& bytes)
{
    std::string hex(BASE16_ENCODE_LENGTH(bytes.size()), '\0');
    base16_encode_update(&hex[0], bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    return hex;
}
