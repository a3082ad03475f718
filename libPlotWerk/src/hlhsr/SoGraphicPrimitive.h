#pragma once

#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>

#include <cstdint>

class SoHLHSRVectorize;
class SoPolygon;

/// One stored page primitive of the hidden-surface engine. Points are in the action's
/// normalised view coordinates (x, y in -1 .. 1, the third component the depth, growing away
/// from the viewer); they are projected to the page only when the record prints itself.
class SoGraphicPrimitive {
  public:
    /// What getType() answers, one code per class.
    enum PrimitiveType {
        GRAPHIC_PRIMITIVE = 0,
        PRIMITIVE_MULTI_POINTS = 1,
        PRIMITIVE_MONO_POINT = 2,
        POLYGON = 3,
        POLYLINE = 4,
        POLYMARK = 5,
        TEXT2D = 6,
        IMAGE = 7
    };

    SoGraphicPrimitive() = default;
    SoGraphicPrimitive(const SoGraphicPrimitive&) = delete;
    SoGraphicPrimitive& operator=(const SoGraphicPrimitive&) = delete;

    /// Projects the points in place and hands the record to the action through the engine;
    /// a record can therefore be printed once.
    virtual void print(SoHLHSRVectorize* engine) = 0;
    virtual float getZMax() const = 0;
    virtual float getZMin() const = 0;
    /// The x, y extent of the points.
    virtual SbBox2f* getBBox();
    virtual SbVec4f* getPoint(int i) = 0;
    virtual int getNumPoints() const = 0;
    /// Null for records without a colour per point.
    virtual SbColor* getColor(int i);
    /// Draws the record in the current OpenGL context in the flat colour whose four bytes,
    /// least significant first, are red, green, blue and alpha.
    virtual void render(std::uint32_t idColor) = 0;
    virtual int getType() const;
    /// Cuts the record by cutter's plane into the piece on the viewer's side (front) and the
    /// piece behind (back); false, with nothing made, for a record that cannot be cut (the
    /// default) or a cut that fails.
    virtual bool cutBy(const SoPolygon& cutter, SoGraphicPrimitive*& front,
                       SoGraphicPrimitive*& back) const;
    virtual ~SoGraphicPrimitive();

    /// The x, y extent.
    SbBox2f bbox;
    /// Storage order within one viewport: the tie-break of the depth sort.
    int id = 0;
    /// How often the painter pushed this record back in its current step; also its mark of
    /// visibility in the offscreen pass.
    int moveCount = 0;
    /// The identifier colour of the traced region, for records made by raster tracing.
    int sourceId = 0;

  protected:
    /// cutBy() for a record whose split() makes pieces of its own class.
    template <class Record>
    static bool cutWith(const Record& record, const SoPolygon& cutter, SoGraphicPrimitive*& front,
                        SoGraphicPrimitive*& back) {
        Record *f, *b;
        if (!record.split(cutter, f, b)) return false;
        front = f, back = b;
        return true;
    }
    /// Starts drawing `mode` in the flat colour of idColor's four bytes, least significant
    /// first; false (nothing started) when the offscreen OpenGL is not available.
    static bool beginIdColor(unsigned mode, std::uint32_t idColor);
};
