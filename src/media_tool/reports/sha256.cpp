#include "media_tool/reports/sha256.h"

#include <nettle/sha2.h>

#include "media_tool/reports/hex_text.h"

std::string Sha256Hex(const std::string& bytes)
{
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    std::string digest(SHA256_DIGEST_SIZE, '\0');
    sha256_digest(&context, digest.size(), reinterpret_cast<uint8_t*>(&digest[0]));
    return HexText(digest);
}
