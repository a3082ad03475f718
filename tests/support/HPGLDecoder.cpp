#include "support/HPGLDecoder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Plotter coordinates are 32-bit device integers; anything beyond cannot be plotted.
constexpr double kMinCoordinate = -1073741824.0;
constexpr double kMaxCoordinate = 1073741823.0;
// Corrupt input can produce an error per byte; a bounded list stays readable.
constexpr std::size_t kMaxErrors = 1000;
constexpr unsigned char kEsc = 0x1B;

// The palette a printer starts with: white, black, red, green, yellow, blue, magenta, cyan.
const HPGLColour kDefaultPalette[8] = {{255, 255, 255}, {0, 0, 0},   {255, 0, 0},   {0, 255, 0},
                                       {255, 255, 0},   {0, 0, 255}, {255, 0, 255}, {0, 255, 255}};

bool isLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool isNumberStart(unsigned char c) {
    return isDigit(c) || c == '+' || c == '-' || c == '.';
}

std::string hexByte(unsigned char c) {
    static const char* digits = "0123456789ABCDEF";
    return std::string("0x") + digits[c >> 4] + digits[c & 15];
}

std::string show(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

// Stick font, Roman-8, fixed spacing at 3 characters per inch, 11.5 points, upright, medium.
std::map<int, double> defaultFont() {
    return {{1, 277}, {2, 0}, {3, 3}, {4, 11.5}, {5, 0}, {6, 0}, {7, 48}};
}

bool inRange(double v) {
    return v >= kMinCoordinate && v <= kMaxCoordinate;
}

}  // namespace

HPGLPlot HPGLDecoder::decode(const std::string& bytes, const HPGLDecodeOptions& options) {
    HPGLDecoder decoder(bytes, options);
    decoder.run();
    return std::move(decoder.plot_);
}

HPGLPlot HPGLDecoder::decodeFile(const std::string& path, const HPGLDecodeOptions& options) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        HPGLPlot plot;
        plot.errors.push_back("cannot read " + path);
        return plot;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return decode(bytes, options);
}

HPGLDecoder::HPGLDecoder(const std::string& bytes, const HPGLDecodeOptions& options)
    : in_(bytes), options_(options) {
    resetAll();
}

// Driving loop and messages

void HPGLDecoder::run() {
    if (in_.empty() || byte(0) != kEsc) {
        error(0, "missing PCL escape at the start");
        mode_ = Mode::Hpgl;  // read on, so that the rest is still checked
    }
    while (!atEnd()) {
        const unsigned char c = byte(pos_);
        if (c == kEsc) {
            escape();
        } else if (mode_ == Mode::Hpgl) {
            hpglStep();
        } else {
            if (mode_ == Mode::Pcl && !isBlank(c)) stray("byte outside HP-GL/2 mode");
            ++pos_;  // PJL text is skipped up to the next escape
        }
    }
    finish();
}

void HPGLDecoder::finish() {
    leaveHpgl();
    const auto late = [this](const auto& marks) {
        return plot_.pages > 0 && !marks.empty() && marks.back().page >= plot_.pages;
    };
    if (late(plot_.polylines) || late(plot_.polygons) || late(plot_.symbols) || late(plot_.labels))
        error(in_.size(), "drawing after the last PG");
}

void HPGLDecoder::error(std::size_t at, const std::string& message) {
    if (plot_.errors.size() < kMaxErrors)
        plot_.errors.push_back("byte " + std::to_string(at) + ": " + message);
    else if (plot_.errors.size() == kMaxErrors)
        plot_.errors.push_back("too many errors; the rest are not reported");
}

void HPGLDecoder::stray(const std::string& what) {
    if (!strayRun_) error(pos_, what + " " + hexByte(byte(pos_)));
    strayRun_ = true;
}

// PCL escapes: two-character ones (ESC E) and parameterized ones (ESC % -1 B, ESC & l 0 O)

