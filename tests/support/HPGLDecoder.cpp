#include "support/HPGLDecoder.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <utility>

namespace {

constexpr char kEsc = 0x1B;
constexpr char kEtx = 0x03;

// Plotter coordinates are 32-bit device integers; anything beyond cannot be plotted.
constexpr double kMinCoordinate = -1073741824.0;
constexpr double kMaxCoordinate = 1073741823.0;

using Params = std::vector<double>;

bool inRange(double v) {
    return v >= kMinCoordinate && v <= kMaxCoordinate;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isNumberStart(char c) {
    return isDigit(c) || c == '+' || c == '-' || c == '.';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string show(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

/// A byte by its code, for messages.
std::string code(char c) {
    return std::to_string(static_cast<unsigned char>(c));
}

/// Reads one plot: the bytes and where reading stands, the graphics state the commands change
/// and the plot read so far.
class Decoder {
  public:
    explicit Decoder(const std::string& bytes) : in_(bytes) { reset(); }

    // HP-GL/2 syntax: two-letter mnemonics, numbers separated by commas and/or blanks, an
    // optional ';'. Each byte that fits nothing is reported.
    HPGLPlot run() {
        if (!at(kEsc)) error(0, "missing PCL escape at the start");
        while (!atEnd()) {
            const char c = peek();
            if (c == kEsc)
                escape();
            else if (isBlank(c) || c == ';')
                ++pos_;
            else if (isLetter(c) && pos_ + 1 < in_.size() && isLetter(peek(1)))
                command();
            else
                error(pos_++, "unexpected byte " + code(c));
        }
        flushPath();
        if (state_.polygonMode) error(pos_, "polygon mode still open (no PM2)");
        if (plot_.pages > 0 && marks() > marksOnPages_)
            error(in_.size(), "drawing after the last PG");
        return std::move(plot_);
    }

  private:
    struct State {
        int pen = 0, pens = 8;
        double width = 0.35;
        HPGLLineType lineType;
        HPGLWindow window;
        bool penDown = false, positionKnown = true;
        HPGLPoint position;
        bool symbolMode = false;
        char symbol = 0;
        double height = 11.5;  // of the standard font, the stick font
        double run = 1, rise = 0;
        bool polygonMode = false;
        std::vector<HPGLPoint> polygon;
    };

    // The byte level

    bool atEnd() const { return pos_ >= in_.size(); }
    char peek(std::size_t ahead = 0) const { return in_[pos_ + ahead]; }
    bool at(char c) const { return !atEnd() && peek() == c; }

    void error(std::size_t at, const std::string& message) {
        plot_.errors.push_back("byte " + std::to_string(at) + ": " + message);
    }
    bool fail(std::size_t at, const std::string& message) {
        error(at, message);
        return false;
    }

    // ESC % <number> B enters HP-GL/2; our plots use no other escape and never leave it.
    void escape() {
        const std::size_t start = pos_++;
        std::string text = "ESC";
        if (at('%'))
            for (text += in_[pos_++]; !atEnd() && isNumberStart(peek());) text += in_[pos_++];
        if (!at('B') || text.size() < 4) return error(start, "unsupported PCL escape " + text);
        ++pos_;
    }

    // The numbers of a command up to its end (';', a letter or an escape, eating the ';');
    // false, with a message, when a parameter is malformed.
    bool parameters(Params& values) {
        bool ok = true;
        while (!atEnd()) {
            const char c = peek();
            if (isBlank(c) || c == ',') {
                ++pos_;
            } else if (c == ';') {
                ++pos_;
                break;
            } else if (c == kEsc || isLetter(c)) {
                break;
            } else if (isNumberStart(c)) {
                double v = 0;
                if (number(v))
                    values.push_back(v);
                else
                    ok = false;
            } else {
                if (ok) error(pos_, "unexpected byte " + code(c) + " in " + mnemonic_);
                ok = false;
                ++pos_;
            }
        }
        return ok;
    }

    bool numberEnds() const {
        const char c = atEnd() ? ';' : peek();
        return isBlank(c) || c == ',' || c == ';' || c == kEsc || isLetter(c);
    }

    bool number(double& value) {
        const std::size_t start = pos_;
        if (peek() == '+' || peek() == '-') ++pos_;
        std::size_t digits = 0;
        for (; !atEnd() && isDigit(peek()); ++pos_) ++digits;
        if (!atEnd() && peek() == '.')
            for (++pos_; !atEnd() && isDigit(peek()); ++pos_) ++digits;
        if (digits == 0 || !numberEnds()) {
            while (!numberEnds()) ++pos_;
            return fail(start,
                        "bad number '" + in_.substr(start, pos_ - start) + "' in " + mnemonic_);
        }
        value = std::strtod(in_.substr(start, pos_ - start).c_str(), nullptr);
        return std::isfinite(value) || fail(start, "number out of range in " + mnemonic_);
    }

    // PE numbers: digits 63..126 carry six bits each, least significant first; the last one is
    // taken from the terminator range 191..254. Eight digits are enough for any coordinate and
    // few enough to stay exact.
    bool encodedNumber(std::int64_t& out) {
        const std::size_t start = pos_;
        std::int64_t scale = 1;
        out = 0;
        for (int digits = 0;; ++digits, scale *= 64, ++pos_) {
            if (atEnd() || peek() == kEsc) return fail(start, "truncated encoded number");
            if (digits >= 8) return fail(start, "encoded number too long");
            const unsigned c = static_cast<unsigned char>(peek());
            if (c >= 191 && c <= 254) {
                out += (c - 191) * scale;
                ++pos_;
                return true;
            }
            if (c < 63 || c >= 127)
                return fail(pos_, "bad byte " + code(peek()) + " in encoded number");
            out += (c - 63) * scale;
        }
    }

    // Commands

    void command() {
        at_ = pos_;
        mnemonic_ = {static_cast<char>(std::toupper(peek())),
                     static_cast<char>(std::toupper(peek(1)))};
        pos_ += 2;
        if (mnemonic_ == "PE") return encodedPolyline();
        if (mnemonic_ == "LB") return label();
        if (mnemonic_ == "SM") return symbolMode();
        using Handler = void (Decoder::*)(const Params&);
        static const std::map<std::string, Handler> handlers = {
            {"IN", &Decoder::cmdIN}, {"RO", &Decoder::cmdRO}, {"IP", &Decoder::bare},
            {"FT", &Decoder::bare},  {"SS", &Decoder::bare},  {"NP", &Decoder::cmdNP},
            {"TR", &Decoder::cmdTR}, {"PC", &Decoder::cmdPC}, {"PS", &Decoder::cmdPS},
            {"LA", &Decoder::cmdLA}, {"IW", &Decoder::cmdIW}, {"LT", &Decoder::cmdLT},
            {"UL", &Decoder::cmdUL}, {"PW", &Decoder::cmdPW}, {"SP", &Decoder::cmdSP},
            {"PU", &Decoder::move},  {"PA", &Decoder::move},  {"PM", &Decoder::cmdPM},
            {"FP", &Decoder::cmdFP}, {"SD", &Decoder::cmdSD}, {"LO", &Decoder::cmdLO},
            {"DI", &Decoder::cmdDI}, {"PG", &Decoder::cmdPG},
        };
        Params p;
        const bool read = parameters(p);
        const auto found = handlers.find(mnemonic_);
        if (found == handlers.end()) return error(at_, "unknown mnemonic '" + mnemonic_ + "'");
        if (read) (this->*(found->second))(p);  // a bad number drops the whole command
    }

    bool count(const Params& p, std::initializer_list<std::size_t> allowed) {
        for (std::size_t n : allowed)
            if (p.size() == n) return true;
        return fail(at_, mnemonic_ + " with " + std::to_string(p.size()) + " parameters");
    }

    bool toInt(double v, double lo, double hi, int& out, const char* what) {
        if (!(v >= lo && v <= hi && std::floor(v) == v))
            return fail(at_, mnemonic_ + ": bad " + what + " " + show(v));
        out = static_cast<int>(v);
        return true;
    }

    bool validPen(double v, int& out) { return toInt(v, 0, state_.pens - 1, out, "pen"); }

    // IN: everything back to its default but the selected pen.
    void reset() {
        const int pen = state_.pen;
        state_ = State{};
        state_.pen = pen;
    }

    HPGLPen currentPen() const { return HPGLPen{state_.pen, state_.width}; }

    std::size_t marks() const {
        return plot_.polylines.size() + plot_.polygons.size() + plot_.symbols.size() +
               plot_.labels.size();
    }

    void flushPath() {
        if (path_ && path_->points.size() >= 2) plot_.polylines.push_back(std::move(*path_));
        path_.reset();
    }

    void moveTo(double x, double y, bool relative, bool down) {
        HPGLPoint target{x, y};
        if (relative) {
            if (!state_.positionKnown) error(at_, "relative move after a label: position unknown");
            target = {state_.position.x + x, state_.position.y + y};
        }
        if (!inRange(target.x) || !inRange(target.y))
            return error(at_, "coordinate out of range: " + show(target.x) + "," + show(target.y));
        if (state_.polygonMode) {
            // A pen-up move starts the subpath; a pen-down one draws from the pen position.
            std::vector<HPGLPoint>& polygon = state_.polygon;
            if (!down && polygon.size() > 1) return error(at_, "a second subpath in a polygon");
            if (!down) polygon.clear();
            if (polygon.empty() && down) polygon.push_back(state_.position);
            polygon.push_back(target);
        } else {
            if (state_.symbolMode) plot_.symbols.push_back({state_.symbol, currentPen(), target});
            if (!down) {
                flushPath();
            } else {
                if (!path_)
                    path_ = HPGLPolyline{
                        currentPen(), state_.lineType, state_.window, {state_.position}};
                path_->points.push_back(target);
            }
        }
        state_.position = target;
        state_.positionKnown = true;
    }

    void selectPen(int pen) {
        flushPath();
        state_.pen = pen;
    }

    // PE: flags (':' a pen follows, '<' the next pair is a pen-up move, '=' it is absolute) and
    // encoded numbers up to ';'. After a bad part nothing more of the command can be trusted.
    void encodedPolyline() {
        bool pen = false, up = false, absolute = false, haveX = false;
        double x = 0;
        const auto abandon = [this] {
            while (!atEnd() && !at(';') && !at(kEsc)) ++pos_;
            if (!at(';')) return error(at_, "unterminated PE");
            ++pos_;
        };
        for (;;) {
            if (atEnd() || at(kEsc)) return error(at_, "unterminated PE");
            const char c = peek();
            if (c == ';') {
                ++pos_;
                if (pen || up || absolute || haveX)
                    error(at_, "PE ends inside a coordinate pair or after a flag");
                return;
            }
            if (isBlank(c)) {
                ++pos_;
                continue;
            }
            if (c == ':' || c == '<' || c == '=') {
                if (pen || haveX) {
                    error(pos_, std::string("PE flag '") + c + "' where a number belongs");
                    return abandon();
                }
                ++pos_;
                pen = c == ':';
                up = up || c == '<';
                absolute = absolute || c == '=';
                continue;
            }
            std::int64_t n = 0;
            if (!encodedNumber(n)) return abandon();
            // Even numbers carry n/2, odd ones -(n-1)/2.
            const double v = n % 2 == 0 ? static_cast<double>(n / 2) : -static_cast<double>(n / 2);
            int selected = 0;
            if (pen) {
                if (!validPen(v, selected)) return abandon();
                selectPen(selected);
                pen = false;
            } else if (!haveX) {
                x = v;
                haveX = true;
            } else {
                moveTo(x, v, !absolute, !up);
                state_.penDown = !up;
                haveX = up = absolute = false;
            }
        }
    }

    // LB: text up to the ETX terminator (eaten, not kept), or up to an escape, on which the
    // printer acts even inside a label.
    void label() {
        flushPath();
        if (!state_.positionKnown) error(at_, "label right after a label: position unknown");
        HPGLLabel l{state_.position, currentPen(), state_.run, state_.rise, state_.height, {}};
        while (!atEnd() && !at(kEsc) && !at(kEtx)) l.bytes += in_[pos_++];
        if (at(kEtx))
            ++pos_;
        else
            error(at_, "unterminated LB");
        // Where the text leaves the pen depends on font metrics this reader does not know.
        if (!l.bytes.empty()) state_.positionKnown = false;
        plot_.labels.push_back(std::move(l));
    }

    void symbolMode() {
        const char c = atEnd() ? 0 : peek();
        state_.symbolMode = c > 0x20 && c < 0x7F && c != ';';
        if (state_.symbolMode) {
            state_.symbol = c;
            ++pos_;
        }
        if (at(';')) ++pos_;
    }

    // Commands with numeric parameters

    // IP, FT and SS without parameters: P1 and P2 at their defaults, solid fill, the standard
    // font.
    void bare(const Params& p) { count(p, {0}); }

    void cmdIN(const Params& p) {
        if (!count(p, {0, 1})) return;
        flushPath();
        reset();
    }

    void cmdRO(const Params& p) {
        int angle = 0;
        if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 270, angle, "angle"))) return;
        if (angle % 90 != 0) return error(at_, "RO: bad angle " + std::to_string(angle));
        plot_.rotation = angle;
    }

    void cmdNP(const Params& p) {
        int n = 8;
        if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 2, 32768, n, "pen count"))) return;
        state_.pens = plot_.pens = n;
    }

    void cmdTR(const Params& p) {
        int on = 1;
        if (count(p, {0, 1}) && !p.empty()) toInt(p[0], 0, 1, on, "transparency");
    }

    void cmdPC(const Params& p) {
        int pen = 0;
        if (!count(p, {4}) || !validPen(p[0], pen)) return;
        for (int i = 1; i < 4; ++i)
            if (p[i] < 0 || p[i] > 255)
                return error(at_, "PC: colour value " + show(p[i]) + " outside the range");
        plot_.palette[pen] = HPGLColour{p[1], p[2], p[3]};
    }

    void cmdPS(const Params& p) {
        if (!count(p, {2})) return;
        for (double v : p)
            if (!(v > 0) || !inRange(v)) return error(at_, "PS: bad size " + show(v));
        plot_.plotSize = p;
    }

    // Line ends 1..4, joins 1..6 and a miter limit of at least 1, each after its kind.
    void cmdLA(const Params& p) {
        if (p.size() % 2 != 0) return error(at_, "LA with an odd number of parameters");
        for (std::size_t i = 0; i < p.size(); i += 2) {
            int kind = 0, value = 0;
            if (!toInt(p[i], 1, 3, kind, "kind")) return;
            if (kind == 1 && !toInt(p[i + 1], 1, 4, value, "line end")) return;
            if (kind == 2 && !toInt(p[i + 1], 1, 6, value, "line join")) return;
            if (kind == 3 && !(p[i + 1] >= 1)) return error(at_, "LA: miter limit below 1");
        }
        flushPath();
    }

    void cmdIW(const Params& p) {
        if (!count(p, {0, 4})) return;
        HPGLWindow w;
        if (p.size() == 4) {
            for (double v : p)
                if (!inRange(v)) return error(at_, "IW: corner out of range " + show(v));
            if (p[0] > p[2] || p[1] > p[3]) return error(at_, "IW: corners out of order");
            w = HPGLWindow{true, {p[0], p[1]}, {p[2], p[3]}};
        }
        flushPath();
        state_.window = w;
    }

    // LT alone is solid; a type keeps the last pattern length unless it gives one.
    void cmdLT(const Params& p) {
        if (!count(p, {0, 1, 2, 3})) return;
        HPGLLineType next = state_.lineType;
        next.solid = p.empty();
        if (!p.empty() && !toInt(p[0], -8, 8, next.type, "line type")) return;
        if (p.size() >= 2 && !(p[1] > 0)) return error(at_, "LT: pattern length " + show(p[1]));
        if (p.size() >= 2) next.length = p[1];
        int mode = 0;
        if (p.size() == 3 && !toInt(p[2], 0, 1, mode, "mode")) return;
        flushPath();
        state_.lineType = next;
    }

    // UL: a pattern index and up to 20 gaps, none negative and not all zero.
    void cmdUL(const Params& p) {
        if (p.size() > 21) return error(at_, "UL with more than 20 gaps");
        int index = 0;
        if (p.empty() || !toInt(p[0], 1, 8, index, "pattern index")) return;
        double sum = 0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            if (p[i] < 0) return error(at_, "UL: negative gap " + show(p[i]));
            sum += p[i];
        }
        if (!(sum > 0)) error(at_, "UL: all gaps zero");
    }

    void cmdPW(const Params& p) {
        if (!count(p, {1})) return;
        if (p[0] < 0 || p[0] > 1e6) return error(at_, "PW: bad width " + show(p[0]));
        flushPath();
        state_.width = p[0];
    }

    void cmdSP(const Params& p) {
        int pen = 0;
        if (!count(p, {0, 1}) || (!p.empty() && !validPen(p[0], pen))) return;
        selectPen(pen);
    }

    // PU lifts the pen, PA keeps its state; both then move to each absolute pair.
    void move(const Params& p) {
        if (mnemonic_ == "PU") {
            state_.penDown = false;
            flushPath();
        }
        if (p.size() % 2 != 0) error(at_, mnemonic_ + " with an odd number of coordinates");
        for (std::size_t i = 0; i + 1 < p.size(); i += 2)
            moveTo(p[i], p[i + 1], false, state_.penDown);
    }

    // PM0 opens polygon mode; PM2 closes the subpath, drawing back to its first point, which
    // becomes the pen position, and leaves the mode. Our plots draw one subpath a polygon.
    void cmdPM(const Params& p) {
        int kind = 0;
        if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 2, kind, "polygon mode"))) return;
        if (kind == 0) {
            if (state_.polygonMode) error(at_, "PM0 inside polygon mode");
            flushPath();
            state_.polygonMode = true;
            state_.polygon.clear();
            return;
        }
        if (kind == 1) return error(at_, "PM1: more than one subpath is not supported");
        if (!state_.polygonMode) return error(at_, "PM2 outside PM0");
        state_.polygonMode = false;
        std::vector<HPGLPoint>& points = state_.polygon;
        if (points.size() < 2) return points.clear();
        const HPGLPoint first = points.front(), last = points.back();
        if (first.x != last.x || first.y != last.y) points.push_back(first);
        state_.position = first;
    }

    // FP fills the polygon buffer, which stays for further use.
    void cmdFP(const Params& p) {
        int method = 0;
        if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 1, method, "fill method"))) return;
        if (state_.polygonMode) return error(at_, "FP inside polygon mode");
        if (state_.polygon.empty()) return error(at_, "FP with an empty polygon buffer");
        plot_.polygons.push_back(HPGLPolygon{currentPen(), state_.polygon});
    }

    void cmdSD(const Params& p) {
        if (p.size() % 2 != 0) return error(at_, "SD with an odd number of parameters");
        double height = p.empty() ? State().height : state_.height;
        for (std::size_t i = 0; i < p.size(); i += 2) {
            int kind = 0, spacing = 0;
            if (!toInt(p[i], 1, 7, kind, "font attribute kind")) return;
            if (kind == 2 && !toInt(p[i + 1], 0, 1, spacing, "spacing")) return;
            if ((kind == 3 || kind == 4) && !(p[i + 1] > 0))
                return error(at_, "SD: pitch or height " + show(p[i + 1]));
            if (kind == 4) height = p[i + 1];
        }
        state_.height = height;
    }

    void cmdLO(const Params& p) {
        int origin = 1;
        if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 1, 21, origin, "label origin")))
            return;
        if (origin == 10 || origin == 20) error(at_, "LO: bad label origin");
    }

    void cmdDI(const Params& p) {
        if (!count(p, {0, 2})) return;
        if (p.size() == 2 && p[0] == 0 && p[1] == 0) return error(at_, "DI: run and rise both 0");
        state_.run = p.empty() ? 1 : p[0];
        state_.rise = p.empty() ? 0 : p[1];
    }

    void cmdPG(const Params& p) {
        if (!count(p, {0, 1})) return;
        state_.penDown = false;
        flushPath();
        ++plot_.pages;
        marksOnPages_ = marks();
    }

    const std::string& in_;
    std::size_t pos_ = 0;
    std::size_t at_ = 0;  // where the command being decoded began, for messages
    std::string mnemonic_;
    State state_;
    std::optional<HPGLPolyline> path_;
    std::size_t marksOnPages_ = 0;  // marks made before the last PG
    HPGLPlot plot_;
};

}  // namespace

HPGLPlot HPGLDecoder::decode(const std::string& bytes) {
    return Decoder(bytes).run();
}
