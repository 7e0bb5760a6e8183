// QuadMesh.h - the unit quad centred on the origin; vertex 0 is the corner with
// the smallest x and y and carries texture coordinate (0, 0).
#pragma once

#include <cstdint>

namespace Ostrel {

struct QuadMesh {
    float positions[12] = {-0.5f, -0.5f, 0.0f, -0.5f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f, 0.5f, -0.5f, 0.0f};
    uint32_t positionCount = 12;
    uint8_t indices[6] = {0, 1, 2, 0, 2, 3};
    uint32_t indexCount = 6;
    float uvs[8] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f};
    uint32_t uvCount = 8;
};

}  // namespace Ostrel