void HPGLDecoder::escape() {
    strayRun_ = false;
    const std::size_t start = pos_++;
    if (atEnd()) return error(start, "truncated PCL escape");
    const unsigned char c = byte(pos_);
    if (c >= 0x30 && c <= 0x7E) {
        ++pos_;
        return pclCommand(std::string(1, static_cast<char>(c)), start);
    }
    if (c < 0x21 || c > 0x2F) return error(start, "bad PCL escape: ESC " + hexByte(c));
    std::string text(1, static_cast<char>(c));
    ++pos_;
    if (!atEnd() && byte(pos_) >= 0x60 && byte(pos_) <= 0x7E) text += in_[pos_++];
    for (;;) {
        const std::size_t valueStart = pos_;
        while (!atEnd() && (isNumberStart(byte(pos_)))) ++pos_;
        const std::string value = in_.substr(valueStart, pos_ - valueStart);
        if (atEnd()) return error(start, "truncated PCL escape ESC" + text + value);
        const unsigned char p = byte(pos_);
        if (p < 0x40 || p > 0x7E) return error(start, "bad PCL escape ESC" + text + value);
        ++pos_;
        text += value + static_cast<char>(p);
        if (p == 'W' || p == 'w') {  // binary data follows; skip it whole
            const double n = std::strtod(value.c_str(), nullptr);
            const double left = static_cast<double>(in_.size() - pos_);
            pos_ += n > 0 ? static_cast<std::size_t>(std::min(n, left)) : 0;
        }
        if (p <= 0x5E) break;  // upper case ends the escape, lower case combines another
    }
    pclCommand(text, start);
}

void HPGLDecoder::pclCommand(const std::string& text, std::size_t at) {
    plot_.pclEscapes.push_back(text);
    const bool percent = text.size() >= 2 && text[0] == '%';
    if (percent && text.back() == 'B') {
        mode_ = Mode::Hpgl;
        return;
    }
    // Back to PCL (ESC%#A), a printer reset (ESC E) or out to the job language (UEL).
    if (text == "E" || (percent && (text.back() == 'A' || text == "%-12345X"))) {
        leaveHpgl();
        if (text == "E") resetAll();
        mode_ = text == "%-12345X" ? Mode::Pjl : Mode::Pcl;
        return;
    }
    if (mode_ == Mode::Hpgl) error(at, "PCL escape ESC" + text + " inside HP-GL/2");
}

void HPGLDecoder::leaveHpgl() {
    flushPath();
    if (state_.polygonMode) error(pos_, "polygon mode still open (no PM2)");
    state_.polygonMode = false;
}

// HP-GL/2 syntax: two-letter mnemonics, numbers separated by commas and/or blanks, optional ';'

void HPGLDecoder::hpglStep() {
    const unsigned char c = byte(pos_);
    if (isBlank(c) || c == ';') {
        ++pos_;
        strayRun_ = false;
        return;
    }
    if (isLetter(c) && pos_ + 1 < in_.size() && isLetter(byte(pos_ + 1))) {
        strayRun_ = false;
        at_ = pos_;
        mnemonic_ = {static_cast<char>(std::toupper(c)),
                     static_cast<char>(std::toupper(byte(pos_ + 1)))};
        pos_ += 2;
        return command();
    }
    stray("unexpected byte");
    ++pos_;
}

const std::map<std::string, HPGLDecoder::Handler>& HPGLDecoder::handlers() {
    static const std::map<std::string, Handler> table = {
        {"IN", &HPGLDecoder::cmdIN},   {"DF", &HPGLDecoder::cmdDF},   {"RO", &HPGLDecoder::cmdRO},
        {"IP", &HPGLDecoder::cmdIP},   {"IR", &HPGLDecoder::cmdIP},   {"SC", &HPGLDecoder::cmdSC},
        {"FT", &HPGLDecoder::cmdFT},   {"NP", &HPGLDecoder::cmdNP},   {"TR", &HPGLDecoder::cmdTR},
        {"CR", &HPGLDecoder::cmdCR},   {"PC", &HPGLDecoder::cmdPC},   {"PS", &HPGLDecoder::cmdPS},
        {"LA", &HPGLDecoder::cmdLA},   {"IW", &HPGLDecoder::cmdIW},   {"LT", &HPGLDecoder::cmdLT},
        {"UL", &HPGLDecoder::cmdUL},   {"PW", &HPGLDecoder::cmdPW},   {"WU", &HPGLDecoder::cmdWU},
        {"SP", &HPGLDecoder::cmdSP},   {"PU", &HPGLDecoder::cmdMove}, {"PD", &HPGLDecoder::cmdMove},
        {"PA", &HPGLDecoder::cmdMove}, {"PR", &HPGLDecoder::cmdMove}, {"PM", &HPGLDecoder::cmdPM},
        {"FP", &HPGLDecoder::cmdFill}, {"EP", &HPGLDecoder::cmdFill}, {"SD", &HPGLDecoder::cmdSD},
        {"AD", &HPGLDecoder::cmdSD},   {"SS", &HPGLDecoder::cmdSS},   {"SA", &HPGLDecoder::cmdSS},
        {"LO", &HPGLDecoder::cmdLO},   {"DI", &HPGLDecoder::cmdDI},   {"PG", &HPGLDecoder::cmdPG},
    };
    return table;
}

