// The scene's nine particle batches and its background, by resource number:
// which model, at which scale, how many slots, and how many particles the
// set-up and each respawn pass may place.
#pragma once

#include "snow/snowflake_batch.h"

struct BatchSpec {
    int mesh_resource;      // OBJ text
    int material_resource;  // MTL text
    float scale;            // model units to scene units
    int particle_count;     // slots
    ParticleKind kind;
    int setup_limit;        // particles placed by the set-up
    int respawn_limit;      // particles placed by one respawn pass
};

constexpr int scene_batch_count = 9; // 0..7 snowflakes, 8 soft particles

constexpr BatchSpec scene_batch_specs[scene_batch_count] = {
    {143, 142, 0.05f, 5, ParticleKind::Flake, 2, 1},
    {145, 144, 0.05f, 5, ParticleKind::Flake, 2, 1},
    {147, 146, 0.05f, 5, ParticleKind::Flake, 2, 1},
    {149, 148, 0.05f, 5, ParticleKind::Flake, 2, 1},
    {151, 150, 0.07f, 5, ParticleKind::Flake, 2, 1},
    {153, 152, 0.07f, 5, ParticleKind::Flake, 2, 1},
    {155, 154, 0.05f, 5, ParticleKind::Flake, 2, 1},
    {157, 156, 1.0f, 5, ParticleKind::Flake, 2, 1},
    {141, 140, 1.0f, 200, ParticleKind::Quad, 50, 20},
};

// The background rectangle: the quad model blown up behind everything.
constexpr int background_mesh_resource = 141;
constexpr int background_material_resource = 140;
constexpr float background_scale = 250.0f;
