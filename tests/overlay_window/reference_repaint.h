// The reference repaint: keeps nothing, so every rebuild paints every shown
// item in full and unites every area anew. The overlay's own engine is held
// against it by the equivalence test and timed against it by the benchmarks.
#pragma once

#include "overlay_window/uOrvexRepaint.h"

#include <memory>

std::unique_ptr<TRepaintEngine> MakeFullRepaint();
