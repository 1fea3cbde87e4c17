#include "media_tool/check/plan_checks.h"

#include <algorithm>
#include <optional>

#include "common/ascii.h"
#include "common/exit_codes.h"
#include "driver/driver_paths.h"
#include "driver/staging.h"
#include "media_tool/check/inf_option_lines.h"
#include "media_tool/check/media_checks.h"
#include "sim/sim_context.h"
#include "sim/sim_files.h"

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& start)
{
    return text.size() >= start.size() && sim::EqualNoCase(text.substr(0, start.size()), start);
}

bool EndsWithNoCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && sim::EqualNoCase(text.substr(text.size() - end.size()), end);
}

bool OnMediaDrive(const std::string& path)
{
    return StartsWithNoCase(path, MediaImage::kRoot);
}

// A path on D: as a path below the media root.
std::string BelowRoot(const std::string& path)
{
    return path.substr(std::string(MediaImage::kRoot).size());
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.rfind('\\') + 1);
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('\\') + 1);
}

bool IsTrue(const PlanEvent& event, const char* field)
{
    return event.Field(field) == "true";
}

// How the run was started, for a sentence: "Started without arguments" or
// "Started with \"/AP\"", and the answer in the first dialog.
std::string StartOf(const PlanResult& run)
{
    std::string start = run.commandLine.empty() ? "Started without arguments"
                                                : "Started with \"" + run.commandLine + "\"";
    for (const PlanEvent& event : run.events) {
        if (event.kind == "dialog" && !event.Field("answer").empty())
            return start + " (answering \"" + event.Field("answer") + "\")";
    }
    return start;
}

// The first message box after event `after`, as the user reads it.
std::string MessageAfter(const PlanResult& run, std::size_t after)
{
    for (std::size_t i = after; i < run.events.size(); ++i) {
        if (run.events[i].kind == "message")
            return "\"" + run.events[i].Field("text") + "\"";
    }
    return "nothing at all";
}

class RunChecker {
public:
    RunChecker(const PlanResult& run, const MediaTree& media, FindingList& findings)
        : m_run(run), m_media(media), m_findings(findings), m_start(StartOf(run))
    {
    }

    void Check()
    {
        if (!m_run.stopped.empty())
            Add(Severity::Error, "run-stopped", OnMedia(InstallerName(m_media)),
                m_start + " on {windows}, the installer's run did not end: " + m_run.stopped +
                    ".");
        for (std::size_t i = 0; i < m_run.events.size(); ++i) {
            const PlanEvent& event = m_run.events[i];
            if (event.kind == "start")
                CheckStart(event);
            else if (event.kind == "copy")
                CheckCopy(event);
            else if (event.kind == "file-test")
                CheckFileTest(event, i);
        }
        CheckDriverStaging();
        CheckSilentExit();
    }

private:
    // Why no driver package reached the staging folder, and the remedy.
    struct StagingGap {
        const char* code;
        std::string path;
        std::string source;  // the folder the driver is taken from, and what it lacks
        std::string fix;
    };

    void Add(Severity severity, const std::string& code, const std::string& path,
             const std::string& message)
    {
        m_findings.Add({severity, code, path, message, {m_run.windows.label}});
    }

    void CheckStart(const PlanEvent& event)
    {
        if (m_run.route != "hand-over" || !event.Has("error"))
            return;
        const std::string handOver = std::string(MediaImage::kRoot) + "Setup.exe";
        Add(Severity::Warning, "handover-missing", handOver,
            "On {windows} the installer hands over to " + handOver +
                ", which is missing, so nothing happens and nothing is shown; put the setup "
                "program for these Windows versions there, unless the media is not meant for "
                "them.");
    }

    void CheckCopy(const PlanEvent& event)
    {
        const std::string from = event.Field("from");
        const std::string to = event.Field("to");
        if (event.Field("error") == "path too long") {
            const std::size_t longest = std::max(from.size(), to.size());
            Add(Severity::Error, "path-too-long", from,
                "On {windows} the installer copies " + from + " to " + to + " (" +
                    std::to_string(longest) + " characters), past the " +
                    std::to_string(sim::SimFileSystem::kLongestPath) +
                    " Windows takes, so the copy fails; shorten the file's name.");
        }
        // The installer's copy for the run after the restart.
        if (!event.Has("error") && EndsWithNoCase(from, "\\W2KSetup.dat") &&
            EndsWithNoCase(to, "\\W2KSetup.exe") && OnMediaDrive(from))
            CompareInstallerCopy(from);
    }

