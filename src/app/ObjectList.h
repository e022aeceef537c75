#pragma once

class ObjectArray;

// The frame loop's view of the graphic objects: the factory's array and its busy flag.
struct ObjectList {
    ObjectArray& objects;
    bool& busy;
};
