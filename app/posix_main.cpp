// The Linux entry point: the arguments joined with single blanks make the
// command-line text that Windows would hand to WinMain.
#include "app/run_vesperine.h"

#include <string>

int main(int argc, char** argv)
{
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    return run_vesperine(command_line.c_str(), 1);
}
