// A disc image as the installer would find it in the drive: the folders and
// files Windows shows (Joliet names where the image has them, else its
// ISO 9660 names; Rock Ridge ignored), every file read-only, in the same
// tree a media folder gives.
#pragma once

#include <memory>
#include <string>

#include "media_tool/reading/media_scan.h"

// The bytes of an image: mapped from its file, or held.
class ImageBytes {
public:
    explicit ImageBytes(std::string held);
    ImageBytes(const void* mapped, std::size_t size);
    ~ImageBytes();
    ImageBytes(const ImageBytes&) = delete;
    ImageBytes& operator=(const ImageBytes&) = delete;

    const char* Data() const;
    std::size_t Size() const { return m_size; }

private:
    std::string m_held;
    const void* m_mapped = nullptr;
    std::size_t m_size = 0;
};

// Whether `path` names a disc image: a file ending in ".iso", in any case.
bool IsImagePath(const std::string& path);

// Maps the image file. Throws MediaFolderError when it cannot be read.
std::shared_ptr<const ImageBytes> MapImage(const std::string& path);

// The tree of the image, named `root` in findings and plans. Throws
// MediaFolderError when it is no ISO 9660 image or cannot be read.
MediaTree ReadImageTree(const std::string& root, std::shared_ptr<const ImageBytes> image);

// MapImage, then ReadImageTree.
MediaTree ScanImage(const std::string& path);
