// TScreenTwoPoint: the common ancestor of the shapes defined by two vertices.
#pragma once

#include "screen_objects/uScreenObject.h"

class TScreenTwoPoint : public TScreenObject {
public:
    TScreenTwoPoint();
};
