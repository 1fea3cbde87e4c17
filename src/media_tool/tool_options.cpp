#include "media_tool/tool_options.h"

namespace {

bool YesNo(const std::string& flag, const std::string& value)
{
    if (value == "yes")
        return true;
    if (value == "no")
        return false;
    throw UsageError(flag + " takes yes or no, not \"" + value + "\"");
}

DeviceState DeviceNamed(const std::string& value)
{
    if (value == "present")
        return DeviceState::Present;
    if (value == "absent")
        return DeviceState::Absent;
    if (value == "fails")
        return DeviceState::Fails;
    if (value == "reboot")
        return DeviceState::Reboot;
    throw UsageError("--device takes present, absent, fails or reboot, not \"" + value + "\"");
}

Jack JackNamed(const std::string& value)
{
    if (value == "rear")
        return Jack::Rear;
    if (value == "centre" || value == "center")
        return Jack::Centre;
    if (value == "micsub")
        return Jack::MicSub;
    throw UsageError("--jack takes rear, centre or micsub, not \"" + value + "\"");
}

bool SoundCardNamed(const std::string& value)
{
    if (value == "motherboard")
        return false;
    if (value == "soundcard")
        return true;
    throw UsageError("--board takes motherboard or soundcard, not \"" + value + "\"");
}

// Reads the flags of a plan; `check` takes --json only, `image` --label
// only, `extract` none.
class FlagReader {
public:
    FlagReader(const std::vector<std::string>& arguments, ToolOptions& options)
        : m_arguments(arguments), m_options(options)
    {
    }

    // Returns the arguments that are no flags, in their order.
    std::vector<std::string> Read(std::size_t from)
    {
        const ToolCommand command = m_options.command;
        std::vector<std::string> positional;
        for (m_at = from; m_at < m_arguments.size(); ++m_at) {
            const std::string& flag = m_arguments[m_at];
            if (flag.rfind("--", 0) != 0) {
                positional.push_back(flag);
            } else if (flag == "--json" &&
                       (command == ToolCommand::Check || command == ToolCommand::Plan)) {
                m_options.json = true;
            } else if (flag == "--label" && command == ToolCommand::Image) {
                m_options.label = Value(flag);
            } else if (command == ToolCommand::Check) {
                throw UsageError("check takes no option " + Quoted(flag) + " (only --json)");
            } else if (command == ToolCommand::Image) {
                throw UsageError("image takes no option " + Quoted(flag) + " (only --label)");
            } else if (command == ToolCommand::Extract) {
                throw UsageError("extract takes no option " + Quoted(flag));
            } else if (!ReadPlanFlag(flag)) {
                throw UsageError("unknown option " + Quoted(flag));
            }
        }
        return positional;
    }

private:
    bool ReadPlanFlag(const std::string& flag)
    {
        PlanSetup& plan = m_options.plan;
        UserAnswers& answers = plan.answers;
        if (flag == "--windows") {
            const std::string name = Value(flag);
            const WindowsChoice* windows = FindWindows(name);
            if (!windows)
                throw UsageError("--windows takes 95, 98, me, nt4, 2000 or xp, not \"" + name +
                                 "\"");
            plan.windows = *windows;
        } else if (flag == "--args") {
            m_options.arguments = Value(flag);
        } else if (flag == "--device") {
            plan.device = DeviceNamed(Value(flag));
        } else if (flag == "--apps") {
            answers.applications = YesNo(flag, Value(flag));
        } else if (flag == "--driver") {
            answers.driver = YesNo(flag, Value(flag));
        } else if (flag == "--cancel") {
            answers.cancel = true;
        } else if (flag == "--board") {
            answers.soundCard = SoundCardNamed(Value(flag));
        } else if (flag == "--jack") {
            answers.jacks.push_back(JackNamed(Value(flag)));
        } else if (flag == "--legacy") {
            answers.disableLegacy = true;
        } else if (flag == "--restart") {
            answers.restart = YesNo(flag, Value(flag));
        } else {
            return false;
        }
        return true;
    }

    // The value after a flag; "--args ''" gives an empty one.
    const std::string& Value(const std::string& flag)
    {
        if (m_at + 1 >= m_arguments.size())
            throw UsageError(flag + " needs a value");
        return m_arguments[++m_at];
    }

    static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

