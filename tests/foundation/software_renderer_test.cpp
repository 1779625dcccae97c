// Which GL_RENDERER names count as software.
#include "app/software_renderer.h"

#include <gtest/gtest.h>

#include <string>

TEST(SoftwareRenderer, MesaAndOtherProcessorRenderersAreSoftware)
{
    EXPECT_TRUE(is_software_renderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(is_software_renderer("softpipe"));
    EXPECT_TRUE(is_software_renderer("Mesa DRI Intel(R) Software Rasterizer"));
    EXPECT_TRUE(is_software_renderer("Google SwiftShader"));
    EXPECT_TRUE(is_software_renderer("GDI Generic"));
    EXPECT_TRUE(is_software_renderer("D3D12 (Microsoft Basic Render Driver)"));
    EXPECT_TRUE(is_software_renderer("zink (LLVMPIPE (LLVM 15.0.6, 256 bits))"));
}

TEST(SoftwareRenderer, GpusHostBackedAdaptersAndUnknownNamesAreHardware)
{
    EXPECT_FALSE(is_software_renderer("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
    EXPECT_FALSE(is_software_renderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(is_software_renderer("SVGA3D; build: RELEASE;  LLVM;"));
    EXPECT_FALSE(is_software_renderer("virgl (NVIDIA GeForce GTX 1080)"));
    EXPECT_FALSE(is_software_renderer("Some Future Adapter"));
    EXPECT_FALSE(is_software_renderer(""));
    EXPECT_FALSE(is_software_renderer(nullptr));
}


// The name can come from the environment: control bytes reach the note
// escaped, never raw.
TEST(SoftwareRenderer, NoteShowsTheNameEscaped)
{
    const std::string note = software_renderer_note("llvmpipe\x1b[2J", false);
    EXPECT_EQ(note.find('\x1b'), std::string::npos) << note;
    EXPECT_NE(note.find("\"llvmpipe\\x1b[2J\""), std::string::npos) << note;
}
