// Linked into every test program: its output goes out as it is written, so a
// program that dies mid-test still shows how far it got, and one that shows
// nothing at all never reached main (scripts/lib/wine-gtest counts on that).
#include <cstdio>

namespace {

struct UnbufferedOutput {
    UnbufferedOutput() { std::setvbuf(stdout, nullptr, _IONBF, 0); }
} unbuffered_output;

} // namespace
