#pragma once

// The root of the window classes.
class VWin {
public:
    virtual ~VWin() = default;
};
