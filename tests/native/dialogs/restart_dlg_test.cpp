// The restart prompt and the reboot request behind its "Yes".
#include <gtest/gtest.h>

#include <optional>

#include "dialogs/restart_dlg.h"
#include "dialogs/token_privilege.h"
#include "resources/resource.h"
#include "support/setup_machine.h"

namespace {

class RestartPrompt : public ::testing::Test {
protected:
    SetupMachine machine;

    std::vector<std::string> Reboot() {
        return machine.log().Sequence({"OpenProcessToken", "LookupPrivilegeValueA",
                                       "AdjustTokenPrivileges", "CloseHandle", "ExitWindowsEx"});
    }
};

TEST_F(RestartPrompt, YesIsPresetAndOkRequestsTheReboot)
{
    int yesAtStart = -1;
    int noAtStart = -1;
    std::optional<int> focusAtStart;
    machine.dialogs.Expect(IDD_RESTART, [&](sim::SimDialog& prompt) {
        yesAtStart = prompt.Check(IDC_RESTART_YES);
        noAtStart = prompt.Check(IDC_RESTART_NO);
        focusAtStart = prompt.Focus();
        prompt.PressOk();
    });
    ShowRestartPrompt(machine.os());

    EXPECT_EQ(yesAtStart, 1);
    EXPECT_EQ(noAtStart, 0);
    EXPECT_EQ(focusAtStart, platform::kIdOk);  // the first tab stop: the radio buttons are none
    EXPECT_EQ(Reboot(), (std::vector<std::string>{
                            "OpenProcessToken TOKEN_ADJUST_PRIVILEGES",
                            "LookupPrivilegeValueA SeShutdownPrivilege",
                            "AdjustTokenPrivileges SeShutdownPrivilege", "CloseHandle token",
                            "ExitWindowsEx 0x2 0"}));
    EXPECT_EQ(machine.log().Details("EndDialog"), std::vector<std::string>{"132 1"});
    EXPECT_EQ(machine.security.openTokens, 0);
}

TEST_F(RestartPrompt, NoThenOkEndsWithoutTouchingTheToken)
{
    machine.dialogs.Expect(IDD_RESTART, [](sim::SimDialog& prompt) {
        prompt.Click(IDC_RESTART_NO);
        EXPECT_EQ(prompt.Check(IDC_RESTART_YES), 0);  // one group: the system clears "Yes"
        prompt.PressOk();
    });
    ShowRestartPrompt(machine.os());
    EXPECT_TRUE(Reboot().empty());
    EXPECT_EQ(machine.log().Details("EndDialog"), std::vector<std::string>{"132 1"});
}

TEST_F(RestartPrompt, YesAgainAfterNoStillReboots)
{
    machine.dialogs.Expect(IDD_RESTART, [](sim::SimDialog& prompt) {
        prompt.Click(IDC_RESTART_NO);
        prompt.Click(IDC_RESTART_YES);
        prompt.PressOk();
    });
    ShowRestartPrompt(machine.os());
    EXPECT_EQ(machine.security.exitWindowsFlags, std::vector<std::uint32_t>{2});
}

TEST_F(RestartPrompt, EscapeAndTheCloseBoxCancelWithoutARestart)
{
    for (bool escape : {true, false}) {
        SetupMachine fresh;
        fresh.dialogs.Expect(IDD_RESTART, [escape](sim::SimDialog& prompt) {
            if (escape)
                prompt.PressEscape();
            else
                prompt.CloseBox();
        });
        CRestartDlg prompt(fresh.os());
        EXPECT_EQ(prompt.DoModal(), platform::kIdCancel);
        EXPECT_TRUE(fresh.security.exitWindowsFlags.empty());
        EXPECT_EQ(fresh.log().Count("OpenProcessToken"), 0u);
    }
}

TEST_F(RestartPrompt, TheRebootIsRequestedEvenWhenThePrivilegeCannotBeHad)
{
    machine.security.knownPrivileges.clear();
    machine.security.rebootAccepted = false;
    machine.dialogs.Expect(IDD_RESTART, [](sim::SimDialog& prompt) { prompt.PressOk(); });
    ShowRestartPrompt(machine.os());
    EXPECT_EQ(Reboot(), (std::vector<std::string>{
                            "OpenProcessToken TOKEN_ADJUST_PRIVILEGES",
                            "LookupPrivilegeValueA SeShutdownPrivilege (unknown)",
                            "CloseHandle token", "ExitWindowsEx 0x2 0"}));
    // A refused reboot ends the prompt as "No" would.
    EXPECT_EQ(machine.log().Details("EndDialog"), std::vector<std::string>{"132 1"});
}

TEST(EnableTokenPrivilege, ReportsEachOutcome)
{
    SetupMachine unknownName;
    EXPECT_FALSE(EnableTokenPrivilege(unknownName.os(), "SeNoSuchPrivilege"));
    EXPECT_EQ(unknownName.security.openTokens, 0);  // the token is closed again
    EXPECT_EQ(unknownName.log().Count("AdjustTokenPrivileges"), 0u);

    SetupMachine adjusted;
    EXPECT_TRUE(EnableTokenPrivilege(adjusted.os(), "SeShutdownPrivilege"));
    EXPECT_EQ(adjusted.security.enabledPrivileges,
              std::vector<std::string>{"SeShutdownPrivilege"});

    SetupMachine refused;
    refused.security.adjustSucceeds = false;
    EXPECT_FALSE(EnableTokenPrivilege(refused.os(), "SeShutdownPrivilege"));
    EXPECT_EQ(refused.security.openTokens, 0);
}

TEST(EnableTokenPrivilege, ATokenThatDoesNotOpenCountsOnlyWhereThereAreNoTokens)
{
    // Windows 95, 98 and ME: the call exists but is not implemented.
    SetupMachine windows98;
    windows98.security.tokenOpens = false;
    windows98.security.tokenError = platform::kErrorCallNotImplemented;
    EXPECT_TRUE(EnableTokenPrivilege(windows98.os(), "SeShutdownPrivilege"));

    SetupMachine denied;
    denied.security.tokenOpens = false;
    denied.security.tokenError = 5;  // ERROR_ACCESS_DENIED
    EXPECT_FALSE(EnableTokenPrivilege(denied.os(), "SeShutdownPrivilege"));
    EXPECT_EQ(denied.log().Count("LookupPrivilegeValueA"), 0u);
    EXPECT_EQ(denied.log().Count("CloseHandle"), 0u);
}

}  // namespace
