#include "support/HPGLDecoder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "support/HPGLEncodedReader.h"

namespace {

// Plotter coordinates are 32-bit device integers; anything beyond cannot be plotted.
constexpr double kMinCoordinate = -1073741824.0;
constexpr double kMaxCoordinate = 1073741823.0;
constexpr unsigned char kEsc = HPGLScanner::kEsc;

// The palette a printer starts with: white, black, red, green, yellow, blue, magenta, cyan.
const HPGLColour kDefaultPalette[8] = {{255, 255, 255}, {0, 0, 0},   {255, 0, 0},   {0, 255, 0},
                                       {255, 255, 0},   {0, 0, 255}, {255, 0, 255}, {0, 255, 255}};

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
    : scan_(bytes), options_(options) {
    resetAll();
}

// Driving loop and messages

void HPGLDecoder::run() {
    if (!scan_.at(kEsc)) {
        error(0, "missing PCL escape at the start");
        mode_ = Mode::Hpgl;  // read on, so that the rest is still checked
    }
    while (!scan_.atEnd()) {
        const unsigned char c = scan_.peek();
        if (c == kEsc) {
            escape();
        } else if (mode_ == Mode::Hpgl) {
            hpglStep();
        } else {
            if (mode_ == Mode::Pcl && !HPGLScanner::isBlank(c)) stray("byte outside HP-GL/2 mode");
            scan_.skip();  // PJL text is skipped up to the next escape
        }
    }
    finish();
    plot_.errors = scan_.takeErrors();
}

void HPGLDecoder::finish() {
    leaveHpgl();
    const auto late = [this](const auto& marks) {
        return plot_.pages > 0 && !marks.empty() && marks.back().page >= plot_.pages;
    };
    if (late(plot_.polylines) || late(plot_.polygons) || late(plot_.symbols) || late(plot_.labels))
        error(scan_.bytes().size(), "drawing after the last PG");
}

void HPGLDecoder::stray(const std::string& what) {
    if (!strayRun_) error(scan_.pos(), what + " " + HPGLScanner::hexByte(scan_.peek()));
    strayRun_ = true;
}

// PCL escapes; their text is the scanner's, what they switch is ours.

void HPGLDecoder::escape() {
    strayRun_ = false;
    const std::size_t start = scan_.pos();
    std::string text;
    if (scan_.escape(text)) pclCommand(text, start);
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
    if (HPGLScanner::isLetter(c) && scan_.left() > 1 && HPGLScanner::isLetter(scan_.peek(1))) {
        strayRun_ = false;
        at_ = scan_.pos();
        mnemonic_ = {static_cast<char>(std::toupper(c)),
                     static_cast<char>(std::toupper(scan_.peek(1)))};
        scan_.skip(2);
        return command();
    }
    stray("unexpected byte");
    scan_.skip();
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

// PE: the reader takes the body apart; pens, fraction bits and moves are checked and done here.

void HPGLDecoder::encodedPolyline() {
    using Kind = HPGLEncodedStep::Kind;
    HPGLEncodedReader reader(scan_, at_);
    int fraction = 0;
    for (HPGLEncodedStep step = reader.next(); step.kind != Kind::End; step = reader.next()) {
        int pen = 0;
        if (step.kind == Kind::Pen) {
            if (!validPen(step.x, pen)) return reader.abandon();
            selectPen(pen);
        } else if (step.kind == Kind::Fraction) {
            if (!toInt(step.x, 0, 26, fraction, "fractional bit count")) return reader.abandon();
        } else {
            const double scale = std::ldexp(1.0, -fraction);
            move(step.x * scale, step.y * scale, !step.absolute, !step.up);
            state_.penDown = !step.up;
        }
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
    if (!scan_.labelText(options_.labels16Bit ? 2 : 1, l)) error(at_, "unterminated LB");
    // Where the text leaves the pen depends on font metrics this reader does not know.
    if (!l.units.empty()) state_.positionKnown = false;
    plot_.labels.push_back(std::move(l));
}

void HPGLDecoder::labelTerminator() {
    if (scan_.atEnd() || scan_.at(';') || scan_.at(kEsc)) {
        if (scan_.at(';')) scan_.skip();
        state_.terminator = 3;
        state_.terminatorPrinted = false;
        return;
    }
    const unsigned char t = scan_.peek();
    scan_.skip();
    if (t == 0 || t == '\n') return error(at_, "DT: bad terminator " + HPGLScanner::hexByte(t));
    int mode = 1;
    if (scan_.at(',')) {
        scan_.skip();
        Params p;
        if (!scan_.parameters(p, mnemonic_) || !count(p, {1}) || !toInt(p[0], 0, 1, mode, "mode"))
            return;
    } else if (scan_.at(';')) {
        scan_.skip();
    }
    state_.terminator = t;
    state_.terminatorPrinted = mode == 0;
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

void HPGLDecoder::comment() {
    while (!scan_.atEnd() && HPGLScanner::isBlank(scan_.peek())) scan_.skip();
    if (scan_.at('"')) {
        std::string text;
        if (!scan_.quoted(text)) return error(at_, "unterminated CO string");
        plot_.comments.push_back(std::move(text));
    }
    scan_.skipParameters();
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
