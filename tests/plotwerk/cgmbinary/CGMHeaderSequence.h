#pragma once

class SoCGMBinaryElements;

namespace cgmtest {

/// The metafile and picture descriptors in the order a binary document starts with them,
/// up to the picture body (VDC extent 210 x 297 from the origin); indexed colour adds a
/// colour table of `tableEntries` grey entries (k, k, k) from index 0.
void writeDocumentHeader(SoCGMBinaryElements& elements, bool indexed, int tableEntries = 4);

/// The class and id of every element writeDocumentHeader writes, in order.
struct ElementCode {
    int cls;
    int id;
};
int documentHeaderCodes(bool indexed, const ElementCode** codes);

}  // namespace cgmtest