    const std::vector<std::string>& m_arguments;
    ToolOptions& m_options;
    std::size_t m_at = 0;
};

std::string UpperCasedEnd(const std::string& text)
{
    std::string end = text.substr(text.size() - 4);
    for (char& c : end)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return end;
}

// A volume label is ISO 9660 text: at most 32 of A-Z, 0-9 and '_' (Joliet
// shows its first 16); small letters are taken as capitals.
void CheckLabel(std::string& label)
{
    for (char& c : label)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const bool fits = label.size() <= 32 &&
                      label.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") ==
                          std::string::npos;
    if (!fits)
        throw UsageError("--label takes at most 32 of A-Z, 0-9 and '_', not \"" + label + "\"");
}

}  // namespace

ToolOptions ParseToolOptions(const std::vector<std::string>& arguments)
{
    ToolOptions options;
    if (arguments.empty())
        throw UsageError("no command given");
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") {
        options.command = ToolCommand::Help;
        return options;
    }
    if (command == "check")
        options.command = ToolCommand::Check;
    else if (command == "plan")
        options.command = ToolCommand::Plan;
    else if (command == "image")
        options.command = ToolCommand::Image;
    else if (command == "extract")
        options.command = ToolCommand::Extract;
    else
        throw UsageError("unknown command \"" + command + "\" (check, plan, image or extract)");

    const std::vector<std::string> positional = FlagReader(arguments, options).Read(1);
    const bool two = options.command == ToolCommand::Image || options.command == ToolCommand::Extract;
    if (positional.empty())
        throw UsageError(command + " needs the media folder" + (two ? " and where to write" : ""));
    if (positional.size() > (two ? 2u : 1u))
        throw UsageError("one media folder only: \"" + positional[0] + "\" and \"" +
                         positional[two ? 2 : 1] + "\"");
    options.media = positional[0];
    if (!two)
        return options;
    if (positional.size() < 2)
        throw UsageError(command + " needs the media folder and where to write");
    options.output = positional[1];
    const std::string& image = options.command == ToolCommand::Image ? options.output : options.media;
    if (image.size() < 4 || UpperCasedEnd(image) != ".ISO")
        throw UsageError("the image's name must end in .iso, as " + command + " takes it: \"" +
                         image + "\"");
    if (options.command == ToolCommand::Image)
        CheckLabel(options.label);
    return options;
}

const char* UsageText()
{
    return "usage: w2kmedia check MEDIA [--json]\n"
           "       w2kmedia image FOLDER OUT.iso [--label LABEL]\n"
           "       w2kmedia extract IMAGE.iso FOLDER\n"
           "       w2kmedia plan MEDIA [--windows 95|98|me|nt4|2000|xp] [--args TEXT]\n"
           "           [--device present|absent|fails|reboot] [--apps yes|no] [--driver yes|no]\n"
           "           [--cancel] [--board motherboard|soundcard] [--jack rear|centre|micsub]...\n"
           "           [--legacy] [--restart yes|no] [--json]\n"
           "\n"
           "MEDIA is the folder that holds W2KSetup.exe, or an ISO 9660 image of it (a file\n"
           "ending in .iso); the installer sees it as D:\\, every file of an image read-only,\n"
           "under its Joliet names (without Joliet its ISO 9660 names; never Rock Ridge).\n"
           "check  runs the installer on the media on every Windows version and every start\n"
           "       (none, /AP, /DRIVER, -ReplaceMixer after a restart) and lists what would go\n"
           "       wrong; exit 1 when there is an error, 0 otherwise.\n"
           "plan   shows one run, event by event, on a simulated Windows (default XP, the\n"
           "       device present, every answer what Enter gives). In the Windows 2000/XP\n"
           "       dialog the jacks are clicked in the order given, then the board, then the\n"
           "       legacy box. A run that asks for a restart is followed into the run its Run\n"
           "       entry starts after it. With --args -ReplaceMixer a /DRIVER run comes\n"
           "       first, and the plan shows the run that its Run entry starts. At the end,\n"
           "       what the runs changed on drive C: and in the registry (with --json each\n"
           "       file's size and SHA-256).\n"
           "image  writes an ISO 9660 image with Joliet names of the folder with xorriso,\n"
           "       unless a name could not go onto it as it is (then it writes nothing and\n"
           "       exits 1), and checks the image it wrote: exit 1 when there is an error.\n"
           "       The label is the folder's name in ISO 9660 letters unless given.\n"
           "extract  writes the image's folders and files as Windows shows them into FOLDER\n"
           "       (which must not exist yet or be empty), every file read-only.\n"
           "Exit 2: a usage error, or a media folder or image that cannot be read.\n";
}
