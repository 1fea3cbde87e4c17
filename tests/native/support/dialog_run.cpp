#include "support/dialog_run.h"

#include "support/driver_media.h"

namespace {

class BodyApp : public CWinApp {
public:
    explicit BodyApp(const std::function<void(CWinApp&)>& body) : m_body(body) {}
    bool InitInstance() override
    {
        m_body(*this);
        return false;
    }

private:
    const std::function<void(CWinApp&)>& m_body;
};

}  // namespace

InstallerRun RunInApplication(sim::SimMachine& machine, const std::function<void(CWinApp&)>& body)
{
    BodyApp app(body);
    char commandLine[] = "";
    return RunToItsEnd([&] { return AfxWinMain(app, machine.os(), commandLine); });
}

DriverInstaller DriverInstallRecorder::Installer()
{
    return [this](platform::Platform&, const DriverInstallRequest& request) {
        m_machine.context.Note("RunDriverInstallation", VariantName(request.variant));
        requests.push_back(request);
        if (during)
            during(request);
        // The caller shows the restart prompt next; the user says "No".
        if (result.outcome != DriverInstallOutcome::NothingStaged)
            driver_media::AnswerRestartPrompt(m_machine, false);
        return result;
    };
}

const char* VariantName(DriverInstallVariant variant)
{
    switch (variant) {
    case DriverInstallVariant::DriverSwitch:
        return "DriverSwitch";
    case DriverInstallVariant::WebSilent:
        return "WebSilent";
    case DriverInstallVariant::MainDialog:
        return "MainDialog";
    case DriverInstallVariant::Win2000Dialog:
        return "Win2000Dialog";
    }
    return "?";
}
