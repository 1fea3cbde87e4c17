// Media folders the tests write, each in a temporary folder of its own that
// goes with the test.
#pragma once

#include <string>
#include <vector>

#include "media_tool/check/findings.h"
#include "media_tool/plan/plan.h"

class MediaFolder {
public:
    MediaFolder();
    ~MediaFolder();
    MediaFolder(const MediaFolder&) = delete;
    MediaFolder& operator=(const MediaFolder&) = delete;

    const std::string& Root() const { return m_root; }
    // `path` below the root, folders joined by '\' as on the disc.
    std::string Host(const std::string& path) const;
    void Write(const std::string& path, const std::string& bytes);
    void Folder(const std::string& path);
    void Remove(const std::string& path);

    // What tools/make_media.py writes by default with "--web-setup 0": the
    // installer, the hand-over's Setup.exe, the DOS drivers, the three
    // driver folders and the package in W2K-ME\app\.
    void WriteSample();
    // A web set-up: the installer with its driver package beside it, and
    // setup.ini with these [InstallOption] lines.
    void WriteWebSetup(const std::string& installOptions);
    // A driver package in `folder` ("" or ending in '\').
    void WriteDriverPackage(const std::string& folder);

    static const std::string kInstaller;  // the installer's bytes
    static std::string DriverInf();       // QNAUDIO.INF with both option lines

private:
    std::string m_root;
};

// An ISO 9660 image of the folder as it is now, written by xorriso with
// these options besides -joliet (for instance "-compliance", "...") into
// `images` as NAME.iso; returns its path. Fails the test when xorriso fails.
std::string WriteIsoImage(const MediaFolder& media, const MediaFolder& images,
                          const std::string& name, bool joliet,
                          const std::vector<std::string>& options = {});
// Replaces the first `from` in the file's bytes with `to` (of the same size);
// false when the file holds no `from`.
bool PatchBytes(const std::string& hostPath, const std::string& from, const std::string& to);

// check and plan on the folder as it is now.
std::vector<Finding> CheckFolder(const MediaFolder& media);
PlanResult PlanFolder(const MediaFolder& media, const std::string& commandLine,
                      const PlanSetup& setup = PlanSetup());
// The whole plan: the run, the run after its restart and the changes.
MediaPlan PlanWholeFolder(const MediaFolder& media, const std::string& commandLine,
                          const PlanSetup& setup = PlanSetup());

// The codes of the findings, in their order.
std::vector<std::string> Codes(const std::vector<Finding>& findings);
// The events of one kind, each as EventText gives it.
std::vector<std::string> EventsOf(const PlanResult& plan, const std::string& kind);