    void CompareInstallerCopy(const std::string& from)
    {
        const MediaEntry* copy = m_media.Find(BelowRoot(from));
        const MediaEntry* installer = m_media.Find(InstallerName(m_media));
        if (!copy || !installer || SameBytes(*copy, *installer))
            return;
        Add(Severity::Warning, "installer-copy-differs", from,
            from + " is not the same file as " + OnMedia(installer->path) +
                ", yet it is what runs after the restart to put the new mixer in place; copy "
                "the installer over it.");
    }

    void CheckFileTest(const PlanEvent& event, std::size_t index)
    {
        const std::string path = event.Field("path");
        if (IsTrue(event, "present") || !OnMediaDrive(path) ||
            !EndsWithNoCase(path, "\\app\\Setup.exe"))
            return;
        Add(Severity::Error, "package-missing", path,
            m_start + " on {windows}, the installer looks for the applications' setup program " +
                path + ", which is missing, so the user sees " + MessageAfter(m_run, index) +
                " and no applications are installed; put the package's Setup.exe there.");
    }

    // The driver folder's copy into the staging folder is the last search
    // on the media before the installer tests for the staged INF.
    void CheckDriverStaging()
    {
        std::size_t stagedInfTest = m_run.events.size();
        for (std::size_t i = 0; i < m_run.events.size(); ++i) {
            const PlanEvent& event = m_run.events[i];
            if (event.kind == "file-test" && sim::EqualNoCase(event.Field("path"), kStagedInf))
                stagedInfTest = i;
        }
        if (stagedInfTest == m_run.events.size())
            return;
        // The folder tests that chose the driver folder come right before
        // its search, after any other search on the media.
        const PlanEvent* search = nullptr;
        std::vector<std::string> probes;
        std::vector<std::string> probesSinceSearch;
        for (std::size_t i = 0; i < stagedInfTest; ++i) {
            const PlanEvent& event = m_run.events[i];
            if (event.kind == "search" && OnMediaDrive(event.Field("pattern"))) {
                search = &event;
                probes.swap(probesSinceSearch);
                probesSinceSearch.clear();
            }
            if (event.kind == "folder-test" && OnMediaDrive(event.Field("path")))
                probesSinceSearch.push_back(event.Field("path") +
                                            (IsTrue(event, "present") ? " is there" : " is not"));
        }
        if (!search)
            return;
        const std::string folder = FolderOf(search->Field("pattern"));
        const std::string source =
            folder + (probes.empty() ? "" : " (" + JoinProbes(probes) + ")");
        if (search->Field("files") == "0")
            m_stagingGap = StagingGap{"driver-folder-empty", folder,
                                      source + ", which holds no files",
                                      "put the driver package into " + folder};
        else if (!IsTrue(m_run.events[stagedInfTest], "present"))
            m_stagingGap = StagingGap{"inf-missing", folder + "QNAUDIO.INF",
                                      source + ", which has no QNAUDIO.INF",
                                      "add the driver's QNAUDIO.INF there"};
        // "/S" shows nothing: its finding is its exit code's (CheckSilentExit).
        if (m_stagingGap && m_run.route != "silent")
            Add(Severity::Error, m_stagingGap->code, m_stagingGap->path,
                m_start + " on {windows}, the installer takes the driver from " +
                    m_stagingGap->source + ", so the user sees " +
                    MessageAfter(m_run, stagedInfTest) + " and no driver is installed; " +
                    m_stagingGap->fix + ".");
        if (search->Field("folders") != "0")
            ReportSubfolders(folder);
        if (m_run.route == "win2000-dialog")
            CheckPatchedInfs(folder);
    }

    static std::string JoinProbes(const std::vector<std::string>& probes)
    {
        std::string text;
        for (std::size_t i = 0; i < probes.size(); ++i)
            text += (i == 0 ? "" : ", ") + probes[i];
        return text;
    }

    void ReportSubfolders(const std::string& folder)
    {
        const std::string below = BelowRoot(folder);
        for (const MediaEntry& entry : m_media.entries) {
            if (!entry.folder || !StartsWithNoCase(entry.path, below) ||
                entry.path.find('\\', below.size()) != std::string::npos)
                continue;
            const std::string subfolder = OnMedia(entry.path) + "\\";
            Add(Severity::Warning, "subfolder-not-copied", subfolder,
                "On {windows} the installer copies only the files of " + folder +
                    " into the driver's folder, never " + subfolder +
                    ", so nothing in it reaches the driver; move what the driver needs up into " +
                    folder + ".");
        }
    }

