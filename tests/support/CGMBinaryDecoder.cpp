#include "support/CGMBinaryDecoder.h"

#include <cstring>
#include <initializer_list>

#include "support/CGMElementReader.h"

// Rules of the binary encoding followed here:
// - A command header word holds the class (bits 15-12), the id (11-5) and the parameter
//   length in bytes (4-0). Length 31 announces the long form: a second word with the length
//   in bits 14-0 and, in bit 15, a flag saying that another partition follows; each further
//   partition starts with such a word alone.
// - Every header starts on a 16-bit boundary, so a partition of odd length is followed by a
//   padding byte that its length does not count.
// - Integers, indices and VDC integers are signed big-endian two's complement; colour indices
//   and colour components unsigned. Enumerations are always 16-bit.
// - Fixed-point reals are a signed whole part and an unsigned fraction over 2^16 (or 2^32);
//   floating-point reals are IEEE 754 single or double. The metric scale factor of SCALE
//   MODE is always floating point, of the width the real precision sets.
// - Strings: a length byte; 255 means a 16-bit word follows whose bit 15 flags another part.
// - Cell colours are bit-packed at the local colour precision, each row filling a whole
//   number of 16-bit words.

namespace {

// A cell array bigger than this is taken for corrupt input rather than expanded.
constexpr std::int64_t kMaxCells = std::int64_t(1) << 24;

bool oneOf(std::int64_t v, std::initializer_list<std::int64_t> allowed) {
    for (std::int64_t a : allowed)
        if (v == a) return true;
    return false;
}

class Decoder : public CGMElementReader {
  public:
    explicit Decoder(const std::string& bytes) : CGMElementReader("byte"), in_(bytes) {}

    CGMMetafile run() {
        while (pos_ < in_.size() && !ended_)
            if (!readElement()) break;
        finish(in_.size());
        if (ended_ && pos_ < in_.size()) error(pos_, "data after ENDMF");
        return std::move(mf_);
    }

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
        int lineWidthMode = 1, markerSizeMode = 1;  // scaled
    };

    // Element framing: headers, partitions, padding

    bool word(unsigned& out) {
        if (pos_ + 2 > in_.size()) return false;
        out = static_cast<unsigned char>(in_[pos_]) * 256u +
              static_cast<unsigned char>(in_[pos_ + 1]);
        pos_ += 2;
        return true;
    }

    bool readElement() {
        const std::size_t start = pos_;
        unsigned header = 0, partition = 0;
        if (!word(header)) {
            error(start, "truncated command header");
            return false;
        }
        const int elementClass = static_cast<int>(header >> 12);
        const int id = static_cast<int>((header >> 5) & 0x7F);
        const std::string name =
            "class " + std::to_string(elementClass) + " id " + std::to_string(id);
        const bool longForm = (header & 0x1F) == 31;
        params_.clear();
        for (bool more = true; more;) {
            if (longForm && !word(partition)) {
                error(start, name + ": truncated partition length");
                return false;
            }
            more = longForm && (partition & 0x8000) != 0;
            const std::size_t length = longForm ? partition & 0x7FFF : header & 0x1F;
            if (length + length % 2 > in_.size() - pos_) {
                error(start, name + ": " + std::to_string(length) +
                                 " parameter bytes (and padding to an even count) announced, " +
                                 std::to_string(in_.size() - pos_) + " left");
                return false;
            }
            params_.append(in_, pos_, length);
            pos_ += length + length % 2;
        }
        const CGMElementKind* k = nullptr;
        for (const CGMElementKind& known : kCGMElementKinds)
            if (known.elementClass == elementClass && known.id == id) k = &known;
        bit_ = 0;
        element(k, k ? k->keyword : name, start);
        return true;
    }

    void setModes(const CGMElement& e) override {
        CGMElementReader::setModes(e);
        const std::int64_t first = e.params.empty() ? 0 : e.params[0].integer;
        if (e.keyword == "BEGMF") state_ = State();
        for (const char* mode : {"VDCTYPE", "COLRMODE", "LINEWIDTHMODE", "MARKERSIZEMODE"})
            if (e.keyword == mode && !oneOf(first, {0, 1}))
                error(pos_, e.keyword + ": unknown mode");
        if (e.keyword == "VDCTYPE") state_.vdcReal = first == 1;
        if (e.keyword == "LINEWIDTHMODE") state_.lineWidthMode = static_cast<int>(first);
        if (e.keyword == "MARKERSIZEMODE") state_.markerSizeMode = static_cast<int>(first);
    }

