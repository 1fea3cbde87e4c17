// An ISO 9660 image read with libarchive from memory: its folders and files
// under one of the name sets an image can carry. libarchive reads the disc
// format; this is only what the media tool asks of it.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace iso {

enum class NameSet {
    Windows,    // the Joliet names where there are any, else ISO 9660; no Rock Ridge
    Iso9660,    // the plain ISO 9660 names, without ";1" and a trailing dot
    RockRidge,  // the Rock Ridge names where there are any, else ISO 9660
};

// Where a file's bytes lie in the image: libarchive hands them out as
// pieces of the image itself, or, should it ever copy them, as its own.
struct BytePiece {
    std::uint64_t offset = 0;  // in the image, when `copied` is empty
    std::uint64_t size = 0;
    std::string copied;
};

struct ImageEntry {
    std::string path;  // below the root, names joined by '/'
    bool folder = false;
    std::uint64_t size = 0;
    std::vector<BytePiece> pieces;  // a file's bytes, when they were asked for
};

struct ImageListing {
    std::vector<ImageEntry> entries;  // in the order libarchive gives them
    bool rockRidge = false;           // the image carries Rock Ridge names
    std::size_t unreadableNames = 0;  // names that are no text, left out
};

// The image cannot be read: no ISO 9660 image, or one broken or cut short.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Lists the image's `size` bytes at `image`, which must stay as they are
// while the listing's pieces are used. Throws ImageError.
ImageListing ListImage(const char* image, std::size_t size, NameSet names, bool withBytes);

// A file's bytes from its pieces in that image.
std::string BytesOf(const ImageEntry& entry, const char* image, std::size_t size);

}  // namespace iso
