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

// Reads the flags of a plan; `check` takes --json only.
class FlagReader {
public:
    FlagReader(const std::vector<std::string>& arguments, ToolOptions& options)
        : m_arguments(arguments), m_options(options)
    {
    }

    void Read(std::size_t from, bool planFlags)
    {
        for (m_at = from; m_at < m_arguments.size(); ++m_at) {
            const std::string& flag = m_arguments[m_at];
            if (flag.rfind("--", 0) != 0) {
                if (!m_options.media.empty())
                    throw UsageError("one media folder only: " + Quoted(m_options.media) +
                                     " and " + Quoted(flag));
                m_options.media = flag;
            } else if (flag == "--json") {
                m_options.json = true;
            } else if (!planFlags) {
                throw UsageError("check takes no option " + Quoted(flag) + " (only --json)");
            } else if (!ReadPlanFlag(flag)) {
                throw UsageError("unknown option " + Quoted(flag));
            }
        }
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
    else
        throw UsageError("unknown command \"" + command + "\" (check or plan)");

    FlagReader(arguments, options).Read(1, options.command == ToolCommand::Plan);
    if (options.media.empty())
        throw UsageError(command + " needs the media folder");
    return options;
}

const char* UsageText()
{
    return "usage: w2kmedia check MEDIA [--json]\n"
           "       w2kmedia plan MEDIA [--windows 95|98|me|nt4|2000|xp] [--args TEXT]\n"
           "           [--device present|absent|fails|reboot] [--apps yes|no] [--driver yes|no]\n"
           "           [--cancel] [--board motherboard|soundcard] [--jack rear|centre|micsub]...\n"
           "           [--legacy] [--restart yes|no] [--json]\n"
           "\n"
           "MEDIA is the folder that holds W2KSetup.exe; the installer sees it as D:\\.\n"
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
           "Exit 2: a usage error, or a media folder that cannot be read.\n";
}
