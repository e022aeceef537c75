#pragma once

// Anything the scene draws. The frame loop knows objects only through this interface.
class IGraphicObject {
public:
    // Draws the object for the current frame.
    virtual void Draw() = 0;
    // Creates the object's GL resources from its model data; needs a current context.
    virtual void Prepare() = 0;
    virtual ~IGraphicObject() = default;
};
