#include "support/HPGLDecoder.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <utility>

namespace {

// Plotter coordinates are 32-bit device integers; anything beyond cannot be plotted.
constexpr double kMinCoordinate = -1073741824.0;
constexpr double kMaxCoordinate = 1073741823.0;
constexpr unsigned char kEsc = HPGLScanner::kEsc;

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

HPGLPlot HPGLDecoder::decode(const std::string& bytes) {
    HPGLDecoder decoder(bytes);
    decoder.run();
    return std::move(decoder.plot_);
}

HPGLDecoder::HPGLDecoder(const std::string& bytes) : scan_(bytes) {
    reset();
}

// Driving loop and the PCL level

void HPGLDecoder::run() {
    if (!scan_.at(kEsc)) {
        error(0, "missing PCL escape at the start");
        inHpgl_ = true;  // read on, so that the rest is still checked
    }
    while (!scan_.atEnd()) {
        const unsigned char c = scan_.peek();
        if (c == kEsc) {
            escape();
        } else if (inHpgl_) {
            hpglStep();
        } else {
            if (!HPGLScanner::isBlank(c) && !strayRun_)
                error(scan_.pos(), "byte outside HP-GL/2 mode " + HPGLScanner::hexByte(c));
            strayRun_ = true;
            scan_.skip();
        }
    }
    leaveHpgl();
    const auto late = [this](const auto& marks) {
        return plot_.pages > 0 && !marks.empty() && marks.back().page >= plot_.pages;
    };
    if (late(plot_.polylines) || late(plot_.polygons) || late(plot_.symbols) || late(plot_.labels))
        error(scan_.size(), "drawing after the last PG");
    plot_.errors = scan_.takeErrors();
}

// ESC%#B enters HP-GL/2, ESC%#A goes back to PCL.
void HPGLDecoder::escape() {
    strayRun_ = false;
    const std::size_t start = scan_.pos();
    std::string text;
    if (!scan_.escape(text)) return;
    if (text.back() == 'B') {
        inHpgl_ = true;
    } else if (text.back() == 'A') {
        leaveHpgl();
        inHpgl_ = false;
    } else {
        error(start, "unsupported PCL escape ESC" + text);
    }
}

void HPGLDecoder::leaveHpgl() {
    flushPath();
    if (state_.polygonMode) error(scan_.pos(), "polygon mode still open (no PM2)");
    state_.polygonMode = false;
}

// HP-GL/2 syntax: two-letter mnemonics, numbers separated by commas and/or blanks, optional ';'

void HPGLDecoder::hpglStep() {
    const unsigned char c = scan_.peek();
    if (HPGLScanner::isBlank(c) || c == ';') {
        scan_.skip();
        strayRun_ = false;
        return;
    }
    if (HPGLScanner::isLetter(c) && scan_.pos() + 1 < scan_.size() &&
        HPGLScanner::isLetter(scan_.peek(1))) {
        strayRun_ = false;
        at_ = scan_.pos();
        mnemonic_ = {static_cast<char>(std::toupper(c)),
                     static_cast<char>(std::toupper(scan_.peek(1)))};
        scan_.skip(2);
        return command();
    }
    if (!strayRun_) error(scan_.pos(), "unexpected byte " + HPGLScanner::hexByte(c));
    strayRun_ = true;
    scan_.skip();
}

const std::map<std::string, HPGLDecoder::Handler>& HPGLDecoder::handlers() {
    static const std::map<std::string, Handler> table = {
        {"IN", &HPGLDecoder::cmdIN},   {"RO", &HPGLDecoder::cmdRO}, {"IP", &HPGLDecoder::cmdIP},
        {"FT", &HPGLDecoder::cmdFT},   {"NP", &HPGLDecoder::cmdNP}, {"TR", &HPGLDecoder::cmdTR},
        {"PC", &HPGLDecoder::cmdPC},   {"PS", &HPGLDecoder::cmdPS}, {"LA", &HPGLDecoder::cmdLA},
        {"IW", &HPGLDecoder::cmdIW},   {"LT", &HPGLDecoder::cmdLT}, {"UL", &HPGLDecoder::cmdUL},
        {"PW", &HPGLDecoder::cmdPW},   {"SP", &HPGLDecoder::cmdSP}, {"PU", &HPGLDecoder::cmdMove},
        {"PA", &HPGLDecoder::cmdMove}, {"PM", &HPGLDecoder::cmdPM}, {"FP", &HPGLDecoder::cmdFP},
        {"SD", &HPGLDecoder::cmdSD},   {"SS", &HPGLDecoder::cmdSS}, {"LO", &HPGLDecoder::cmdLO},
        {"DI", &HPGLDecoder::cmdDI},   {"PG", &HPGLDecoder::cmdPG},
    };
    return table;
}

void HPGLDecoder::command() {
    if (mnemonic_ == "PE") return encodedPolyline();
    if (mnemonic_ == "LB") return label();
    if (mnemonic_ == "SM") return symbolMode();
    const auto found = handlers().find(mnemonic_);
    if (found == handlers().end()) {
        error(at_, "unknown mnemonic '" + mnemonic_ + "'");
        return scan_.skipParameters();
    }
    Params p;
    if (scan_.parameters(p, mnemonic_))
        (this->*(found->second))(p);  // a bad number drops the whole command
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

// IN: everything back to its default but the selected pen.
void HPGLDecoder::reset() {
    const int pen = state_.pen;
    state_ = State{};
    state_.pen = pen;
    state_.font = defaultFont();
}

HPGLPen HPGLDecoder::currentPen() const {
    return HPGLPen{state_.pen, state_.width};
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
                path_ = HPGLPolyline{
                    currentPen(), state_.lineType, state_.window, plot_.pages, {state_.position}};
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
        state_.position = first;
    }
    state_.newSubpath = true;
}

void HPGLDecoder::selectPen(int pen) {
    flushPath();
    state_.pen = pen;
}

// PE: flags (':' a pen follows, '<' the next pair is a pen-up move, '=' it is absolute) and
// encoded numbers up to ';'. After a bad part nothing more of the command can be trusted.

void HPGLDecoder::encodedPolyline() {
    bool pen = false, up = false, absolute = false, haveX = false;
    double x = 0;
    const auto abandon = [this] {
        while (!scan_.atEnd() && !scan_.at(';') && !scan_.at(kEsc)) scan_.skip();
        if (!scan_.at(';')) return error(at_, "unterminated PE");
        scan_.skip();
    };
    for (;;) {
        if (scan_.atEnd() || scan_.at(kEsc)) return error(at_, "unterminated PE");
        const unsigned char c = scan_.peek();
        if (c == ';') {
            scan_.skip();
            if (pen || up || absolute || haveX)
                error(at_, "PE ends inside a coordinate pair or after a flag");
            return;
        }
        if (HPGLScanner::isBlank(c)) {
            scan_.skip();
            continue;
        }
        if (c == ':' || c == '<' || c == '=') {
            if (pen || haveX) {
                error(scan_.pos(), "PE flag '" + std::string(1, static_cast<char>(c)) +
                                       "' where a number belongs");
                return abandon();
            }
            scan_.skip();
            pen = c == ':';
            up = up || c == '<';
            absolute = absolute || c == '=';
            continue;
        }
        std::int64_t n = 0;
        if (!scan_.encodedNumber(n)) return abandon();
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
            move(x, v, !absolute, !up);
            state_.penDown = !up;
            haveX = up = absolute = false;
        }
    }
}

