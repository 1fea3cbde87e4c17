#include "media_tool/images/image_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "media_tool/check/check.h"
#include "media_tool/reports/check_report.h"
#include "media_tool/reading/image_scan.h"
#include "media_tool/check/media_checks.h"
#include "media_tool/media_tool.h"
#include "media_tool/images/run_program.h"
#include "media_tool/reading/windows_names.h"

namespace fs = std::filesystem;

namespace {

std::string NameOf(const std::string& path)
{
    return path.substr(path.rfind('\\') + 1);
}

// The label when none is given: the folder's name in ISO 9660 letters, cut
// to the 16 characters Joliet shows.
std::string DefaultLabel(const std::string& folder)
{
    std::string name = fs::path(folder).lexically_normal().filename().string();
    if (name.empty() || name == ".")
        name = fs::absolute(folder).lexically_normal().parent_path().filename().string();
    std::string label = Iso9660FormOf(name).substr(0, 16);
    for (char& c : label) {
        if (c == '.')
            c = '_';
    }
    return label.empty() ? "W2KSETUP" : label;
}

// The folder as xorriso is to take it: a tree of its own in which each file
// is a link to the file scanned, so that the image holds exactly what the
// scan kept, under exactly its names. Removed with everything in it.
class StagedTree {
public:
    StagedTree()
    {
        char pattern[] = "/tmp/w2kmedia-image-XXXXXX";
        if (!::mkdtemp(pattern))
            throw std::runtime_error("cannot make a temporary folder for xorriso");
        m_work = pattern;
        fs::create_directory(Tree());
    }
    ~StagedTree()
    {
        std::error_code ignored;
        fs::remove_all(m_work, ignored);
    }
    StagedTree(const StagedTree&) = delete;
    StagedTree& operator=(const StagedTree&) = delete;

    std::string Tree() const { return m_work + "/tree"; }
    std::string Log() const { return m_work + "/xorriso.log"; }

    void Add(const MediaEntry& entry)
    {
        std::string path = entry.path;
        for (char& c : path) {
            if (c == '\\')
                c = '/';
        }
        const fs::path staged = Tree() + "/" + path;
        if (entry.folder)
            fs::create_directory(staged);
        else
            fs::create_symlink(fs::absolute(entry.hostPath), staged);
    }

private:
    std::string m_work;
};

// xorriso's lines worth a person's eye: its warnings and failures.
std::string XorrisoComplaints(const std::string& log, bool failed)
{
    std::ifstream in(log);
    std::string line;
    std::string kept;
    std::vector<std::string> last;
    while (std::getline(in, line)) {
        if (line.find("WARNING") != std::string::npos || line.find("FAILURE") != std::string::npos ||
            line.find("SORRY") != std::string::npos || line.find("FATAL") != std::string::npos)
            kept += "  xorriso: " + line + "\n";
        last.push_back(line);
        if (last.size() > 5)
            last.erase(last.begin());
    }
    if (failed && kept.empty()) {
        for (const std::string& each : last)
            kept += "  xorriso: " + each + "\n";
    }
    return kept;
}

std::string Counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<Finding> FolderFindingsForImage(const MediaTree& folder)
{
    FindingList findings;
    for (const ScanProblem& problem : folder.problems) {
        Finding finding = ScanFinding(problem);
        if (problem.kind == ScanProblemKind::NameNotValid)
            finding.severity = Severity::Error;
        findings.Add(finding);
    }
    std::vector<std::string> tooLong;  // folders already reported, each ending in '\'
    for (const MediaEntry& entry : folder.entries) {
        bool below = false;
        for (const std::string& folderPath : tooLong)
            below = below || entry.path.rfind(folderPath, 0) == 0;
        if (below)
            continue;
        const std::string path = OnMedia(entry.path) + (entry.folder ? "\\" : "");
        const std::string why = WhyJolietCannotHold(NameOf(entry.path));
        const std::size_t length = Utf16Length(entry.path);
        if (!why.empty()) {
            findings.Add({Severity::Error, "name-past-joliet", path,
                          "An image with Joliet names cannot hold the name " + path + " as it is (" +
                              why + "): it would show Windows another name, so no image is "
                              "written; rename it.",
                          {}});
        } else if (length > kLongestJolietPath) {
            findings.Add({Severity::Error, "path-past-joliet", path,
                          "The path " + path + " is " + std::to_string(length) +
                              " characters long below the root, past the " +
                              std::to_string(kLongestJolietPath) +
                              " that Joliet holds, so an image would show Windows nothing there "
                              "and no image is written; shorten its names or nest it less deeply.",
                          {}});
        } else {
            continue;
        }
        if (entry.folder)
            tooLong.push_back(entry.path + "\\");
    }
    return findings.Sorted();
}

int WriteImage(const MediaTree& folder, const ToolOptions& options, std::ostream& out,
               std::ostream& err)
{
    const std::vector<Finding> folderFindings = FolderFindingsForImage(folder);
    if (!folderFindings.empty())
        out << FindingsText(folder, folderFindings);
    if (HasErrors(folderFindings)) {
        out << "No image written: the names above cannot go onto it as they are.\n";
        return kErrorFound;
    }

    const std::string label = options.label.empty() ? DefaultLabel(folder.root) : options.label;
    const std::string part = options.output + ".part";
    std::size_t files = 0;
    {
        StagedTree staged;
        for (const MediaEntry& entry : folder.entries) {
            staged.Add(entry);
            files += !entry.folder;
        }
        std::remove(part.c_str());
        const ProgramRun run = RunProgram({"xorriso", "-abort_on", "FAILURE", "-outdev",
                                           "stdio:" + part, "-follow", "param:link", "-joliet",
                                           "on", "-volid", label, "-map", staged.Tree(), "/"},
                                          staged.Log());
        if (!run.started) {
            err << "w2kmedia: cannot run xorriso (" << run.why
                << "); it writes the image: install it (Debian package xorriso)\n";
            return kCannotRun;
        }
        const bool failed = run.exitStatus != 0;
        const std::string complaints = XorrisoComplaints(staged.Log(), failed);
        if (failed) {
            std::remove(part.c_str());
            err << "w2kmedia: xorriso could not write " << options.output << ":\n" << complaints;
            return kCannotRun;
        }
        out << complaints;
    }
    if (std::rename(part.c_str(), options.output.c_str()) != 0) {
        err << "w2kmedia: cannot put the image at " << options.output << ": "
            << std::strerror(errno) << "\n";
        std::remove(part.c_str());
        return kCannotRun;
    }
    out << "Wrote " << options.output << ": ISO 9660 with Joliet names, label " << label << ", "
        << Counted(folder.entries.size() - files, "folder", "folders") << " and "
        << Counted(files, "file", "files") << ".\n";

    MediaTree image;
    try {
        image = ScanImage(options.output);
    } catch (const MediaFolderError& error) {
        err << "w2kmedia: " << error.what() << "\n";
        return kCannotRun;
    }
    const std::vector<Finding> findings = CheckMedia(image);
    out << FindingsText(image, findings);
    return HasErrors(findings) ? kErrorFound : kAllWell;
}
