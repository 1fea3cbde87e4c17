#include "media_tool/reports/change_report.h"

#include <cstdint>

#include "media_tool/reports/hex_text.h"
#include "media_tool/reports/json_text.h"
#include "media_tool/reports/sha256.h"
#include "sim/sim_registry.h"

namespace {

using sim::kRegDword;
using sim::kRegExpandSz;
using sim::kRegSz;

using State = std::optional<MachineChange::State>;

bool IsText(std::uint32_t type)
{
    return type == kRegSz || type == kRegExpandSz;
}

std::string TextUpToZero(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

std::uint32_t Dword(const std::string& bytes)
{
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    return number;
}

std::string ValueDataJson(const MachineChange::State& value)
{
    if (IsText(value.type))
        return JsonString(TextUpToZero(value.bytes));
    if (value.type == kRegDword && value.bytes.size() == 4)
        return std::to_string(Dword(value.bytes));
    return JsonString(HexText(value.bytes));
}

std::string StateJson(MachineChange::Kind kind, const State& state)
{
    if (!state)
        return "null";
    if (kind == MachineChange::Kind::File)
        return "{\"size\": " + std::to_string(state->bytes.size()) + ", \"sha256\": " +
               JsonString(Sha256Hex(state->bytes)) + "}";
    return "{\"type\": " + JsonString(RegistryTypeName(state->type)) +
           ", \"data\": " + ValueDataJson(*state) + "}";
}

std::string ValueText(const MachineChange::State& value)
{
    if (IsText(value.type))
        return RegistryTypeName(value.type) + " \"" + TextUpToZero(value.bytes) + "\"";
    if (value.type == kRegDword && value.bytes.size() == 4)
        return RegistryTypeName(value.type) + " " + std::to_string(Dword(value.bytes));
    return RegistryTypeName(value.type) + " " + HexText(value.bytes);
}

}  // namespace

std::string ChangeJson(const MachineChange& change)
{
    std::string json;
    if (change.kind == MachineChange::Kind::File)
        json = "{\"kind\": \"file\", \"change\": " + JsonString(change.change) +
               ", \"path\": " + JsonString(change.path);
    else
        json = "{\"kind\": \"value\", \"change\": " + JsonString(change.change) +
               ", \"key\": " + JsonString(change.path) + ", \"name\": " + JsonString(change.name);
    return json + ", \"before\": " + StateJson(change.kind, change.before) +
           ", \"after\": " + StateJson(change.kind, change.after) + "}";
}

std::string ChangeText(const MachineChange& change)
{
    const State& shown = change.after ? change.after : change.before;
    if (change.kind == MachineChange::Kind::File) {
        std::string text = "file " + change.change + ": " + change.path;
        if (change.after)
            text += " (" + std::to_string(change.after->bytes.size()) + " bytes)";
        return text;
    }
    std::string text = "value " + change.change + ": " + change.path + " \"" + change.name + "\"";
    if (change.change == "removed")
        return text + " (was " + ValueText(*shown) + ")";
    return text + " = " + ValueText(*shown);
}
