// Stands in for the browser while the About tests run: registered as the
// open command of "https", it appends the address it was given, one per
// line, to opened.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string log(path, length);
    log.resize(log.find_last_of("\\/") + 1);
    log += "opened.txt";
    std::FILE* out = std::fopen(log.c_str(), "ab");
    if (!out)
        return 1;
    std::fprintf(out, "%s\n", __argc > 1 ? __argv[1] : "");
    std::fclose(out);
    return 0;
}
