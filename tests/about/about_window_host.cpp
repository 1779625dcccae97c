// Shows the About window the way configure mode does and exits with 0 once
// it is closed; the tests drive it from outside.
#include "about/about_window.h"

int main()
{
    new AboutWindow(nullptr, 1);
    return 0;
}