void HPGLDecoder::command() {
    if (mnemonic_ == "PE") return encodedPolyline();
    if (mnemonic_ == "LB") return label();
    if (mnemonic_ == "DT") return labelTerminator();
    if (mnemonic_ == "SM") return symbolMode();
    if (mnemonic_ == "CO") return comment();
    const auto found = handlers().find(mnemonic_);
    if (found == handlers().end()) {
        error(at_, "unknown mnemonic '" + mnemonic_ + "'");
        return skipParameters();
    }
    Params p;
    if (parameters(p)) (this->*(found->second))(p);  // a bad number drops the whole command
}

bool HPGLDecoder::parameters(Params& p) {
    bool ok = true;
    while (!atEnd()) {
        const unsigned char c = byte(pos_);
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
                p.push_back(v);
            else
                ok = false;
        } else {
            if (ok) error(pos_, "unexpected byte " + hexByte(c) + " in " + mnemonic_);
            ok = false;
            ++pos_;
        }
    }
    return ok;
}

bool HPGLDecoder::number(double& value) {
    const std::size_t start = pos_;
    if (byte(pos_) == '+' || byte(pos_) == '-') ++pos_;
    std::size_t digits = 0;
    for (; !atEnd() && isDigit(byte(pos_)); ++pos_) ++digits;
    if (!atEnd() && byte(pos_) == '.')
        for (++pos_; !atEnd() && isDigit(byte(pos_)); ++pos_) ++digits;
    const auto ends = [this] {
        const unsigned char c = atEnd() ? ';' : byte(pos_);
        return isBlank(c) || c == ',' || c == ';' || c == kEsc || isLetter(c);
    };
    if (digits == 0 || !ends()) {
        while (!ends()) ++pos_;
        error(start, "bad number '" + in_.substr(start, pos_ - start) + "' in " + mnemonic_);
        return false;
    }
    value = std::strtod(in_.substr(start, pos_ - start).c_str(), nullptr);
    if (std::isfinite(value)) return true;
    error(start, "number out of range in " + mnemonic_);
    return false;
}

void HPGLDecoder::skipParameters() {
    while (!atEnd() && byte(pos_) != ';' && byte(pos_) != kEsc && !isLetter(byte(pos_))) ++pos_;
    if (!atEnd() && byte(pos_) == ';') ++pos_;
}

bool HPGLDecoder::count(const Params& p, std::initializer_list<std::size_t> allowed) {
    for (std::size_t n : allowed)
        if (p.size() == n) return true;
    error(at_, mnemonic_ + " with " + std::to_string(p.size()) + " parameters");
    return false;
}

bool HPGLDecoder::toInt(double v, double lo, double hi, int& out, const char* what) {
    if (v >= lo && v <= hi && std::floor(v) == v) {
        out = static_cast<int>(v);
        return true;
    }
    error(at_, mnemonic_ + ": bad " + what + " " + show(v));
    return false;
}

bool HPGLDecoder::validPen(double v, int& out) {
    if (v >= 0 && v < state_.pens && std::floor(v) == v) {
        out = static_cast<int>(v);
        return true;
    }
    error(at_,
          mnemonic_ + ": pen " + show(v) + " out of range 0.." + std::to_string(state_.pens - 1));
    return false;
}

// State

// DF: everything back to its default except the pens, their widths and colours, and where
// the pen stands.
void HPGLDecoder::resetDefaults() {
    State fresh;
    fresh.pen = state_.pen;
    fresh.pens = state_.pens;
    fresh.penWidths = std::move(state_.penWidths);
    fresh.width = state_.width;
    fresh.widthRelative = state_.widthRelative;
    fresh.palette = std::move(state_.palette);
    fresh.range = state_.range;
    fresh.penDown = state_.penDown;
    fresh.position = state_.position;
    fresh.positionKnown = state_.positionKnown;
    fresh.standardFont = fresh.alternateFont = defaultFont();
    state_ = std::move(fresh);
}

// IN and a printer reset: everything back to its default but the selected pen.
void HPGLDecoder::resetAll() {
    const int pen = state_.pen;
    state_ = State{};
    state_.pen = pen;
    state_.standardFont = state_.alternateFont = defaultFont();
}

