#pragma once

/// A point of the hidden-line computation: x, y as on the page and z the depth, growing
/// towards the viewer.
struct SoLinePoint {
    double x, y, z;
};