    // Parameter encodings, through a cursor in bits: packed colours need not fill bytes.

    std::size_t bitsLeft() const { return params_.size() * 8 - bit_; }
    bool parametersLeft() const override { return bitsLeft() > 0; }

    bool unsignedBits(int bits, std::uint64_t& out) {
        if (bits <= 0 || static_cast<std::size_t>(bits) > bitsLeft())
            return fail("parameters end early");
        out = 0;
        for (int i = 0; i < bits; ++i, ++bit_) {
            const unsigned byte = static_cast<unsigned char>(params_[bit_ / 8]);
            out = (out << 1) | ((byte >> (7 - bit_ % 8)) & 1u);
        }
        return true;
    }

    bool signedBits(int bits, std::int64_t& out) {
        std::uint64_t u = 0;
        if (!unsignedBits(bits, u)) return false;
        const std::uint64_t sign = std::uint64_t(1) << (bits - 1);
        out = (u & sign) ? static_cast<std::int64_t>(u - sign) - static_cast<std::int64_t>(sign)
                         : static_cast<std::int64_t>(u);
        return true;
    }

    bool realIn(const RealFormat& format, double& out) {
        if (format.fixed) {
            const int half = format.bits / 2;
            std::int64_t whole = 0;
            std::uint64_t fraction = 0;
            if (!signedBits(half, whole) || !unsignedBits(half, fraction)) return false;
            out = static_cast<double>(whole) +
                  static_cast<double>(fraction) / static_cast<double>(std::uint64_t(1) << half);
            return true;
        }
        std::uint64_t u = 0;
        if (!unsignedBits(format.bits, u)) return false;
        if (format.bits == 32) {
            const std::uint32_t narrow = static_cast<std::uint32_t>(u);
            float f = 0;
            std::memcpy(&f, &narrow, sizeof f);
            out = f;
        } else {
            std::memcpy(&out, &u, sizeof out);
        }
        return true;
    }

    bool vdc(double& out) {
        if (state_.vdcReal) return realIn(state_.vdcRealFormat, out);
        std::int64_t v = 0;
        if (!signedBits(16, v)) return false;
        out = static_cast<double>(v);
        return true;
    }

    bool integer(char code, std::int64_t& out) override {
        return signedBits(code == 'I' ? state_.integerBits : state_.indexBits, out);
    }

    bool enumeration(int, std::int64_t& out) override { return signedBits(16, out); }

    // Widths and sizes are VDC when absolute, reals when scaled.
    bool real(char code, double& out) override {
        if (code == 'V' || (code == 'L' && state_.lineWidthMode == 0) ||
            (code == 'M' && state_.markerSizeMode == 0))
            return vdc(out);
        return realIn(code == 'F' ? RealFormat{false, state_.real.bits} : state_.real, out);
    }

    bool string(std::string& out) override {
        std::uint64_t length = 0;
        if (!unsignedBits(8, length)) return false;
        if (length == 255) {
            std::uint64_t word = 0;
            if (!unsignedBits(16, word)) return false;
            if (word & 0x8000) return fail("string continued in another part");
            length = word;
        }
        if (length * 8 > bitsLeft()) return fail("string runs past the parameters");
        out.assign(params_, bit_ / 8, length);
        bit_ += length * 8;
        return true;
    }

    bool colourOf(bool direct, int bits, CGMValue& out) {
        std::uint64_t r = 0, g = 0, b = 0;
        if (!direct) {
            if (!unsignedBits(bits, r)) return false;
            out = CGMValue::makeIndex(static_cast<std::int64_t>(r));
            return true;
        }
        if (!unsignedBits(bits, r) || !unsignedBits(bits, g) || !unsignedBits(bits, b))
            return false;
        out = CGMValue::makeColour(static_cast<std::int64_t>(r), static_cast<std::int64_t>(g),
                                   static_cast<std::int64_t>(b));
        return true;
    }

    bool colour(char code, CGMValue& out) override {
        const bool direct = code == 'D' || (code == 'C' && direct_);
        return colourOf(direct, direct ? state_.colourBits : state_.colourIndexBits, out);
    }

    // Elements of their own layout

