// What check reports: each finding with its severity, a stable code, the
// media path it concerns and one sentence for the person who builds the media.
#pragma once

#include <string>
#include <vector>

enum class Severity { Error, Warning, Note };

const char* SeverityName(Severity severity);

struct Finding {
    Severity severity = Severity::Warning;
    std::string code;
    std::string path;  // on the media as the installer sees it, "D:\..."
    // What a user would see and how to fix it. "{windows}" stands for the
    // Windows versions on which it happens.
    std::string message;
    std::vector<std::string> windows;  // labels, such as "Windows XP"

    // The message with the versions put in.
    std::string Sentence() const;
};

// Collects findings: the same finding from several runs is kept once, with
// the Windows versions of all of them.
class FindingList {
public:
    void Add(Finding finding);
    // Errors first, then warnings and notes; within each by path and code.
    std::vector<Finding> Sorted() const;

private:
    std::vector<Finding> m_findings;
};

bool HasErrors(const std::vector<Finding>& findings);

// "Windows 2000", "Windows 2000 and XP", "Windows 95, 98 and ME".
std::string JoinWindows(const std::vector<std::string>& labels);