// Labels and symbol mode

void HPGLDecoder::label() {
    flushPath();
    if (!state_.positionKnown) error(at_, "label right after a label: position unknown");
    HPGLLabel l{state_.position, currentPen(), state_.origin, state_.run,
                state_.rise,     state_.font,  plot_.pages,   {}};
    if (!scan_.labelText(l.bytes)) error(at_, "unterminated LB");
    // Where the text leaves the pen depends on font metrics this reader does not know.
    if (!l.bytes.empty()) state_.positionKnown = false;
    plot_.labels.push_back(std::move(l));
}

void HPGLDecoder::symbolMode() {
    const unsigned char c = scan_.atEnd() ? 0 : scan_.peek();
    if (c > 0x20 && c < 0x7F && c != ';') {
        state_.symbolMode = true;
        state_.symbol = static_cast<char>(c);
        scan_.skip();
    } else {
        state_.symbolMode = false;
    }
    if (scan_.at(';')) scan_.skip();
}

// Commands with numeric parameters

void HPGLDecoder::cmdIN(const Params& p) {
    if (!count(p, {0, 1})) return;
    flushPath();
    reset();
}

void HPGLDecoder::cmdRO(const Params& p) {
    int angle = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 270, angle, "angle"))) return;
    if (angle % 90 != 0) return error(at_, "RO: bad angle " + std::to_string(angle));
    plot_.rotation = angle;
}

