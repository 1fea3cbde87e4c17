// The formats of the resources the installer carries: dialog templates in
// both forms (DLGTEMPLATE and DLGTEMPLATEEX), string table blocks, icon
// groups and icon images. Texts come out as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace res {

// A text of a template that may be given by number instead (sz_Or_Ord).
struct TextOrNumber {
    bool isNumber = false;
    std::uint16_t number = 0;
    std::string text;
};

struct DialogControl {
    int id = 0;  // as the template stores it, sign-extended: -1 for no id
    std::string className;  // the predefined classes by name: "Button", "Static", ...
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    int x = 0, y = 0, width = 0, height = 0;
    TextOrNumber text;
    std::size_t extraBytes = 0;
};

struct DialogTemplate {
    bool extended = false;  // DLGTEMPLATEEX
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    int x = 0, y = 0, width = 0, height = 0;
    TextOrNumber menu;
    TextOrNumber windowClass;
    std::string caption;
    bool hasFont = false;
    int pointSize = 0;
    int weight = 0;
    bool italic = false;
    int charset = 0;
    std::string face;
    std::vector<DialogControl> controls;
};

// Nothing, with the reason in `error`, when the bytes are not a whole template.
std::optional<DialogTemplate> ParseDialogTemplate(const std::vector<std::uint8_t>& bytes,
                                                  std::string& error);

// String `id` from its table block (block number id / 16 + 1); nothing when
// the block does not hold it or is cut short.
std::optional<std::string> StringFromBlock(const std::vector<std::uint8_t>& block, std::uint32_t id);

struct IconGroupEntry {
    int width = 0;   // 0 stands for 256
    int height = 0;
    int colourCount = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint16_t iconId = 0;  // the RT_ICON resource with the image
};
std::optional<std::vector<IconGroupEntry>> ParseIconGroup(const std::vector<std::uint8_t>& bytes);

// The BITMAPINFOHEADER at the start of an icon image.
struct IconImageHeader {
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0;  // the colour bitmap and the mask together: twice the icon's
    int planes = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};
std::optional<IconImageHeader> ParseIconImage(const std::vector<std::uint8_t>& bytes);

std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units);

}  // namespace res
