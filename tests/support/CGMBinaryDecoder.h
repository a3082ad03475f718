#pragma once

// Reads a whole binary-encoded Computer Graphics Metafile:
//
//     CGMMetafile mf = CGMBinaryDecoder::decode(bytes);
//     EXPECT_TRUE(mf.clean()) << mf.errorText();
//     mf.all("LINE")[0].params[1].x;
//
// Written from the encoding's own rules, independently of any writer, so that a writer's
// mistake shows up as a disagreement. It knows the elements our backend writes, and follows
// the precisions and modes the metafile sets as it goes. Bad, truncated or corrupt input
// gives messages in `errors`, never a crash; an element that cannot be decoded is reported
// and skipped by its length.

#include <string>

#include "support/CGMMetafile.h"

/// Decodes a binary CGM into a CGMMetafile.
struct CGMBinaryDecoder {
    static CGMMetafile decode(const std::string& bytes);
};
