#pragma once

#include <map>

#include "SoGDIMetafileFile.h"
#include "SoGDIObject.h"

/// The metafile's object table: which slot holds each pen, brush and font the metafile has
/// seen. Playback recreates an object from its create record in that slot, so an object is
/// written once, when first selected, and its slot is freed when the application deletes
/// it, for the next new object to take (as GDI reuses slots).
class SoGDIMetafileObjectTable {
  public:
    explicit SoGDIMetafileObjectTable(SoGDIMetafileFile& file) : file_(file) {}

    /// Writes the selection of `object`, preceded by its create record the first time.
    /// Stock objects are named by their stock index and never created.
    void select(const SoGDIObject& object);
    /// Writes the deletion of `object` if the table holds it, and frees its slot.
    void remove(const SoGDIObject& object);
    /// Whether any object has taken a slot, for the header's handle count.
    bool slotsUsed() const { return slotsUsed_; }
    /// A COLORREF (red in the low byte) as the records hold it.
    static U_COLORREF colour(COLORREF value);

  private:
    /// Writes the create record into a new slot; 0 when that failed (and was reported).
    std::uint32_t create(const SoGDIObject& object);
    char* penRecord(const SoGDIObject& pen, std::uint32_t& slot);
    char* fontRecord(const SoGDIObject& font, std::uint32_t& slot);

    SoGDIMetafileFile& file_;
    /// Slot of each object held, by serial number: addresses may be reused once an object
    /// is freed, serial numbers are not.
    std::map<long, std::uint32_t> slots_;
    bool slotsUsed_ = false;
};
