// Window hints of the library window that preview mode puts inside the host:
// created hidden and undecorated, and never taking the focus on its own.
#pragma once

// Sets those hints before the window is created.
void set_attach_hints();

// Puts the four hints back to the library's defaults afterwards, so that a
// later window creation is not affected.
void restore_default_hints();
