#include "app/software_renderer.h"

#include "app/quoted_text.h"

#include <cctype>
#include <string>

namespace {

// Pieces of the names software renderers give, in lower case. "llvm" alone
// would not do: VMware's host-backed SVGA3D names LLVM too.
const char* const software_names[] = {
    "llvmpipe", "softpipe", "software rasterizer", "swiftshader", "gdi generic", "basic render driver",
    "apple software renderer", "mesa x11", "mesa offscreen",
};

} // namespace

bool is_software_renderer(const char* renderer)
{
    if (!renderer)
        return false;
    std::string name(renderer);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* piece : software_names) {
        if (name.find(piece) != std::string::npos)
            return true;
    }
    return false;
}

std::string software_renderer_note(const char* renderer, bool turned_down_samples)
{
    // The name may come from the environment: shown escaped, like any
    // outside text, so it cannot move the terminal's cursor or colours.
    std::string text = "Vesperine: " + quoted_text(renderer ? renderer : "") + " is a software renderer; turned down: ";
    if (turned_down_samples)
        text += "multisampling, ";
    return text + "frame rates above " + std::to_string(software_frame_rate) + " a second";
}
