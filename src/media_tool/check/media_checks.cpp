#include "media_tool/check/media_checks.h"

#include "media_tool/reading/media_image.h"
#include "media_tool/check/setup_ini_checks.h"

Finding ScanFinding(const ScanProblem& problem)
{
    const std::string path = OnMedia(problem.path);
    switch (problem.kind) {
    case ScanProblemKind::Unreadable:
        return {Severity::Warning, "unreadable", path,
                "w2kmedia cannot read " + path + " (" + problem.detail +
                    "), so a disc made from this folder would lack it; make it readable.",
                {}};
    case ScanProblemKind::LinkLoop:
        return {Severity::Warning, "link-loop", path,
                path + " " + problem.detail +
                    ", so w2kmedia left it out: a disc made from this folder would repeat it "
                    "without end; remove the link.",
                {}};
    case ScanProblemKind::NameNotValid:
        return {Severity::Warning, "name-not-valid", path,
                "The name " + path + " cannot exist on a Windows disc (" + problem.detail +
                    "), so the installer would never see it; rename it.",
                {}};
    case ScanProblemKind::NameClash:
        return {Severity::Warning, "name-clash", path,
                path + " and " + OnMedia(problem.detail) +
                    " differ only in case, which Windows takes for one name, so only one of "
                    "them reaches the disc; rename one of them.",
                {}};
    case ScanProblemKind::BrokenEntry:
        return {Severity::Warning, "image-entry-broken", path,
                "The image's entry " + path + " " + problem.detail +
                    ", so w2kmedia left it out and Windows may show it otherwise or not at all; "
                    "write the image again from its folder.",
                {}};
    case ScanProblemKind::NotAFile:
        break;
    }
    return {Severity::Note, "not-a-file", path,
            path + " is neither a file nor a folder, so w2kmedia left it out; a disc cannot "
                   "hold it.",
            {}};
}

std::string OnMedia(const std::string& path)
{
    return MediaImage::kRoot + path;
}

void CheckMediaFolder(const MediaTree& media, FindingList& findings)
{
    for (const ScanProblem& problem : media.problems)
        findings.Add(ScanFinding(problem));

    const std::string installer = InstallerName(media);
    if (installer.empty()) {
        findings.Add({Severity::Error, "installer-missing", OnMedia("W2KSetup.exe"),
                      "There is no W2KSetup.exe at the top of the media, so a user has nothing "
                      "to start (w2kmedia checked the rest as if it were there); put the "
                      "installer there.",
                      {}});
        return;
    }
    const MediaEntry* handOver = media.Find("Setup.exe");
    if (handOver && !handOver->folder &&
        SameBytes(*handOver, *media.Find(installer))) {
        findings.Add({Severity::Error, "handover-loop", OnMedia(handOver->path),
                      "On Windows 95, 98, ME and NT 4 the installer hands over to " +
                          OnMedia(handOver->path) +
                          ", which is the installer itself, so nothing is installed; put the "
                          "setup program for those Windows versions there instead.",
                      {}});
    }
}

void CheckSetupIni(const MediaTree& media, FindingList& findings)
{
    const MediaEntry* entry = media.Find("setup.ini");
    if (!entry || entry->folder)
        return;
    if (auto text = media.Read(entry->path))
        CheckSetupIniText(*text, OnMedia(entry->path), findings);
}
