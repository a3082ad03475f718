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

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/CGMMetafile.h"

/// What an element is: keyword, class, id and the kinds of its parameters.
///
/// `params` is a fixed part, optionally followed by '*' and a group repeated until the
/// parameters end ("K*D": an index then colours). Codes: I integer, X index, E enumeration,
/// R real, F real always in floating point, V VDC, P point, S string, C colour in the colour
/// selection mode, D direct colour, K colour index, L/M a line width or marker size in its
/// mode (absolute or scaled). "#" marks an element with its own reader (precisions, element
/// list, cell array, pattern table).
struct CGMElementKind {
    const char* keyword;
    int elementClass, id;
    const char* params;
};

/// Decodes a binary CGM into a CGMMetafile.
class CGMBinaryDecoder {
  public:
    static CGMMetafile decode(const std::string& bytes);

    /// The element with this class and id, or nullptr.
    static const CGMElementKind* kind(int elementClass, int id);
    /// The element with this clear-text keyword (upper case), or nullptr.
    static const CGMElementKind* kind(const std::string& keyword);

  private:
    /// A real format: fixed point (whole and fraction halves) or IEEE floating point.
    struct RealFormat {
        bool fixed = true;
        int bits = 32;
    };
    /// The precisions and modes the metafile has set so far; BEGMF restores these defaults.
    struct State {
        int integerBits = 16, indexBits = 16;
        int colourBits = 8, colourIndexBits = 8;
        RealFormat real;
        bool vdcReal = false;
        RealFormat vdcRealFormat;
        bool direct = false;
        int lineWidthMode = 1, markerSizeMode = 1;  // scaled
    };

    explicit CGMBinaryDecoder(const std::string& bytes) : in_(bytes) {}
    void run();
    bool readElement();
    bool gatherParameters(std::size_t length, bool longForm);
    void decodeElement(const CGMElementKind& kind);
    void afterElement(const CGMElement& e);
    void error(std::size_t at, const std::string& message);

    // parameter cursor over params_, in bits since packed colours need not fill bytes
    bool unsignedBits(int bits, std::uint64_t& out);
    bool signedBits(int bits, std::int64_t& out);
    bool real(const RealFormat& format, double& out);
    bool vdc(double& out);
    bool string(std::string& out);
    bool colour(bool direct, int bits, CGMValue& out);
    bool realValue(bool asVdc, const RealFormat& format, CGMValue& out);
    bool value(char code, std::vector<CGMValue>& out);
    bool signature(const char* params, std::vector<CGMValue>& out);

    // elements with their own readers
    bool special(const std::string& keyword, std::vector<CGMValue>& out);
    bool precision(const std::string& keyword, std::vector<CGMValue>& out);
    bool realPrecision(std::vector<CGMValue>& out);
    bool elementList(std::vector<CGMValue>& out);
    bool cellArray(std::vector<CGMValue>& out);
    bool patternTable(std::vector<CGMValue>& out);
    bool colourList(std::int64_t columns, std::int64_t rows, std::int64_t given,
                    std::vector<CGMValue>& out);
    bool fail(const std::string& why);
    std::size_t bitsLeft() const { return params_.size() * 8 - bit_; }

    const std::string& in_;
    std::size_t pos_ = 0;
    std::size_t start_ = 0;  // where the element being decoded began
    int class_ = 0, id_ = 0;
    std::string params_;    // the element's parameters, partitions joined
    std::size_t bit_ = 0;   // cursor into params_, in bits
    std::string problem_;   // why the element being decoded failed
    bool started_ = false;  // the first element has been seen
    State state_;
    CGMMetafile mf_;
    bool ended_ = false;
};