HPGLPen HPGLDecoder::currentPen() const {
    HPGLPen pen;
    pen.number = state_.pen;
    const auto width = state_.penWidths.find(state_.pen);
    pen.width = width != state_.penWidths.end() ? width->second : state_.width;
    pen.widthRelative = state_.widthRelative;
    const auto colour = state_.palette.find(state_.pen);
    if (colour != state_.palette.end())
        pen.colour = colour->second;
    else if (state_.pen >= 0 && state_.pen < 8)
        pen.colour = kDefaultPalette[state_.pen];
    return pen;  // pens beyond the default eight without PC stay black
}

HPGLLineType HPGLDecoder::currentLineType() const {
    HPGLLineType type = state_.lineType;
    const auto pattern = state_.userPatterns.find(std::abs(type.type));
    if (!type.solid && pattern != state_.userPatterns.end()) type.gaps = pattern->second;
    return type;
}

void HPGLDecoder::flushPath() {
    if (path_ && path_->points.size() >= 2) plot_.polylines.push_back(std::move(*path_));
    path_.reset();
}

void HPGLDecoder::move(double x, double y, bool relative, bool down) {
    HPGLPoint target{x, y};
    if (relative) {
        if (!state_.positionKnown) error(at_, "relative move after a label: position unknown");
        target = {state_.position.x + x, state_.position.y + y};
    }
    if (!inRange(target.x) || !inRange(target.y))
        return error(at_, "coordinate out of range: " + show(target.x) + "," + show(target.y));
    if (state_.polygonMode) {
        polygonMove(target, down);
    } else {
        if (state_.symbolMode)
            plot_.symbols.push_back({state_.symbol, currentPen(), target, plot_.pages});
        if (down) {
            if (!path_) {
                path_ = HPGLPolyline{currentPen(),  currentLineType(), state_.attributes,
                                     state_.window, plot_.pages,       {state_.position}};
            }
            path_->points.push_back(target);
        } else {
            flushPath();
        }
    }
    state_.position = target;
    state_.positionKnown = true;
}

// A pen-up move starts a new subpath, unless the current one has not drawn anything yet.
void HPGLDecoder::polygonMove(const HPGLPoint& target, bool down) {
    std::vector<HPGLSubpath>& polygon = state_.polygon;
    if (state_.newSubpath || polygon.empty()) {
        polygon.push_back(HPGLSubpath{});
        if (down) polygon.back().points.push_back(state_.position);
        state_.newSubpath = false;
    } else if (!down) {
        if (polygon.back().points.size() > 1)
            polygon.push_back(HPGLSubpath{});
        else
            polygon.back().points.clear();
    }
    polygon.back().points.push_back(target);
}

// Closing draws back to the first point, which becomes the pen position.
void HPGLDecoder::closeSubpath() {
    if (state_.newSubpath || state_.polygon.empty()) return;
    HPGLSubpath& sub = state_.polygon.back();
    if (sub.points.size() < 2) {
        state_.polygon.pop_back();
    } else {
        const HPGLPoint first = sub.points.front(), last = sub.points.back();
        if (first.x != last.x || first.y != last.y) sub.points.push_back(first);
        sub.closed = true;
        state_.position = first;
    }
    state_.newSubpath = true;
}

void HPGLDecoder::selectPen(int pen) {
    flushPath();
    state_.pen = pen;
}

// PE: flags and base-64 (or base-32 in 7-bit mode) numbers up to ';'

