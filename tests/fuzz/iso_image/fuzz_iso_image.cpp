// The disc image reader: libarchive's ISO 9660 reader and the tree the media
// tool makes of what it lists. The input is an image from its volume
// descriptors on: the 32 KB system area before them, which no reader looks
// at, is put in front here, so that the fuzzer spends nothing on it.
//
// What must hold for every input: reading ends, with the tree or with the
// error that the image cannot be read, never otherwise; in the tree every
// entry lies in a folder listed before it, every name is one Windows can
// hold, no two paths differ only in case, each path finds its own entry, and
// a file's bytes are as many as its size.
#include <cstdint>
#include <set>
#include <string>

#include "fuzz_check.h"
#include "common/ascii.h"
#include "media_tool/reading/image_scan.h"
#include "media_tool/reading/windows_names.h"
#include "sim/sim_context.h"

namespace {

constexpr std::size_t kSystemArea = 16 * 2048;

void CheckTree(const MediaTree& media)
{
    std::set<std::string> folders;
    std::set<std::string> paths;
    for (const MediaEntry& entry : media.entries) {
        const std::size_t slash = entry.path.rfind('\\');
        const std::string name = slash == std::string::npos ? entry.path : entry.path.substr(slash + 1);
        FUZZ_CHECK(WhyNotAWindowsName(name).empty());
        if (slash != std::string::npos)
            FUZZ_CHECK(folders.count(AsciiUpper(entry.path.substr(0, slash))) == 1);
        FUZZ_CHECK(paths.insert(AsciiUpper(entry.path)).second);
        FUZZ_CHECK(media.Find(entry.path) == &entry);
        FUZZ_CHECK(entry.readOnly || entry.folder);
        if (entry.folder)
            folders.insert(AsciiUpper(entry.path));
        else
            FUZZ_CHECK(ReadEntry(entry).value_or("").size() == entry.size);
    }
    FUZZ_CHECK(media.image.has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string image(kSystemArea, '\0');
    image += fuzz::Bytes(data, size);
    MediaTree media;
    try {
        media = ReadImageTree("fuzz.iso", std::make_shared<const ImageBytes>(std::move(image)));
    } catch (const MediaFolderError& error) {
        FUZZ_CHECK(std::string(error.what()).rfind("cannot read the image fuzz.iso: ", 0) == 0);
        return 0;
    }
    CheckTree(media);
    return 0;
}
