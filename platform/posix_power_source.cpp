// The power source, from the kernel's power-supply folder (Linux). Each
// supply is a folder with a "type" file (Mains, USB, Battery, ...); mains
// and USB ones say "online", batteries their "status". A system without
// that folder, or without a battery in it, is never on battery.
#include "platform/platform.h"

#include <dirent.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace platform {

namespace {

const char* const supply_folder = "/sys/class/power_supply";

// The first line of `folder`/`name` without its line end; empty when it
// cannot be read. These files hold one short word.
std::string first_line(const std::string& folder, const char* name)
{
    char text[64] = {};
    std::FILE* file = std::fopen((folder + "/" + name).c_str(), "r");
    if (!file)
        return std::string();
    if (!std::fgets(text, sizeof text, file))
        text[0] = '\0';
    std::fclose(file);
    text[std::strcspn(text, "\r\n")] = '\0';
    return text;
}

} // namespace

bool on_battery()
{
    DIR* listing = opendir(supply_folder);
    if (!listing)
        return false;
    bool mains = false;
    bool discharging = false;
    while (const dirent* entry = readdir(listing)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string folder = std::string(supply_folder) + "/" + entry->d_name;
        const std::string type = first_line(folder, "type");
        if (type == "Mains" || type == "USB")
            mains = mains || first_line(folder, "online") == "1";
        else if (type == "Battery")
            discharging = discharging || first_line(folder, "status") == "Discharging";
    }
    closedir(listing);
    // A supply that is online wins: a full battery on mains may still say
    // "Discharging" on some firmware.
    return discharging && !mains;
}

} // namespace platform