void HPGLDecoder::encodedPolyline() {
    enum class Expect { Coordinate, Pen, Fraction } expect = Expect::Coordinate;
    bool sevenBit = false, upNext = false, absoluteNext = false, haveX = false;
    bool terminated = false;
    int fraction = 0;
    double x = 0;
    for (;;) {
        if (atEnd() || byte(pos_) == kEsc) return error(at_, "unterminated PE");
        const unsigned char c = byte(pos_);
        if (c == ';') {
            ++pos_;
            terminated = true;
            break;
        }
        if (isBlank(c)) {
            ++pos_;
            continue;
        }
        if (c == ':' || c == '<' || c == '>' || c == '=' || c == '7') {
            if (haveX || expect != Expect::Coordinate) {
                error(pos_, "PE flag '" + std::string(1, static_cast<char>(c)) +
                                "' where a number belongs");
                break;
            }
            ++pos_;
            if (c == ':') expect = Expect::Pen;
            if (c == '>') expect = Expect::Fraction;
            upNext = upNext || c == '<';
            absoluteNext = absoluteNext || c == '=';
            sevenBit = sevenBit || c == '7';
            continue;
        }
        std::int64_t n = 0;
        if (!encodedNumber(sevenBit, n)) break;
        // Even numbers carry n/2, odd ones -(n-1)/2; magnitudes stay below 2^50, exact.
        const double v = n % 2 == 0 ? static_cast<double>(n / 2) : -static_cast<double>(n / 2);
        if (expect == Expect::Pen) {
            int pen = 0;
            if (!validPen(v, pen)) break;
            selectPen(pen);
        } else if (expect == Expect::Fraction) {
            if (!toInt(v, 0, 26, fraction, "fractional bit count")) break;
        } else if (!haveX) {
            x = v;
            haveX = true;
        } else {
            const double scale = std::ldexp(1.0, -fraction);
            move(x * scale, v * scale, !absoluteNext, !upNext);
            state_.penDown = !upNext;
            haveX = upNext = absoluteNext = false;
        }
        expect = Expect::Coordinate;
    }
    if (terminated) {
        if (haveX || upNext || absoluteNext || expect != Expect::Coordinate)
            error(at_, "PE ends inside a coordinate pair or after a flag");
        return;
    }
    // After a corrupt part nothing more of this PE can be trusted: skip to its end.
    while (!atEnd() && byte(pos_) != ';' && byte(pos_) != kEsc) ++pos_;
    if (atEnd() || byte(pos_) == kEsc) return error(at_, "unterminated PE");
    ++pos_;
}

bool HPGLDecoder::encodedNumber(bool sevenBit, std::int64_t& out) {
    const std::size_t start = pos_;
    const std::int64_t base = sevenBit ? 32 : 64;
    const unsigned terminatorLow = sevenBit ? 95 : 191, terminatorHigh = sevenBit ? 126 : 254;
    // Enough digits for any coordinate with fractional bits, few enough to stay exact.
    const int maxDigits = sevenBit ? 10 : 8;
    std::int64_t scale = 1;
    out = 0;
    for (int digits = 0;; ++digits) {
        if (atEnd() || byte(pos_) == kEsc || digits >= maxDigits) {
            error(start,
                  digits >= maxDigits ? "encoded number too long" : "truncated encoded number");
            return false;
        }
        const unsigned c = byte(pos_);
        if (c >= 63 && c < 63 + base) {
            out += (c - 63) * scale;
        } else if (c >= terminatorLow && c <= terminatorHigh) {
            out += (c - terminatorLow) * scale;
            ++pos_;
            return true;
        } else {
            error(pos_,
                  "bad byte " + hexByte(static_cast<unsigned char>(c)) + " in encoded number");
            return false;
        }
        scale *= base;
        ++pos_;
    }
}

// Labels, label terminator, symbol mode, comments

void HPGLDecoder::label() {
    flushPath();
    const State& s = state_;
    HPGLLabel l;
    l.at = s.position;
    l.atKnown = s.positionKnown;
    l.pen = currentPen();
    l.origin = s.origin;
    l.run = s.run;
    l.rise = s.rise;
    l.font = s.alternate ? s.alternateFont : s.standardFont;
    l.alternateFont = s.alternate;
    l.terminator = s.terminator;
    l.terminatorPrinted = s.terminatorPrinted;
    l.page = plot_.pages;
    const std::size_t width = options_.labels16Bit ? 2 : 1;
    bool terminated = false;
    while (pos_ + width <= in_.size()) {
        const unsigned unit = width == 2 ? (byte(pos_) << 8) | byte(pos_ + 1) : byte(pos_);
        if (unit == kEsc) break;  // the printer acts on an escape even inside a label
        pos_ += width;
        if (static_cast<int>(unit) == state_.terminator) {
            terminated = true;
            break;
        }
        l.bytes.append(in_, pos_ - width, width);
        l.units.push_back(static_cast<std::uint16_t>(unit));
    }
    if (!terminated) {
        if (pos_ + 1 == in_.size() && width == 2 && byte(pos_) != kEsc) {
            error(pos_, "odd byte at the end of a 16-bit label");
            ++pos_;
        }
        error(at_, "unterminated LB");
    } else if (l.terminatorPrinted) {
        l.bytes.append(in_, pos_ - width, width);
        l.units.push_back(static_cast<std::uint16_t>(l.terminator));
    }
    // Where the text leaves the pen depends on font metrics this reader does not know.
    if (!l.units.empty()) state_.positionKnown = false;
    plot_.labels.push_back(std::move(l));
}

