// What the installer's compiled resources must hold: every dialog template
// in every language copy, control by control, written out from the tables
// the dialogs are built to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resource_formats.h"

namespace expected {

constexpr std::uint16_t kEnglish = 1033;
constexpr std::uint16_t kChineseTraditional = 1028;
constexpr std::uint16_t kFrench = 1036;
constexpr std::uint16_t kJapanese = 1041;
constexpr std::uint16_t kKorean = 1042;

struct Text {
    enum class Rule { Exact, Prefix, Number };
    Rule rule = Rule::Exact;
    std::string text;
    std::uint16_t number = 0;
};

struct Control {
    int id;
    std::string className;
    std::uint32_t style;
    int x, y, width, height;
    Text text;
};

struct Dialog {
    int templateId;
    std::uint16_t language;
    bool extended;
    std::uint32_t style;
    std::uint32_t exStyle;
    int pointSize;
    std::string face;
    int width, height;
    std::string caption;
    std::vector<Control> controls;
};

// Every template the program carries, each language copy once.
std::vector<Dialog> AllDialogs();

// The differences between a compiled template and what it must be, one line
// each; empty when they agree.
std::vector<std::string> Compare(const Dialog& expected, const res::DialogTemplate& actual);

}  // namespace expected
