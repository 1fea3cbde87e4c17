#include "media_tool/check/findings.h"

#include <algorithm>
#include <tuple>

const char* SeverityName(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        return "note";
    }
    return "note";
}

std::string Finding::Sentence() const
{
    std::string sentence = message;
    const std::string placeholder = "{windows}";
    for (std::size_t at = sentence.find(placeholder); at != std::string::npos;
         at = sentence.find(placeholder, at))
        sentence.replace(at, placeholder.size(), JoinWindows(windows));
    return sentence;
}

void FindingList::Add(Finding finding)
{
    for (Finding& kept : m_findings) {
        if (kept.code != finding.code || kept.path != finding.path ||
            kept.message != finding.message)
            continue;
        for (const std::string& label : finding.windows) {
            if (std::find(kept.windows.begin(), kept.windows.end(), label) == kept.windows.end())
                kept.windows.push_back(label);
        }
        return;
    }
    m_findings.push_back(std::move(finding));
}

std::vector<Finding> FindingList::Sorted() const
{
    std::vector<Finding> sorted = m_findings;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.severity, a.path, a.code) < std::tie(b.severity, b.path, b.code);
    });
    return sorted;
}

bool HasErrors(const std::vector<Finding>& findings)
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

std::string JoinWindows(const std::vector<std::string>& labels)
{
    // "Windows 2000", "Windows XP" become "Windows 2000 and XP".
    const std::string prefix = "Windows ";
    std::string joined;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        std::string label = labels[i];
        if (i > 0 && label.rfind(prefix, 0) == 0)
            label.erase(0, prefix.size());
        if (i > 0)
            joined += i + 1 == labels.size() ? " and " : ", ";
        joined += label;
    }
    return joined;
}