void HPGLDecoder::labelTerminator() {
    if (atEnd() || byte(pos_) == ';' || byte(pos_) == kEsc) {
        if (!atEnd() && byte(pos_) == ';') ++pos_;
        state_.terminator = 3;
        state_.terminatorPrinted = false;
        return;
    }
    const unsigned char t = byte(pos_++);
    if (t == 0 || t == '\n') return error(at_, "DT: bad terminator " + hexByte(t));
    int mode = 1;
    if (!atEnd() && byte(pos_) == ',') {
        ++pos_;
        Params p;
        if (!parameters(p) || !count(p, {1}) || !toInt(p[0], 0, 1, mode, "mode")) return;
    } else if (!atEnd() && byte(pos_) == ';') {
        ++pos_;
    }
    state_.terminator = t;
    state_.terminatorPrinted = mode == 0;
}

void HPGLDecoder::symbolMode() {
    const unsigned char c = atEnd() ? 0 : byte(pos_);
    if (c > 0x20 && c < 0x7F && c != ';') {
        state_.symbolMode = true;
        state_.symbol = static_cast<char>(c);
        ++pos_;
    } else {
        state_.symbolMode = false;
    }
    if (!atEnd() && byte(pos_) == ';') ++pos_;
}

void HPGLDecoder::comment() {
    while (!atEnd() && isBlank(byte(pos_))) ++pos_;
    if (!atEnd() && byte(pos_) == '"') {
        const std::size_t close = in_.find('"', pos_ + 1);
        if (close == std::string::npos) {
            pos_ = in_.size();
            return error(at_, "unterminated CO string");
        }
        plot_.comments.push_back(in_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
    }
    skipParameters();
}

// Commands with numeric parameters

void HPGLDecoder::cmdIN(const Params& p) {
    if (!count(p, {0, 1})) return;
    flushPath();
    resetAll();
}

void HPGLDecoder::cmdDF(const Params& p) {
    if (!count(p, {0})) return;
    flushPath();
    resetDefaults();
}

void HPGLDecoder::cmdRO(const Params& p) {
    int angle = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 270, angle, "angle"))) return;
    if (angle % 90 != 0) return error(at_, "RO: bad angle " + std::to_string(angle));
    plot_.rotation = angle;
}

void HPGLDecoder::cmdIP(const Params& p) {
    if (!count(p, {0, 2, 4})) return;
    for (double v : p)
        if (!inRange(v)) return error(at_, mnemonic_ + ": point out of range " + show(v));
    plot_.inputPoints = p;
    if (mnemonic_ == "IR") plot_.notes.push_back("IR: P1/P2 given relative to the hard-clip");
}

void HPGLDecoder::cmdSC(const Params& p) {
    if (!count(p, {0, 4, 5, 7})) return;
    int type = 0;
    if (p.size() >= 5 && !toInt(p[4], 0, 2, type, "scaling type")) return;
    if (p.size() == 7 && type != 1) return error(at_, "SC: 7 parameters need type 1");
    plot_.scaling = p;
    if (p.empty()) return;
    plot_.scalingUsed = true;
    plot_.notes.push_back("SC: user scaling recorded, coordinates left as written");
}

void HPGLDecoder::cmdFT(const Params& p) {
    if (!count(p, {0, 1, 2, 3})) return;
    int type = 1;
    if (!p.empty() && !toInt(p[0], 1, 22, type, "fill type")) return;
    if (type > 4 && type != 10 && type != 11 && type != 21 && type != 22)
        return error(at_, "FT: bad fill type " + std::to_string(type));
    if (type == 10 && p.size() >= 2 && (p[1] < 0 || p[1] > 100))
        return error(at_, "FT: shading level " + show(p[1]) + " outside 0..100");
    state_.fillType = HPGLFillType{type, p.empty() ? Params{} : Params(p.begin() + 1, p.end())};
    plot_.fillType = state_.fillType;
}

void HPGLDecoder::cmdNP(const Params& p) {
    int n = 8;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 2, 32768, n, "pen count"))) return;
    state_.pens = plot_.pens = n;
}

void HPGLDecoder::cmdTR(const Params& p) {
    int on = 1;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 1, on, "transparency"))) return;
    plot_.transparency = on == 1;
}

void HPGLDecoder::cmdCR(const Params& p) {
    if (!count(p, {0, 6})) return;
    std::array<double, 6> range = {0, 255, 0, 255, 0, 255};
    for (std::size_t i = 0; i < p.size(); ++i) range[i] = p[i];
    if (range[0] == range[1] || range[2] == range[3] || range[4] == range[5])
        return error(at_, "CR: empty colour range");
    state_.range = plot_.colourRange = range;
}