// IP and FT without parameters: P1 and P2 at their defaults, solid fill.
void HPGLDecoder::cmdIP(const Params& p) {
    count(p, {0});
}

void HPGLDecoder::cmdFT(const Params& p) {
    count(p, {0});
}

void HPGLDecoder::cmdNP(const Params& p) {
    int n = 8;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 2, 32768, n, "pen count"))) return;
    state_.pens = plot_.pens = n;
}

void HPGLDecoder::cmdTR(const Params& p) {
    int on = 1;
    if (count(p, {0, 1}) && !p.empty()) toInt(p[0], 0, 1, on, "transparency");
}

void HPGLDecoder::cmdPC(const Params& p) {
    int pen = 0;
    if (!count(p, {4}) || !validPen(p[0], pen)) return;
    for (int i = 1; i < 4; ++i)
        if (p[i] < 0 || p[i] > 255)
            return error(at_, "PC: colour value " + show(p[i]) + " outside the range");
    plot_.palette[pen] = HPGLColour{p[1], p[2], p[3]};
}

void HPGLDecoder::cmdPS(const Params& p) {
    if (!count(p, {2})) return;
    for (double v : p)
        if (!(v > 0) || !inRange(v)) return error(at_, "PS: bad size " + show(v));
    plot_.plotSize = p;
}

// Line ends 1..4, joins 1..6 and a miter limit of at least 1, each after its kind.
void HPGLDecoder::cmdLA(const Params& p) {
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
    state_.window = w;
}

// LT alone is solid; a type keeps the last pattern length unless it gives one.
void HPGLDecoder::cmdLT(const Params& p) {
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
void HPGLDecoder::cmdUL(const Params& p) {
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

void HPGLDecoder::cmdPW(const Params& p) {
    if (!count(p, {1})) return;
    if (p[0] < 0 || p[0] > 1e6) return error(at_, "PW: bad width " + show(p[0]));
    flushPath();
    state_.width = p[0];
}

void HPGLDecoder::cmdSP(const Params& p) {
    int pen = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !validPen(p[0], pen))) return;
    selectPen(pen);
}

// PU lifts the pen, PA keeps its state; both then move to each absolute pair.
void HPGLDecoder::cmdMove(const Params& p) {
    if (mnemonic_ == "PU") {
        state_.penDown = false;
        flushPath();
    }
    if (p.size() % 2 != 0) error(at_, mnemonic_ + " with an odd number of coordinates");
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) move(p[i], p[i + 1], false, state_.penDown);
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

// FP fills the polygon buffer, which stays for further use.
void HPGLDecoder::cmdFP(const Params& p) {
    int method = 0;
    if (!count(p, {0, 1}) || (!p.empty() && !toInt(p[0], 0, 1, method, "fill method"))) return;
    if (state_.polygonMode) return error(at_, "FP inside polygon mode");
    if (state_.polygon.empty()) return error(at_, "FP with an empty polygon buffer");
    plot_.polygons.push_back(HPGLPolygon{currentPen(), state_.window, plot_.pages, state_.polygon});
}

void HPGLDecoder::cmdSD(const Params& p) {
    if (p.size() % 2 != 0) return error(at_, "SD with an odd number of parameters");
    std::map<int, double> font = p.empty() ? defaultFont() : state_.font;
    for (std::size_t i = 0; i < p.size(); i += 2) {
        int kind = 0, spacing = 0;
        if (!toInt(p[i], 1, 7, kind, "font attribute kind")) return;
        if (kind == 2 && !toInt(p[i + 1], 0, 1, spacing, "spacing")) return;
        if ((kind == 3 || kind == 4) && !(p[i + 1] > 0))
            return error(at_, "SD: pitch or height " + show(p[i + 1]));
        font[kind] = p[i + 1];
    }
    state_.font = font;
}

void HPGLDecoder::cmdSS(const Params& p) {
    count(p, {0});
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
