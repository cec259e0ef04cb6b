#include "screen_objects/uScreenTwoPoints.h"

namespace {
constexpr int32_t TwoPointSize = 8;
}

TScreenTwoPoint::TScreenTwoPoint() {
    SetCapacity(2);
    TypeCode = TypeCodeObject;
    SetPointSize(TwoPointSize);
}
