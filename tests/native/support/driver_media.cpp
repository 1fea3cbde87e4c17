#include "support/driver_media.h"

#include <vector>

#include "resources/resource.h"

namespace driver_media {

std::string DriverInf(const std::string& lineEnd, bool lastLineEnded)
{
    const std::vector<std::string> lines = {
        "; QNAUDIO.INF - 5740 PCI audio",
        "[Version]",
        "Signature=\"$Windows NT$\"",
        "Class=MEDIA",
        "ClassGUID={4d36e96c-e325-11ce-bfc1-08002be10318}",
        "Provider=%Mfg%",
        "",
        "[Manufacturer]",
        "%Mfg%=Quarnel",
        "",
        "[Quarnel]",
        "%QNAUDIO.DeviceDesc%=QNAUDIO, PCI\\VEN_7E2D&DEV_0111",
        "",
        "[QNAUDIO.AddReg]",
        "HKR,,NTMPDriver,,qnaudio.sys",
        kEnableLegacyLine,
        kJackConfigLine,
        "",
        "[Strings]",
        "Mfg=\"Quarnel\"",
        "QNAUDIO.DeviceDesc=\"5740 PCI Audio Device\"",
    };
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (lastLineEnded || i + 1 < lines.size())
            text += lineEnd;
    }
    return text;
}

void AddDriverPackage(sim::SimMachine& machine, const std::string& folder,
                      const std::string& tag)
{
    machine.files.AddFile(folder + "QNAUDIO.INF", DriverInf() + "; " + tag + "\r\n");
    machine.files.AddFile(folder + "qnaudio.sys", "driver " + tag);
    machine.files.AddFile(folder + "Mixer.dat", "mixer " + tag);
    machine.files.AddFile(folder + "W2KSetup.dat", "installer " + tag);
}

void AnswerRestartPrompt(sim::SimMachine& machine, bool restart)
{
    machine.dialogs.Expect(IDD_RESTART, [restart](sim::SimDialog& prompt) {
        if (!restart)
            prompt.Click(IDC_RESTART_NO);
        prompt.PressOk();
    });
}

}  // namespace driver_media
