#include "expected_resources.h"

namespace expected {

namespace {

// Window and control styles as the templates combine them.
constexpr std::uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000, WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr std::uint32_t DS_MODALFRAME = 0x80, DS_SETFONT = 0x40;
constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr std::uint32_t BS_PUSHBUTTON = 0, BS_DEFPUSHBUTTON = 1, BS_AUTOCHECKBOX = 3;
constexpr std::uint32_t BS_GROUPBOX = 7, BS_AUTORADIOBUTTON = 9;
constexpr std::uint32_t SS_LEFT = 0, SS_CENTER = 1, SS_ICON = 3, SS_NOPREFIX = 0x80;

constexpr int kNoId = -1;
constexpr int kOk = 1, kCancel = 2;

// A template with a font has DS_SETFONT, which the font statement brings.
constexpr std::uint32_t kModalFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kDefaultButton = kChild | BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr std::uint32_t kButton = kChild | BS_PUSHBUTTON | WS_TABSTOP;
constexpr std::uint32_t kGroupBox = kChild | BS_GROUPBOX;
constexpr std::uint32_t kLeftText = kChild | SS_LEFT | WS_GROUP;
constexpr std::uint32_t kCentredText = kChild | SS_CENTER | WS_GROUP;
constexpr std::uint32_t kCheckBox = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr std::uint32_t kGroupRadio = kChild | BS_AUTORADIOBUTTON | WS_GROUP;
constexpr std::uint32_t kRadio = kChild | BS_AUTORADIOBUTTON;

Text Exact(const std::string& text)
{
    return Text{Text::Rule::Exact, text, 0};
}

struct Rect {
    int x, y, width, height;
};

Control Make(int id, const char* className, std::uint32_t style, Rect rect, Text text)
{
    return Control{id, className, style, rect.x, rect.y, rect.width, rect.height, text};
}

Dialog AboutBox()
{
    Dialog dialog{100, kEnglish, false, kModalFrame, 0, 8, "MS Sans Serif", 235, 55,
                  "About Setup", {}};
    dialog.controls = {
        Make(kNoId, "Static", kChild | SS_ICON, {11, 17, 20, 20}, Text{Text::Rule::Number, "", 128}),
        Make(kNoId, "Static", kLeftText | SS_NOPREFIX, {40, 10, 119, 8}, Exact("Setup Version 2.0")),
        Make(kNoId, "Static", kLeftText, {40, 25, 119, 8}, Text{Text::Rule::Prefix, "Copyright", 0}),
        Make(kOk, "Button", kDefaultButton | WS_GROUP, {178, 7, 50, 14}, Exact("OK")),
    };
    return dialog;
}

// The main options dialog: the same seven controls in every language, with
// the language's texts and geometry.
struct MainDialogCopy {
    std::uint16_t language;
    int width, height;
    const char* caption;
    const char* ok;
    const char* cancel;
    const char* wait;
    const char* applications;
    const char* driver;
    const char* prompt;
    Rect okRect, cancelRect, groupRect, waitRect, applicationsRect, driverRect, promptRect;
    bool waitCentred;
};

const MainDialogCopy kMainDialogCopies[] = {
    {kEnglish, 169, 127, "PCI Audio Device Driver And Applications Setup Program", "OK", "Cancel",
     "Please wait .....", "Install Applications", "Install Device Driver",
     "Please select the installation options:",
     {25, 100, 50, 14}, {90, 100, 50, 14}, {5, 20, 160, 60}, {65, 45, 71, 8}, {20, 35, 96, 10},
     {20, 60, 96, 10}, {5, 10, 130, 8}, false},
    {kChineseTraditional, 169, 125, "安裝 PCI 音效設備驅動程式與應用程式", "確認", "取消",
     "請稍後‧‧‧", "安裝應用程式", "安裝驅動程式", "請選擇安裝選項：",
     {25, 100, 50, 14}, {90, 100, 50, 14}, {5, 20, 160, 60}, {65, 45, 71, 8}, {20, 35, 96, 10},
     {20, 60, 96, 10}, {5, 10, 130, 8}, false},
    {kFrench, 189, 126,
     "Programme d'installation du pilote de peripherique Audio PCI et des applications", "OK",
     "Annuler", "Patientez quelques instants ...", "Installer les applications",
     "Installer le pilote de peripherique", "Choisissez les options d'installation :",
     {35, 100, 50, 14}, {100, 100, 50, 14}, {15, 20, 160, 60}, {50, 45, 96, 8}, {30, 35, 96, 10},
     {30, 60, 135, 10}, {15, 10, 130, 8}, false},
    {kJapanese, 169, 125, "PCI Audio ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞ/ｱﾌﾟﾘｹｰｼｮﾝ ｲﾝｽﾄｰﾙﾌﾟﾛｸﾞﾗﾑ ", "OK",
     "ｷｬﾝｾﾙ ", "お待ちください .....", "ｱﾌﾟﾘｹｰｼｮﾝをｲﾝｽﾄｰﾙする ",
     "ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞをｲﾝｽﾄｰﾙする", "ｲﾝｽﾄｰﾙのｵﾌﾟｼｮﾝを選択してください:",
     {25, 100, 50, 14}, {90, 100, 50, 14}, {5, 20, 160, 60}, {65, 45, 71, 8}, {20, 35, 130, 10},
     {20, 60, 130, 10}, {5, 10, 140, 8}, false},
    {kKorean, 169, 125, "PCI Audio 드라이버 및 응용프로그램 설치", "네", "닫기",
     "잠시만 기다려 주십시오 .....", "응용프로그램 설치", "드라이버 설치",
     "설치 옵션을 선택하여 주십시오:",
     {25, 100, 50, 14}, {90, 100, 50, 14}, {5, 20, 160, 60}, {25, 45, 120, 8}, {20, 35, 125, 10},
     {20, 60, 96, 10}, {5, 10, 145, 8}, true},
};

Dialog MainOptionsDialog(const MainDialogCopy& copy)
{
    Dialog dialog{102, copy.language, true, kModalFrame | WS_VISIBLE, WS_EX_APPWINDOW, 12,
                  "MS Sans Serif", copy.width, copy.height, copy.caption, {}};
    dialog.controls = {
        Make(kOk, "Button", kDefaultButton, copy.okRect, Exact(copy.ok)),
        Make(kCancel, "Button", kButton, copy.cancelRect, Exact(copy.cancel)),
        Make(kNoId, "Button", kGroupBox, copy.groupRect, Exact("")),
        Make(1003, "Static", copy.waitCentred ? kCentredText : kLeftText, copy.waitRect,
             Exact(copy.wait)),
        Make(1001, "Button", kCheckBox, copy.applicationsRect, Exact(copy.applications)),
        Make(1002, "Button", kCheckBox, copy.driverRect, Exact(copy.driver)),
        Make(kNoId, "Static", kLeftText, copy.promptRect, Exact(copy.prompt)),
    };
    return dialog;
}

Dialog Windows2000Dialog()
{
    Dialog dialog{131, kEnglish, true, kModalFrame | WS_VISIBLE, WS_EX_APPWINDOW, 12,
                  "MS Sans Serif", 224, 200,
                  "PCI Audio Device Driver Setup Program for Windows 2000", {}};
    dialog.controls = {
        Make(kOk, "Button", kDefaultButton, {55, 180, 50, 14}, Exact("Install")),
        Make(kCancel, "Button", kButton, {116, 180, 50, 14}, Exact("Cancel")),
        Make(kNoId, "Static", kLeftText, {10, 4, 215, 10},
             Exact("You can install the driver by using the default options, or select the")),
        Make(1000, "Button", kCheckBox, {10, 119, 195, 10},
             Exact("Disable legacy device (MIDI/GAME port)")),
        Make(kNoId, "Static", kLeftText, {10, 26, 136, 8},
             Exact("[Install] to start the installation.")),
        Make(kNoId, "Static", kLeftText, {10, 15, 210, 8},
             Exact("following options which your audio device uses. And then press")),
        Make(kNoId, "Button", kGroupBox, {10, 39, 205, 76}, Exact("Phone Jacks")),
        Make(1006, "Button", kGroupRadio, {20, 49, 76, 10}, Exact("5740 in MotherBoard")),
        Make(1007, "Button", kGroupRadio, {20, 102, 190, 10},
             Exact("5740 in sound card (rear speakers jack individually)")),
        Make(1011, "Button", kCheckBox, {35, 61, 170, 10},
             Exact("Line-in and rear speaker output share the same jack.")),
        Make(1012, "Button", kCheckBox, {35, 73, 175, 10},
             Exact("Line-in and Center/Subwoofer share the same jack.")),
        Make(1013, "Button", kCheckBox, {35, 85, 175, 10},
             Exact("Microphone and Subwoofer share the same jack.")),
        Make(kNoId, "Static", kLeftText, {10, 135, 200, 8},
             Exact("Note: If you are not familiar with the hardware specifications, and are ")),
        Make(kNoId, "Static", kLeftText, {10, 145, 200, 8},
             Exact("using a  pair of speakers, we suggest you use the default setting.")),
        Make(kNoId, "Static", kLeftText, {10, 162, 160, 8},
             Exact("For more information, please refer the Readme.txt.")),
    };
    return dialog;
}

Dialog RestartPrompt(std::uint16_t language)
{
    bool chinese = language == kChineseTraditional;
    Dialog dialog{132, language, false, kModalFrame, 0, 10, "Courier New", 249, 135,
                  chinese ? "重新啟動" : "Restarting Windows", {}};
    dialog.controls = {
        Make(kOk, "Button", kDefaultButton, {190, 110, 50, 14}, Exact(chinese ? "確認" : "OK")),
        Make(kNoId, "Static", kLeftText, {10, 10, 230, chinese ? 30 : 35},
             Exact(chinese ? "音效驅動程式已經安裝到您的電腦中，在您使用新的驅動程式所提供的完整功能之前，您必須重新啟動視窗或您的電腦。"
                           : "The audio driver has installed into your computer. Before you use "
                             "the functions of this new driver, you must restart Windows or your "
                             "computer.")),
        Make(kNoId, "Static", kLeftText, {10, 45, 230, 25},
             Exact(chinese ? "請選擇下列之一選項，按下【確認】按鈕以完成安裝程序。"
                           : "Choose one of the following options and click OK to finish setup.")),
        Make(1000, "Button", kRadio, {10, 75, 230, 10},
             Exact(chinese ? "是，我想立即重新啟動我的電腦。"
                           : "Yes, I want to restart my computer now.")),
        Make(1001, "Button", kRadio, {10, 90, 230, 10},
             Exact(chinese ? "不，我將稍後再重新啟動我的電腦。"
                           : "No, I will restart my computer later.")),
    };
    return dialog;
}

std::string Hex(std::uint32_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text.push_back(digits[(value >> shift) & 0xF]);
    return text;
}

std::string Rectangle(int x, int y, int width, int height)
{
    return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(width) + "," +
           std::to_string(height);
}

std::string Shown(const res::TextOrNumber& text)
{
    return text.isNumber ? "#" + std::to_string(text.number) : "\"" + text.text + "\"";
}

bool Matches(const Text& expected, const res::TextOrNumber& actual)
{
    switch (expected.rule) {
    case Text::Rule::Number:
        return actual.isNumber && actual.number == expected.number;
    case Text::Rule::Prefix:
        return !actual.isNumber && actual.text.rfind(expected.text, 0) == 0;
    case Text::Rule::Exact:
        break;
    }
    return !actual.isNumber && actual.text == expected.text;
}

}  // namespace

std::vector<Dialog> AllDialogs()
{
    std::vector<Dialog> dialogs = {AboutBox()};
    for (const MainDialogCopy& copy : kMainDialogCopies)
        dialogs.push_back(MainOptionsDialog(copy));
    dialogs.push_back(Windows2000Dialog());
    dialogs.push_back(RestartPrompt(kEnglish));
    dialogs.push_back(RestartPrompt(kChineseTraditional));
    return dialogs;
}

std::vector<std::string> Compare(const Dialog& expected, const res::DialogTemplate& actual)
{
    std::vector<std::string> differences;
    auto differ = [&](const std::string& what, const std::string& want, const std::string& got) {
        if (want != got)
            differences.push_back(what + ": want " + want + ", got " + got);
    };
    differ("form", expected.extended ? "DIALOGEX" : "DIALOG", actual.extended ? "DIALOGEX" : "DIALOG");
    differ("style", Hex(expected.style), Hex(actual.style));
    differ("extended style", Hex(expected.exStyle), Hex(actual.exStyle));
    differ("size", std::to_string(expected.width) + "x" + std::to_string(expected.height),
           std::to_string(actual.width) + "x" + std::to_string(actual.height));
    differ("caption", "\"" + expected.caption + "\"", "\"" + actual.caption + "\"");
    differ("font", expected.face + " " + std::to_string(expected.pointSize),
           actual.face + " " + std::to_string(actual.pointSize));
    if (actual.extended) {
        // Weight 0, not italic, the default character set.
        differ("font weight, italic, character set", "0 0 1",
               std::to_string(actual.weight) + " " + std::to_string(actual.italic) + " " +
                   std::to_string(actual.charset));
    }
    differ("menu and class", "none", actual.menu.isNumber || !actual.menu.text.empty() ||
                                             actual.windowClass.isNumber ||
                                             !actual.windowClass.text.empty()
                                         ? "some"
                                         : "none");
    differ("control count", std::to_string(expected.controls.size()),
           std::to_string(actual.controls.size()));

    for (std::size_t i = 0; i < expected.controls.size() && i < actual.controls.size(); ++i) {
        const Control& want = expected.controls[i];
        const res::DialogControl& got = actual.controls[i];
        std::string where = "control " + std::to_string(i + 1) + " (id " + std::to_string(want.id) + ")";
        differ(where + " id", std::to_string(want.id), std::to_string(got.id));
        differ(where + " class", want.className, got.className);
        differ(where + " style", Hex(want.style), Hex(got.style));
        differ(where + " extended style", Hex(0), Hex(got.exStyle));
        differ(where + " rectangle", Rectangle(want.x, want.y, want.width, want.height),
               Rectangle(got.x, got.y, got.width, got.height));
        if (!Matches(want.text, got.text)) {
            std::string wanted = want.text.rule == Text::Rule::Number
                                     ? "#" + std::to_string(want.text.number)
                                     : "\"" + want.text.text + "\"" +
                                           (want.text.rule == Text::Rule::Prefix ? "..." : "");
            differences.push_back(where + " text: want " + wanted + ", got " + Shown(got.text));
        }
        differ(where + " creation data", "0", std::to_string(got.extraBytes));
    }
    return differences;
}

}  // namespace expected
