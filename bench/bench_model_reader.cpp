// Loads the scene's nine models as the scene does (a fresh reader per model,
// by resource number) and parses the same texts with tinyobjloader from
// memory, then prints both times and their ratio. Our progress text goes to
// a discarded stream while timing, so console output does not count.
//
// Each figure is the median over rounds of the time to load all nine models
// once; the two readers alternate round by round so that both see the same
// machine load.
#include "objl/model_reader.h"
#include "objl/resource_text.h"

#include <tiny_obj_loader.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ModelPair {
    std::uint32_t obj_id;
    std::uint32_t mtl_id;
};

// OBJ and MTL resource numbers of the scene's models: the rectangle, then
// snowflakes 1 to 8.
const ModelPair scene_models[] = {{141, 140}, {143, 142}, {145, 144}, {147, 146}, {149, 148},
                                  {151, 150}, {153, 152}, {155, 154}, {157, 156}};

using Clock = std::chrono::steady_clock;

// Triangle count of our reader for one model; 0 when it fails.
std::size_t load_ours(const ModelPair& model, std::ostream& progress)
{
    objl::ModelReader reader;
    reader.set_progress_stream(progress);
    if (!reader.read_model(model.obj_id, model.mtl_id))
        return 0;
    return reader.all_indices.size() / 3;
}

// Triangle count of tinyobjloader for the same texts, read from memory.
std::size_t load_tinyobj(const ModelPair& model)
{
    std::istringstream obj(std::string(objl::resource_text(model.obj_id)));
    std::istringstream mtl(std::string(objl::resource_text(model.mtl_id)));
    tinyobj::MaterialStreamReader material_reader(mtl);
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warning;
    std::string error;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, &obj, &material_reader, true))
        return 0;
    std::size_t triangles = 0;
    for (const tinyobj::shape_t& shape : shapes)
        triangles += shape.mesh.indices.size() / 3;
    return triangles;
}

// Seconds to load all nine models `passes` times.
template <class Load>
double time_passes(int passes, Load load)
{
    const Clock::time_point start = Clock::now();
    for (int pass = 0; pass < passes; ++pass)
        for (const ModelPair& model : scene_models)
            load(model);
    return std::chrono::duration<double>(Clock::now() - start).count() / passes;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    std::ostream discarded(nullptr);  // no buffer: every write is dropped

    std::printf("%-8s %10s %10s\n", "model", "ours", "tinyobj");
    bool all_loaded = true;
    for (const ModelPair& model : scene_models) {
        const std::size_t ours = load_ours(model, discarded);
        const std::size_t theirs = load_tinyobj(model);
        std::printf("%3u/%-4u %10zu %10zu triangles\n", model.obj_id, model.mtl_id, ours, theirs);
        all_loaded = all_loaded && ours > 0 && ours == theirs;
    }
    if (!all_loaded) {
        std::printf("a model failed to load or the readers disagree; no timing\n");
        return 1;
    }

    // Enough passes per round for a round to last about 50 ms.
    const double one_pass = time_passes(1, [&](const ModelPair& m) { load_ours(m, discarded); });
    const int passes = std::max(1, static_cast<int>(0.05 / std::max(one_pass, 1e-6)));
    const int rounds = 21;
    std::vector<double> ours_seconds;
    std::vector<double> tinyobj_seconds;
    for (int round = 0; round < rounds; ++round) {
        ours_seconds.push_back(time_passes(passes, [&](const ModelPair& m) { load_ours(m, discarded); }));
        tinyobj_seconds.push_back(time_passes(passes, [](const ModelPair& m) { load_tinyobj(m); }));
    }
    const double ours = median(ours_seconds);
    const double theirs = median(tinyobj_seconds);
    std::printf("all nine models, median of %d rounds of %d passes:\n", rounds, passes);
    std::printf("  ours            %8.3f ms\n", ours * 1e3);
    std::printf("  tinyobjloader   %8.3f ms\n", theirs * 1e3);
    std::printf("  ratio ours/tinyobjloader %.2f (target <= 1.00: %s)\n", ours / theirs,
                ours <= theirs ? "met" : "missed");
    return 0;
}
