// IGeometryBuffer.h - vertex data that can be bound, updated and drawn.
#pragma once

namespace Ostrel {

class IGeometryBuffer {
public:
    virtual void Bind() = 0;
    virtual void BindBuffer(int index) = 0;
    // Replaces the first size bytes of the buffer bound to the array target.
    virtual void UpdateBuffer(const void* data, int size) = 0;
    virtual void Destroy() = 0;
    virtual void Draw() = 0;

protected:
    IGeometryBuffer() = default;
    ~IGeometryBuffer() = default;
};

}  // namespace Ostrel
