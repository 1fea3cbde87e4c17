#include "media_tool/media_tool.h"

#include "media_tool/check/check.h"
#include "media_tool/reports/check_report.h"
#include "media_tool/images/image_extract.h"
#include "media_tool/reading/image_scan.h"
#include "media_tool/images/image_writer.h"
#include "media_tool/reports/plan_report.h"
#include "media_tool/tool_options.h"

namespace {

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
    out << (options.json ? FindingsJson(media, findings) : FindingsText(media, findings));
    return HasErrors(findings) ? kErrorFound : kAllWell;
}

}  // namespace

MediaTree LoadMedia(const std::string& path)
{
    return IsImagePath(path) ? ScanImage(path) : ScanMedia(path);
}

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
        media = options.command == ToolCommand::Image ? ScanMedia(options.media)
                                                      : LoadMedia(options.media);
    } catch (const MediaFolderError& error) {
        err << "w2kmedia: " << error.what() << "\n";
        return kCannotRun;
    }
    switch (options.command) {
    case ToolCommand::Plan:
        return Plan(options, media, out, err);
    case ToolCommand::Image:
        return WriteImage(media, options, out, err);
    case ToolCommand::Extract:
        return ExtractImage(media, options.output, out, err);
    default:
        return Check(options, media, out);
    }
}
