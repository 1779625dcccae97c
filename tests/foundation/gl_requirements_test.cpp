// The start-up check's list of OpenGL entry points against the code that
// calls them: every call in app/, render/ and snow/ has its entry, and every
// entry is called, so the check can neither miss a function nor refuse a
// driver for one the saver no longer uses.
#include "app/gl_requirements.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

bool is_name_char(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Names of the form glXxx followed by "(" in `text`: the OpenGL calls. The
// windowing library's glfw names and the loader's glad names start lower
// case after "gl" and do not count.
void collect_gl_calls(const std::string& text, std::set<std::string>* calls)
{
    for (std::string::size_type at = text.find("gl"); at != std::string::npos; at = text.find("gl", at + 1)) {
        if (at > 0 && is_name_char(text[at - 1]))
            continue;
        if (at + 2 >= text.size() || !std::isupper(static_cast<unsigned char>(text[at + 2])))
            continue;
        std::string::size_type end = at + 2;
        while (end < text.size() && is_name_char(text[end]))
            ++end;
        std::string::size_type next = end;
        while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
            ++next;
        if (next < text.size() && text[next] == '(')
            calls->insert(text.substr(at, end - at));
    }
}

std::set<std::string> product_gl_calls()
{
    std::set<std::string> calls;
    for (const char* folder : {"app", "render", "snow"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(SOURCE_ROOT) + "/" + folder)) {
            std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h")
                continue;
            std::ifstream file(entry.path());
            std::stringstream text;
            text << file.rdbuf();
            collect_gl_calls(text.str(), &calls);
        }
    }
    return calls;
}

TEST(GlRequirements, ListHoldsExactlyTheFunctionsTheProductCalls)
{
    std::set<std::string> called = product_gl_calls();
    ASSERT_GT(called.size(), 30u) << "sources not found under " << SOURCE_ROOT;
    int count = 0;
    const GlEntryPoint* list = gl_required_entry_points(&count);
    std::set<std::string> listed;
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(listed.insert(list[i].name).second) << list[i].name << " is listed twice";
    for (const std::string& name : called)
        EXPECT_EQ(listed.count(name), 1u) << name << " is called but not checked at start-up";
    for (const std::string& name : listed)
        EXPECT_EQ(called.count(name), 1u) << name << " is checked at start-up but never called";
}

TEST(GlRequirements, NothingNeedsMoreThanOpenGL20)
{
    int count = 0;
    const GlEntryPoint* list = gl_required_entry_points(&count);
    std::string previous = "1.0";
    for (int i = 0; i < count; ++i) {
        std::string version = list[i].version;
        EXPECT_TRUE(version == "1.0" || version == "1.1" || version == "1.3" || version == "1.5" || version == "2.0")
            << list[i].name << ": " << version;
        EXPECT_LE(previous, version) << list[i].name << " is out of version order";
        previous = version;
    }
}

TEST(GlRequirements, MessageNamesTheNeedTheDriverAndTheGap)
{
    GlEntryPoint shader{"glCreateShader", "2.0", nullptr};
    EXPECT_EQ(gl_shortage_message("1.5 Mesa 22.3.6", shader),
              "OpenGL 2.0 is needed, but the driver offers OpenGL 1.5 Mesa 22.3.6 "
              "(glCreateShader of OpenGL 2.0 is missing)");
    EXPECT_EQ(gl_shortage_message(nullptr, shader),
              "OpenGL 2.0 is needed, but the driver offers an unknown OpenGL version "
              "(glCreateShader of OpenGL 2.0 is missing)");
}

} // namespace
