#include "media_tool/media_tool.h"

#include "media_tool/check.h"
#include "media_tool/check_report.h"
#include "media_tool/plan_report.h"
#include "media_tool/tool_options.h"

namespace {

constexpr int kAllWell = 0;
constexpr int kErrorFound = 1;
constexpr int kCannotRun = 2;

int Plan(const ToolOptions& options, const MediaTree& media, std::ostream& out, std::ostream& err)
{
    if (InstallerName(media).empty()) {
        err << "w2kmedia: " << options.media
            << " is not an install media: there is no W2KSetup.exe in it\n";
        return kCannotRun;
    }
    const MediaPlan plan = PlanMedia(MediaImage(media), options.plan, options.arguments);
    out << (options.json ? PlanJson(plan) : PlanText(plan));
    return kAllWell;
}

int Check(const ToolOptions& options, const MediaTree& media, std::ostream& out)
{
    const std::vector<Finding> findings = CheckMedia(media);
    out << (options.json ? FindingsJson(media.root, findings) : FindingsText(media.root, findings));
    return HasErrors(findings) ? kErrorFound : kAllWell;
}

}  // namespace

int RunMediaTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    ToolOptions options;
    try {
        options = ParseToolOptions(arguments);
    } catch (const UsageError& error) {
        err << "w2kmedia: " << error.what() << "\n\n" << UsageText();
        return kCannotRun;
    }
    if (options.command == ToolCommand::Help) {
        out << UsageText();
        return kAllWell;
    }

    MediaTree media;
    try {
        media = ScanMedia(options.media);
    } catch (const MediaFolderError& error) {
        err << "w2kmedia: " << error.what() << "\n";
        return kCannotRun;
    }
    if (options.command == ToolCommand::Plan)
        return Plan(options, media, out, err);
    return Check(options, media, out);
}
