// Linked into every test program: its output goes out as it is written, so a
// program that dies mid-test still shows how far it got (a Windows program
// that crashes under Wine would otherwise take all of it along).
#include <cstdio>

namespace {

struct UnbufferedOutput {
    UnbufferedOutput() { std::setvbuf(stdout, nullptr, _IONBF, 0); }
} unbuffered_output;

} // namespace
