// Preloaded into the saver in place of libXext's DPMS calls, which neither
// Xvfb nor the X.Org dummy driver answers: a server with DPMS, enabled,
// whose power level is the word in the file VESPERINE_TEST_DPMS_FILE names
// ("standby", "suspend", "off"; anything else is on), read at every call.
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

Bool DPMSQueryExtension(Display*, int* event_base, int* error_base)
{
    *event_base = 0;
    *error_base = 0;
    return True;
}

Bool DPMSCapable(Display*)
{
    return True;
}

Status DPMSInfo(Display*, CARD16* level, BOOL* enabled)
{
    char word[16] = {};
    const char* path = std::getenv("VESPERINE_TEST_DPMS_FILE");
    if (std::FILE* file = path ? std::fopen(path, "r") : nullptr) {
        if (!std::fgets(word, sizeof word, file))
            word[0] = '\0';
        std::fclose(file);
    }
    *enabled = True;
    *level = DPMSModeOn;
    if (std::strncmp(word, "standby", 7) == 0)
        *level = DPMSModeStandby;
    else if (std::strncmp(word, "suspend", 7) == 0)
        *level = DPMSModeSuspend;
    else if (std::strncmp(word, "off", 3) == 0)
        *level = DPMSModeOff;
    return True;
}
