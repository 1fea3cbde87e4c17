#include "media_tool/reports/check_report.h"

#include "media_tool/reports/json_text.h"

std::string MediaHeading(const std::string& root, bool image)
{
    return (image ? "Image " : "Media ") + root + " (the installer sees it as D:\\)\n";
}

std::string FindingsText(const MediaTree& media, const std::vector<Finding>& findings)
{
    std::string text = MediaHeading(media.root, media.image.has_value());
    int errors = 0;
    int warnings = 0;
    for (const Finding& finding : findings) {
        text += std::string(SeverityName(finding.severity)) + " " + finding.code + " " +
                finding.path + "\n    " + finding.Sentence() + "\n";
        errors += finding.severity == Severity::Error;
        warnings += finding.severity == Severity::Warning;
    }
    if (findings.empty())
        return text + "No findings: the media checks clean.\n";
    return text + std::to_string(errors) + " error(s), " + std::to_string(warnings) +
           " warning(s), " + std::to_string(findings.size() - errors - warnings) + " note(s).\n";
}

std::string FindingsJson(const MediaTree& media, const std::vector<Finding>& findings)
{
    std::string json = "{\"media\": " + JsonString(media.root) + ", \"findings\": [";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& finding = findings[i];
        json += std::string(i ? ",\n  " : "\n  ") +
                "{\"severity\": " + JsonString(SeverityName(finding.severity)) +
                ", \"code\": " + JsonString(finding.code) +
                ", \"path\": " + JsonString(finding.path) +
                ", \"message\": " + JsonString(finding.Sentence()) + "}";
    }
    return json + (findings.empty() ? "]}\n" : "\n]}\n");
}
