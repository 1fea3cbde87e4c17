#include "resource_formats.h"

#include "little_endian.h"

namespace res {

namespace {

constexpr std::uint32_t kSetFont = 0x40;     // DS_SETFONT
constexpr std::uint32_t kShellFont = 0x48;   // DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS
constexpr std::size_t kMaxTextUnits = 65536;

// Little-endian reads that fail instead of running past the end.
class Cursor {
public:
    explicit Cursor(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    bool Failed() const { return m_failed; }
    std::size_t Position() const { return m_position; }

    std::uint32_t Read(std::size_t size)
    {
        std::uint32_t value = 0;
        if (!ReadLittleEndian(m_bytes, m_position, size, value)) {
            m_failed = true;
            return 0;
        }
        m_position += size;
        return value;
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Read(1)); }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Read(2)); }
    std::int16_t Short() { return static_cast<std::int16_t>(Read(2)); }
    std::uint32_t Dword() { return Read(4); }

    void AlignTo4()
    {
        std::size_t padded = (m_position + 3) & ~std::size_t(3);
        // Padding after the last control may be missing.
        m_position = padded <= m_bytes.size() ? padded : m_bytes.size();
    }
    void Skip(std::size_t size)
    {
        m_position += size;
        if (m_position > m_bytes.size())
            m_failed = true;
    }

    std::string Text()
    {
        std::vector<std::uint16_t> units;
        for (;;) {
            std::uint16_t unit = Word();
            if (m_failed || unit == 0)
                break;
            if (units.size() >= kMaxTextUnits) {
                m_failed = true;
                break;
            }
            units.push_back(unit);
        }
        return Utf16ToUtf8(units);
    }

    TextOrNumber TextOrOrdinal()
    {
        TextOrNumber value;
        std::uint16_t first = Word();
        if (first == 0xFFFF) {
            value.isNumber = true;
            value.number = Word();
        } else if (first != 0) {
            m_position -= 2;
            value.text = Text();
        }
        return value;
    }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_position = 0;
    bool m_failed = false;
};

std::string PredefinedClass(std::uint16_t atom)
{
    switch (atom) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(atom);
    }
}

}  // namespace

std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units)
{
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            text.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            text.push_back(static_cast<char>(0xC0 | code >> 6));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            text.push_back(static_cast<char>(0xE0 | code >> 12));
            text.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xF0 | code >> 18));
            text.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return text;
}

std::optional<DialogTemplate> ParseDialogTemplate(const std::vector<std::uint8_t>& bytes,
                                                  std::string& error)
{
    Cursor in(bytes);
    DialogTemplate dialog;
    std::size_t count = 0;
    std::uint16_t version = in.Word();
    std::uint16_t signature = in.Word();
    dialog.extended = version == 1 && signature == 0xFFFF;
    if (dialog.extended) {
        dialog.helpId = in.Dword();
        dialog.exStyle = in.Dword();
        dialog.style = in.Dword();
    } else {
        dialog.style = version | static_cast<std::uint32_t>(signature) << 16;
        dialog.exStyle = in.Dword();
    }
    count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.width = in.Short();
    dialog.height = in.Short();
    dialog.menu = in.TextOrOrdinal();
    dialog.windowClass = in.TextOrOrdinal();
    dialog.caption = in.Text();
    if ((dialog.style & kSetFont) || (dialog.style & kShellFont) == kShellFont) {
        dialog.hasFont = true;
        dialog.pointSize = in.Word();
        if (dialog.extended) {
            dialog.weight = in.Word();
            dialog.italic = in.Byte() != 0;
            dialog.charset = in.Byte();
        }
        dialog.face = in.Text();
    }

    for (std::size_t i = 0; i < count && !in.Failed(); ++i) {
        in.AlignTo4();
        DialogControl control;
        if (dialog.extended) {
            control.helpId = in.Dword();
            control.exStyle = in.Dword();
            control.style = in.Dword();
        } else {
            control.style = in.Dword();
            control.exStyle = in.Dword();
        }
        control.x = in.Short();
        control.y = in.Short();
        control.width = in.Short();
        control.height = in.Short();
        control.id = dialog.extended ? static_cast<std::int32_t>(in.Dword()) : in.Short();
        TextOrNumber windowClass = in.TextOrOrdinal();
        control.className =
            windowClass.isNumber ? PredefinedClass(windowClass.number) : windowClass.text;
        control.text = in.TextOrOrdinal();
        control.extraBytes = in.Word();
        in.Skip(control.extraBytes);
        dialog.controls.push_back(control);
    }
    if (in.Failed()) {
        error = "dialog template cut short";
        return std::nullopt;
    }
    return dialog;
}

std::optional<std::string> StringFromBlock(const std::vector<std::uint8_t>& block, std::uint32_t id)
{
    Cursor in(block);
    for (std::uint32_t index = 0; index < 16; ++index) {
        std::size_t length = in.Word();
        std::vector<std::uint16_t> units;
        for (std::size_t i = 0; i < length; ++i)
            units.push_back(in.Word());
        if (in.Failed())
            return std::nullopt;
        if (index == id % 16)
            return Utf16ToUtf8(units);
    }
    return std::nullopt;
}

std::optional<std::vector<IconGroupEntry>> ParseIconGroup(const std::vector<std::uint8_t>& bytes)
{
    Cursor in(bytes);
    std::uint16_t reserved = in.Word();
    std::uint16_t type = in.Word();
    std::size_t count = in.Word();
    if (in.Failed() || reserved != 0 || type != 1)
        return std::nullopt;
    std::vector<IconGroupEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        IconGroupEntry entry;
        entry.width = in.Byte();
        entry.height = in.Byte();
        entry.colourCount = in.Byte();
        in.Byte();
        entry.planes = in.Word();
        entry.bitCount = in.Word();
        entry.bytes = in.Dword();
        entry.iconId = in.Word();
        entries.push_back(entry);
    }
    if (in.Failed())
        return std::nullopt;
    return entries;
}

std::optional<IconImageHeader> ParseIconImage(const std::vector<std::uint8_t>& bytes)
{
    Cursor in(bytes);
    IconImageHeader header;
    header.headerSize = in.Dword();
    header.width = static_cast<std::int32_t>(in.Dword());
    header.height = static_cast<std::int32_t>(in.Dword());
    header.planes = in.Word();
    header.bitCount = in.Word();
    header.compression = in.Dword();
    in.Dword();  // image size
    in.Dword();  // resolution
    in.Dword();
    header.coloursUsed = in.Dword();
    if (in.Failed())
        return std::nullopt;
    return header;
}

}  // namespace res