    bool special(const std::string& keyword, std::vector<CGMValue>& out) override {
        if (keyword == "REALPREC" || keyword == "VDCREALPREC") return realPrecision(keyword, out);
        if (keyword == "MFELEMLIST") return elementList(out);
        if (keyword == "CELLARRAY" || keyword == "PATTABLE") return cells(keyword, out);
        std::int64_t bits = 0;
        if (!signedBits(state_.integerBits, bits)) return false;
        out.push_back(CGMValue::makeInteger(bits));
        if (!oneOf(bits, {8, 16, 24, 32}))
            return fail(std::to_string(bits) + "-bit precision is not allowed");
        const int b = static_cast<int>(bits);
        if (keyword == "INTEGERPREC") state_.integerBits = b;
        if (keyword == "INDEXPREC") state_.indexBits = b;
        if (keyword == "COLRPREC") state_.colourBits = b;
        if (keyword == "COLRINDEXPREC") state_.colourIndexBits = b;
        return true;
    }

    // Our writers choose IEEE single or double precision; fixed point is only the default.
    bool realPrecision(const std::string& keyword, std::vector<CGMValue>& out) {
        std::int64_t form = 0, exponent = 0, fraction = 0;
        if (!signedBits(16, form) || !signedBits(state_.integerBits, exponent) ||
            !signedBits(state_.integerBits, fraction))
            return false;
        for (std::int64_t v : {form, exponent, fraction}) out.push_back(CGMValue::makeInteger(v));
        RealFormat format{false, 32};
        if (form == 0 && exponent == 12 && fraction == 52)
            format.bits = 64;
        else if (!(form == 0 && exponent == 9 && fraction == 23))
            return fail("unsupported real precision " + std::to_string(form) + "," +
                        std::to_string(exponent) + "," + std::to_string(fraction));
        (keyword == "REALPREC" ? state_.real : state_.vdcRealFormat) = format;
        return true;
    }

    bool elementList(std::vector<CGMValue>& out) {
        std::int64_t count = 0;
        if (!signedBits(state_.integerBits, count)) return false;
        const std::uint64_t pairBits = 2 * static_cast<std::uint64_t>(state_.indexBits);
        if (count < 0 || static_cast<std::uint64_t>(count) * pairBits != bitsLeft())
            return fail("element count " + std::to_string(count) + " does not match its length");
        return signature("*X", out);
    }

    // CELLARRAY: corners, size, local colour precision and a packed representation mode;
    // PATTABLE: index, size and local colour precision. Then the cells row by row at the
    // local precision (0: the metafile's), every row padded to a whole number of 16-bit words.
    bool cells(const std::string& keyword, std::vector<CGMValue>& out) {
        std::int64_t mode = 1;
        if (!signature(keyword == "CELLARRAY" ? "PPPIII" : "XIII", out)) return false;
        if (keyword == "CELLARRAY" && !signedBits(16, mode)) return false;
        if (mode != 1) return fail("cell representation mode " + std::to_string(mode));
        const std::int64_t columns = out[out.size() - 3].integer,
                           rows = out[out.size() - 2].integer, given = out.back().integer;
        const int bits = given != 0 ? static_cast<int>(given)
                         : direct_  ? state_.colourBits
                                    : state_.colourIndexBits;
        if (!oneOf(bits, {1, 2, 4, 8, 16, 24, 32}))
            return fail("local colour precision " + std::to_string(given) + " is not allowed");
        if (columns < 0 || rows < 0 || (columns > 0 && rows > kMaxCells / columns))
            return fail("implausible size " + std::to_string(columns) + "x" + std::to_string(rows));
        for (std::int64_t row = 0; row < rows; ++row) {
            const std::size_t rowStart = bit_;
            for (std::int64_t i = 0; i < columns; ++i) {
                CGMValue c;
                if (!colourOf(direct_, bits, c)) return false;
                out.push_back(c);
            }
            const std::size_t padded = rowStart + (bit_ - rowStart + 15) / 16 * 16;
            if (padded > params_.size() * 8) return fail("row padding missing");
            bit_ = padded;
        }
        return true;
    }

    const std::string& in_;
    std::size_t pos_ = 0;
    std::string params_;   // the element's parameters, partitions joined
    std::size_t bit_ = 0;  // cursor into params_, in bits
    State state_;
};

}  // namespace

CGMMetafile CGMBinaryDecoder::decode(const std::string& bytes) {
    return Decoder(bytes).run();
}
