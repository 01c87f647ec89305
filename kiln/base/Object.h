#pragma once

namespace KILN {

// The polymorphic root of every library class.
class Object {
public:
    virtual ~Object() = default;
};

} // namespace KILN
