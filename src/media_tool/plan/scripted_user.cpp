#include "media_tool/plan/scripted_user.h"

#include "platform/desktop.h"
#include "resources/resource.h"

namespace {

using sim::ClickIfPossible;

int JackBox(Jack jack)
{
    switch (jack) {
    case Jack::Rear:
        return IDC_LINE_IN_REAR;
    case Jack::Centre:
        return IDC_LINE_IN_CENTRE;
    case Jack::MicSub:
        return IDC_MIC_SUBWOOFER;
    }
    return IDC_LINE_IN_REAR;
}

}  // namespace

void AnswerDialogs(sim::SimDialogs& dialogs, const UserAnswers& answers)
{
    dialogs.Always(IDD_SETUP_DIALOG, [answers](sim::SimDialog& dialog) {
        if (answers.cancel) {
            ClickIfPossible(dialog, platform::kIdCancel);
            return;
        }
        if (!answers.applications)
            ClickIfPossible(dialog, IDC_INSTALL_APPLICATIONS);
        if (!answers.driver)
            ClickIfPossible(dialog, IDC_INSTALL_DRIVER);
        // Both boxes cleared leave OK disabled: Cancel is all that is left.
        sim::PressOkOrCancel(dialog);
    });
    // The jacks first, while the motherboard choice keeps their boxes enabled.
    dialogs.Always(IDD_WIN2000_SETUP, [answers](sim::SimDialog& dialog) {
        for (Jack jack : answers.jacks)
            ClickIfPossible(dialog, JackBox(jack));
        if (answers.soundCard)
            ClickIfPossible(dialog, IDC_ON_SOUND_CARD);
        if (answers.disableLegacy)
            ClickIfPossible(dialog, IDC_DISABLE_LEGACY);
        sim::PressOkOrCancel(dialog);
    });
    dialogs.Always(IDD_RESTART, [answers](sim::SimDialog& dialog) {
        if (!answers.restart)
            ClickIfPossible(dialog, IDC_RESTART_NO);
        ClickIfPossible(dialog, platform::kIdOk);
    });
    dialogs.Always(IDD_ABOUTBOX, [](sim::SimDialog& dialog) {
        ClickIfPossible(dialog, platform::kIdOk);
    });
}
