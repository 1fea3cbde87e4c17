#include "driver/driver_installation.h"

#include "cleanup/legacy_inf_cleanup.h"
#include "driver/driver_paths.h"
#include "driver/inf_option_patch.h"
#include "driver/install_steps.h"
#include "driver/pnp_update.h"
#include "driver/staging.h"
#include "package/audio_applications.h"

namespace {

DriverInstallOutcome OutcomeOf(const PnpUpdateResult& update, bool replacementRegistered)
{
    if (!update.infHandedOver)
        return DriverInstallOutcome::InfNotRegistered;
    if (update.windowsAsksRestart || !update.newMixersCame || replacementRegistered)
        return DriverInstallOutcome::RestartNeeded;
    return DriverInstallOutcome::Installed;
}

}  // namespace

DriverInstallResult RunDriverInstallation(platform::Platform& os,
                                          const DriverInstallRequest& request)
{
    const DriverInstallSteps steps = StepsOf(request.variant);

    if (steps.closesAudioApplications)
        CloseAudioApplicationsAndMixer(os);
    RemoveLegacyInfFiles(os);
    if (steps.clearsMixerInitialize)
        ClearMixerInitialize(os);

    os.files.MakeDirectory(kProgramFilesDir);
    os.files.MakeDirectory(kQuarnelDir);
    if (steps.createsStagingWithParents)
        os.files.MakeDirectory(kDriverStagingDir);
    if (steps.stagesDosDrivers) {
        os.files.MakeDirectory(kDosDriverDir);
        os.files.MakeDirectory(kDosApplicationDir);
        StageDosDrivers(os, request.sourceDir);
    }

    // In the web set-ups the package lies beside the installer.
    const std::string driverFolder =
        steps.choosesMediaFolder ? ChooseDriverFolder(os, request.sourceDir, request.windowsXP)
                                 : request.sourceDir;
    InfHook infHook;
    if (steps.patchesInfOptions && request.infOptions) {
        InfOptionStates& options = *request.infOptions;
        infHook = [&os, &options](const std::string& stagedPath) {
            PatchInfOptions(os, options, stagedPath);
        };
    }
    StageDriverFiles(os, driverFolder, infHook);
    // Without its INF the update would fail and the reinstall would remove
    // the working driver for nothing it could put in its place.
    if (!os.files.OpensForReading(kStagedInf))
        return DriverInstallResult{DriverInstallOutcome::NothingStaged, 0};
    const bool replacementRegistered =
        steps.registersMixerReplacement && RegisterMixerReplacement(os, driverFolder);

    const PnpUpdateResult update =
        steps.triesDirectUpdate ? InstallStagedDriver(os) : ForceReinstall(os);
    return DriverInstallResult{OutcomeOf(update, replacementRegistered),
                               update.pauseBeforePrompt};
}