void HPGLDecoder::cmdPC(const Params& p) {
    if (!count(p, {0, 1, 4})) return;
    flushPath();
    int pen = 0;
    if (!p.empty() && !validPen(p[0], pen)) return;
    if (p.size() <= 1) {  // back to the default colour: of all pens, or of the one given
        for (auto* palette : {&state_.palette, &plot_.palette})
            p.empty() ? palette->clear() : static_cast<void>(palette->erase(pen));
        return;
    }
    for (int i = 0; i < 3; ++i) {
        const double lo = std::min(state_.range[2 * i], state_.range[2 * i + 1]);
        const double hi = std::max(state_.range[2 * i], state_.range[2 * i + 1]);
        if (p[i + 1] < lo || p[i + 1] > hi)
            return error(at_, "PC: colour value " + show(p[i + 1]) + " outside the range");
    }
    state_.palette[pen] = plot_.palette[pen] = HPGLColour{p[1], p[2], p[3]};
}

void HPGLDecoder::cmdPS(const Params& p) {
    if (!count(p, {0, 1, 2})) return;
    for (double v : p)
        if (!(v > 0) || !inRange(v)) return error(at_, "PS: bad size " + show(v));
    plot_.plotSize = p;
}

void HPGLDecoder::cmdLA(const Params& p) {
    if (p.size() % 2 != 0) return error(at_, "LA with an odd number of parameters");
    HPGLLineAttributes a = p.empty() ? HPGLLineAttributes{} : state_.attributes;
    for (std::size_t i = 0; i < p.size(); i += 2) {
        int kind = 0;
        if (!toInt(p[i], 1, 3, kind, "kind")) return;
        if (kind == 1 && !toInt(p[i + 1], 1, 4, a.ends, "line end")) return;
        if (kind == 2 && !toInt(p[i + 1], 1, 6, a.joins, "line join")) return;
        if (kind == 3 && !(p[i + 1] >= 1)) return error(at_, "LA: miter limit below 1");
        if (kind == 3) a.miterLimit = p[i + 1];
    }
    flushPath();
    state_.attributes = plot_.lineAttributes = a;
}

void HPGLDecoder::cmdIW(const Params& p) {
    if (!count(p, {0, 4})) return;
    HPGLWindow w;
    if (p.size() == 4) {
        for (double v : p)
            if (!inRange(v)) return error(at_, "IW: corner out of range " + show(v));
        if (p[0] > p[2] || p[1] > p[3]) return error(at_, "IW: corners out of order");
        w = HPGLWindow{true, {p[0], p[1]}, {p[2], p[3]}};
    }
    flushPath();
    state_.window = plot_.window = w;
}

void HPGLDecoder::cmdLT(const Params& p) {
    if (!count(p, {0, 1, 2, 3})) return;
    HPGLLineType& lt = state_.lineType;
    if (p.empty()) {
        flushPath();
        if (!lt.solid) state_.previousLineType = lt;
        lt.solid = true;
        return;
    }
    if (p[0] == 99) {
        flushPath();
        if (lt.solid && !state_.previousLineType.solid) lt = state_.previousLineType;
        return;
    }
    HPGLLineType next = lt;
    if (!toInt(p[0], -8, 8, next.type, "line type")) return;
    if (p.size() >= 2 && !(p[1] > 0)) return error(at_, "LT: pattern length " + show(p[1]));
    if (p.size() >= 2) next.length = p[1];
    if (p.size() == 3 && !toInt(p[2], 0, 1, next.mode, "mode")) return;
    next.solid = false;
    flushPath();
    lt = next;
}

void HPGLDecoder::cmdUL(const Params& p) {
    if (p.size() > 21) return error(at_, "UL with more than 20 gaps");
    flushPath();
    if (p.empty()) return state_.userPatterns.clear();
    int index = 0;
    if (!toInt(p[0], 1, 8, index, "pattern index")) return;
    if (p.size() == 1) {
        state_.userPatterns.erase(index);
        return;
    }
    double sum = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p[i] < 0) return error(at_, "UL: negative gap " + show(p[i]));
        sum += p[i];
    }
    if (!(sum > 0)) return error(at_, "UL: all gaps zero");
    state_.userPatterns[index] = Params(p.begin() + 1, p.end());
}

void HPGLDecoder::cmdPW(const Params& p) {
    if (!count(p, {0, 1, 2})) return;
    const double width = p.empty() ? (state_.widthRelative ? 0.1 : 0.35) : p[0];
    if (width < 0 || width > 1e6) return error(at_, "PW: bad width " + show(width));
    int pen = 0;
    if (p.size() == 2 && !validPen(p[1], pen)) return;
    flushPath();
    if (p.size() == 2) {
        state_.penWidths[pen] = width;
    } else {
        state_.penWidths.clear();
        state_.width = width;
    }
}