    // The Windows 2000/XP dialog patches each staged file whose name holds
    // ".inf" or ".INF", these two spellings only.
    void CheckPatchedInfs(const std::string& folder)
    {
        for (const PlanEvent& event : m_run.events) {
            if (event.kind != "copy" || event.Has("error") ||
                !sim::EqualNoCase(FolderOf(event.Field("from")), folder) ||
                !StartsWithNoCase(event.Field("to"), kDriverStagingDir))
                continue;
            const std::string from = event.Field("from");
            const std::string name = NameOf(from);
            const bool patched = HasInfExtension(name);
            if (!patched && AsciiUpper(name).find(".INF") != std::string::npos) {
                Add(Severity::Warning, "inf-name-case", from,
                    "With the Windows 2000/XP options dialog on {windows} the installer "
                    "patches only files whose names hold \".inf\" or \".INF\", so the user's "
                    "options never reach " + from + "; spell its extension .INF or .inf.");
            }
            if (patched && sim::EqualNoCase(name, "QNAUDIO.INF"))
                CheckOptionLines(from);
        }
    }

    void CheckOptionLines(const std::string& inf)
    {
        auto bytes = m_media.Read(BelowRoot(inf));
        if (!bytes)
            return;
        for (const MissingOptionLine& gap : MissingOptionLines(*bytes)) {
            const std::string nearest =
                gap.nearestLineNumber == 0
                    ? "the file has no lines"
                    : "the nearest is line " + std::to_string(gap.nearestLineNumber) + ", \"" +
                          gap.nearestLine + "\"";
            Add(Severity::Warning, "inf-option-lines", inf,
                "With the Windows 2000/XP options dialog on {windows} the installer looks in " +
                    inf + " for a line that starts with \"" + gap.expected + "\" (" + nearest +
                    "), finds none, and leaves the user's option silently unapplied; write the "
                    "line exactly so, at the start of its line.");
        }
    }

    // A script reads an unattended run's result from its exit code: 1603
    // on Windows 2000 or XP says that the driver did not go in.
    void CheckSilentExit()
    {
        if (m_run.route != "silent" || m_run.exitCode != kExitInstallFailed)
            return;
        const std::string result = "so it installs nothing and ends with exit code 1603 (" +
                                   std::string(SilentExitMeaning(kExitInstallFailed)) + ")";
        if (m_stagingGap) {
            Add(Severity::Error, "silent-install-fails", m_stagingGap->path,
                m_start + " on {windows}, the unattended installation takes the driver from " +
                    m_stagingGap->source + ", " + result + "; " + m_stagingGap->fix + ".");
            return;
        }
        Add(Severity::Error, "silent-install-fails", OnMedia(InstallerName(m_media)),
            m_start + " on {windows}, Windows does not take the staged driver package, " + result +
                "; check the driver package against this Windows version.");
    }

    const PlanResult& m_run;
    const MediaTree& m_media;
    FindingList& m_findings;
    const std::string m_start;
    std::optional<StagingGap> m_stagingGap;
};

}  // namespace

void CheckRun(const PlanResult& run, const MediaTree& media, FindingList& findings)
{
    RunChecker(run, media, findings).Check();
}

void CheckRestart(const PlanResult& driverRun, const PlanResult& restart, const MediaTree& media,
                  FindingList& findings)
{
    if (restart.started) {
        CheckRun(restart, media, findings);
        return;
    }
    // The driver run copied the installer's copy into the Windows directory
    // for the Run entry; its failed copy names what the media lacks.
    std::string missing;
    for (const PlanEvent& event : driverRun.events) {
        if (event.kind == "copy" && event.Has("error") &&
            EndsWithNoCase(event.Field("from"), "\\W2KSetup.dat"))
            missing = event.Field("from");
    }
    findings.Add({Severity::Error, "installer-copy-missing",
                  missing.empty() ? OnMedia("W2KSetup.dat") : missing,
                  "On {windows} a driver run registers the mixer replacement for after the "
                  "restart, but " + (missing.empty() ? std::string("the installer's copy")
                                                     : missing) +
                      " is missing beside Mixer.dat, so after the restart Windows starts nothing "
                      "and the new mixer never replaces the old one; put a copy of "
                      "W2KSetup.exe there as W2KSetup.dat.",
                  {driverRun.windows.label}});
}
