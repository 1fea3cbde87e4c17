/* Creates, lists and removes root-enumerated devices in the Wine prefix, so
 * that a case can have the sound device present (or absent) as it needs.
 *
 *   device_maker.exe add HWID [HWID...]   a media-class device ROOT\MEDIA\nnnn
 *                                         whose hardware-ID list holds the IDs
 *                                         in this order; prints its instance ID
 *   device_maker.exe list                 every present device: instance ID,
 *                                         hardware IDs, driver key
 *   device_maker.exe remove TEXT          removes every present device with a
 *                                         hardware-ID entry containing TEXT
 *   device_maker.exe update HWID INF      UpdateDriverForPlugAndPlayDevicesA
 *                                         with INSTALLFLAG_FORCE, as a check
 *                                         that Wine takes an INF
 *
 * Output lines are tab-separated "key=value" fields; the exit code is 0 on
 * success, 1 when the operation failed, 64 for a command it does not know. */
#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <setupapi.h>
#include <newdev.h>

static const GUID kMediaClass = {
    0x4d36e96c, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

static int Fail(const char* what)
{
    fprintf(stderr, "device_maker: %s failed, error %lu\n", what, GetLastError());
    return 1;
}

static int AddDevice(int count, char** ids)
{
    char hardwareIds[2048];
    char instance[512];
    size_t used = 0;
    int i;
    HDEVINFO set;
    SP_DEVINFO_DATA device;

    for (i = 0; i < count; ++i) {
        size_t n = strlen(ids[i]) + 1;
        if (used + n + 1 > sizeof hardwareIds) {
            fprintf(stderr, "device_maker: hardware IDs too long\n");
            return 1;
        }
        memcpy(hardwareIds + used, ids[i], n);
        used += n;
    }
    hardwareIds[used++] = '\0';

    set = SetupDiCreateDeviceInfoList(&kMediaClass, NULL);
    if (set == INVALID_HANDLE_VALUE)
        return Fail("SetupDiCreateDeviceInfoList");
    device.cbSize = sizeof device;
    if (!SetupDiCreateDeviceInfoA(set, "MEDIA", &kMediaClass, NULL, NULL, DICD_GENERATE_ID,
                                  &device))
        return Fail("SetupDiCreateDeviceInfoA");
    if (!SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, (BYTE*)hardwareIds,
                                           (DWORD)used))
        return Fail("SetupDiSetDeviceRegistryPropertyA");
    if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device))
        return Fail("SetupDiCallClassInstaller(DIF_REGISTERDEVICE)");
    if (!SetupDiGetDeviceInstanceIdA(set, &device, instance, sizeof instance, NULL))
        return Fail("SetupDiGetDeviceInstanceIdA");
    printf("added\tinstance=%s\n", instance);
    SetupDiDestroyDeviceInfoList(set);
    return 0;
}

/* The hardware-ID list as one text, entries separated by '|'; empty when the
 * device has none. */
static void HardwareIdText(HDEVINFO set, SP_DEVINFO_DATA* device, char* text, size_t size)
{
    char ids[4096];
    const char* entry;
    DWORD type = 0;
    text[0] = '\0';
    memset(ids, 0, sizeof ids);
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_HARDWAREID, &type, (BYTE*)ids,
                                           sizeof ids - 2, NULL))
        return;
    for (entry = ids; *entry; entry += strlen(entry) + 1) {
        if (text[0])
            strncat(text, "|", size - strlen(text) - 1);
        strncat(text, entry, size - strlen(text) - 1);
    }
}

static BOOL AnyEntryContains(HDEVINFO set, SP_DEVINFO_DATA* device, const char* needle)
{
    char ids[4096];
    const char* entry;
    memset(ids, 0, sizeof ids);
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_HARDWAREID, NULL, (BYTE*)ids,
                                           sizeof ids - 2, NULL))
        return FALSE;
    for (entry = ids; *entry; entry += strlen(entry) + 1)
        if (strstr(entry, needle))
            return TRUE;
    return FALSE;
}

/* Lists the present devices, or removes those matching `removeText`. */
static int ForEachPresentDevice(const char* removeText)
{
    HDEVINFO set = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    SP_DEVINFO_DATA device;
    DWORD index;
    int removed = 0;
    int failed = 0;
    if (set == INVALID_HANDLE_VALUE)
        return Fail("SetupDiGetClassDevsA");
    device.cbSize = sizeof device;
    for (index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        char instance[512];
        char ids[4096];
        char driver[512];
        if (!SetupDiGetDeviceInstanceIdA(set, &device, instance, sizeof instance, NULL))
            instance[0] = '\0';
        if (removeText) {
            if (!AnyEntryContains(set, &device, removeText))
                continue;
            if (SetupDiRemoveDevice(set, &device)) {
                printf("removed\tinstance=%s\n", instance);
                ++removed;
            } else {
                fprintf(stderr, "device_maker: removing %s failed, error %lu\n", instance,
                        GetLastError());
                ++failed;
            }
            continue;
        }
        HardwareIdText(set, &device, ids, sizeof ids);
        if (!SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_DRIVER, NULL, (BYTE*)driver,
                                               sizeof driver, NULL))
            driver[0] = '\0';
        printf("device\tinstance=%s\thwids=%s\tdriver=%s\n", instance, ids, driver);
    }
    SetupDiDestroyDeviceInfoList(set);
    if (removeText)
        printf("removed_count=%d\n", removed);
    return failed ? 1 : 0;
}

static int UpdateDriver(const char* hardwareId, const char* infPath)
{
    BOOL reboot = FALSE;
    if (!UpdateDriverForPlugAndPlayDevicesA(NULL, hardwareId, infPath, INSTALLFLAG_FORCE,
                                            &reboot))
        return Fail("UpdateDriverForPlugAndPlayDevicesA");
    printf("updated\treboot=%d\n", reboot ? 1 : 0);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "add") == 0)
        return AddDevice(argc - 2, argv + 2);
    if (argc == 2 && strcmp(argv[1], "list") == 0)
        return ForEachPresentDevice(NULL);
    if (argc == 3 && strcmp(argv[1], "remove") == 0)
        return ForEachPresentDevice(argv[2]);
    if (argc == 4 && strcmp(argv[1], "update") == 0)
        return UpdateDriver(argv[2], argv[3]);
    fprintf(stderr,
            "usage: device_maker add HWID [HWID...] | list | remove TEXT | update HWID INF\n");
    return 64;
}