void HPGLDecoder::cmdWU(const Params& p) {
    int relative = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 1, relative, "unit"))) return;
    flushPath();
    // Changing units puts every pen back to the default width in the new unit.
    state_.widthRelative = relative == 1;
    state_.penWidths.clear();
    state_.width = relative == 1 ? 0.1 : 0.35;
}

void HPGLDecoder::cmdSP(const Params& p) {
    int pen = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !validPen(p[0], pen))) return;
    selectPen(pen);
}

// PU, PD, PA and PR: set the pen state or the coordinate mode, then move through the pairs.
void HPGLDecoder::cmdMove(const Params& p) {
    const char kind = mnemonic_[1];
    if (kind == 'U' || kind == 'D') state_.penDown = kind == 'D';
    if (kind == 'A' || kind == 'R') state_.relative = kind == 'R';
    if (kind == 'U') flushPath();
    if (p.size() % 2 != 0) error(at_, mnemonic_ + " with an odd number of coordinates");
    for (std::size_t i = 0; i + 1 < p.size(); i += 2)
        move(p[i], p[i + 1], state_.relative, state_.penDown);
}

void HPGLDecoder::cmdPM(const Params& p) {
    int kind = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 2, kind, "polygon mode"))) return;
    if (kind == 0) {
        if (state_.polygonMode) error(at_, "PM0 inside polygon mode");
        flushPath();
        state_.polygonMode = true;
        state_.polygon.clear();
        state_.newSubpath = true;
        return;
    }
    if (!state_.polygonMode) return error(at_, "PM" + std::to_string(kind) + " outside PM0");
    closeSubpath();
    if (kind == 2) state_.polygonMode = false;
}

// FP and EP: fill or edge the polygon buffer, which stays for further use.
void HPGLDecoder::cmdFill(const Params& p) {
    const bool edge = mnemonic_ == "EP";
    int method = 0;
    if (!count(p, {0, edge ? 0u : 1u})) return;
    if (!p.empty() && !toInt(p[0], 0, 1, method, "fill method")) return;
    if (state_.polygonMode) return error(at_, mnemonic_ + " inside polygon mode");
    if (state_.polygon.empty()) return error(at_, mnemonic_ + " with an empty polygon buffer");
    plot_.polygons.push_back(HPGLPolygon{edge, method, currentPen(), state_.fillType,
                                         currentLineType(), state_.window, plot_.pages,
                                         state_.polygon});
}

void HPGLDecoder::cmdSD(const Params& p) {
    if (p.size() % 2 != 0) return error(at_, mnemonic_ + " with an odd number of parameters");
    std::map<int, double> font = defaultFont();
    if (!p.empty()) font = mnemonic_ == "SD" ? state_.standardFont : state_.alternateFont;
    for (std::size_t i = 0; i < p.size(); i += 2) {
        int kind = 0;
        if (!toInt(p[i], 1, 7, kind, "font attribute kind")) return;
        int ignored = 0;
        if (kind == 2 && !toInt(p[i + 1], 0, 1, ignored, "spacing")) return;
        if ((kind == 3 || kind == 4) && !(p[i + 1] > 0))
            return error(at_, mnemonic_ + ": pitch or height " + show(p[i + 1]));
        font[kind] = p[i + 1];
    }
    (mnemonic_ == "SD" ? state_.standardFont : state_.alternateFont) = font;
}

void HPGLDecoder::cmdSS(const Params& p) {
    if (count(p, {0})) state_.alternate = mnemonic_ == "SA";
}

void HPGLDecoder::cmdLO(const Params& p) {
    int origin = 1;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 1, 21, origin, "label origin"))) return;
    if (origin == 10 || origin == 20) return error(at_, "LO: bad label origin");
    state_.origin = origin;
}

void HPGLDecoder::cmdDI(const Params& p) {
    if (!count(p, {0, 2})) return;
    if (p.size() == 2 && p[0] == 0 && p[1] == 0) return error(at_, "DI: run and rise both 0");
    state_.run = p.empty() ? 1 : p[0];
    state_.rise = p.empty() ? 0 : p[1];
}

void HPGLDecoder::cmdPG(const Params& p) {
    if (!count(p, {0, 1})) return;
    state_.penDown = false;
    flushPath();
    ++plot_.pages;
}
