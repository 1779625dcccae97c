// The planting tests' control: loads each DLL named on the command line by
// bare name, with the system's default search (the program's folder first),
// as a program that does not restrict the search would.
//   load_by_name NAME.dll...
#include <windows.h>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        LoadLibraryA(argv[i]);
    return 0;
}
