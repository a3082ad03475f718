#pragma once

// Reads HP-GL/2 as a printer would, after the PCL escape into it, and tells what it set and
// drew:
//
//     HPGLPlot plot = HPGLDecoder::decode(bytes);
//     EXPECT_TRUE(plot.clean()) << plot.errors.front();
//     plot.polylines[0].points[1].x;  // plotter units
//
// Written from the command language itself, independently of any writer, so that a writer's
// mistake shows up as a disagreement. It knows the commands our plots use; any other command
// is reported, as is bad or truncated input, never a crash.

#include <cstddef>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/HPGLPlot.h"
#include "support/HPGLScanner.h"

/// Decodes an HP-GL/2 plot (with its PCL escape) into an HPGLPlot.
class HPGLDecoder {
  public:
    static HPGLPlot decode(const std::string& bytes);

  private:
    using Params = std::vector<double>;
    using Handler = void (HPGLDecoder::*)(const Params&);

    /// The graphics state the commands change.
    struct State {
        int pen = 0, pens = 8;
        double width = 0.35;
        HPGLLineType lineType;
        HPGLWindow window;
        bool penDown = false, positionKnown = true;
        HPGLPoint position;
        bool symbolMode = false;
        char symbol = 0;
        std::map<int, double> font;
        int origin = 1;
        double run = 1, rise = 0;
        bool polygonMode = false, newSubpath = true;
        std::vector<HPGLSubpath> polygon;
    };

    explicit HPGLDecoder(const std::string& bytes);
    void run();
    void finish();
    void error(std::size_t at, const std::string& message) { scan_.error(at, message); }
    void escape();
    void leaveHpgl();

    // HP-GL/2 syntax
    void hpglStep();
    void command();
    bool count(const Params& p, std::initializer_list<std::size_t> allowed);
    bool toInt(double v, double lo, double hi, int& out, const char* what);
    bool validPen(double v, int& out);

    // state
    void reset();
    HPGLPen currentPen() const;
    void flushPath();
    void move(double x, double y, bool relative, bool down);
    void polygonMove(const HPGLPoint& target, bool down);
    void closeSubpath();
    void selectPen(int pen);

    // commands with their own syntax
    void encodedPolyline();
    void label();
    void symbolMode();

    // commands with numeric parameters
    void cmdIN(const Params& p);
    void cmdRO(const Params& p);
    void cmdIP(const Params& p);
    void cmdFT(const Params& p);
    void cmdNP(const Params& p);
    void cmdTR(const Params& p);
    void cmdPC(const Params& p);
    void cmdPS(const Params& p);
    void cmdLA(const Params& p);
    void cmdIW(const Params& p);
    void cmdLT(const Params& p);
    void cmdUL(const Params& p);
    void cmdPW(const Params& p);
    void cmdSP(const Params& p);
    void cmdMove(const Params& p);
    void cmdPM(const Params& p);
    void cmdFP(const Params& p);
    void cmdSD(const Params& p);
    void cmdSS(const Params& p);
    void cmdLO(const Params& p);
    void cmdDI(const Params& p);
    void cmdPG(const Params& p);

    static const std::map<std::string, Handler>& handlers();

    HPGLScanner scan_;    // the bytes, where reading stands, and the messages
    std::size_t at_ = 0;  // where the command being decoded began, for messages
    std::string mnemonic_;
    bool inHpgl_ = false;
    bool strayRun_ = false;  // inside a run of unexpected bytes, reported once
    State state_;
    std::optional<HPGLPolyline> path_;
    HPGLPlot plot_;
};
