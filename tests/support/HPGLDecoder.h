#pragma once

// Reads HP-GL/2 as a printer would, inside its PCL escapes, and tells what it set and drew:
//
//     HPGLPlot plot = HPGLDecoder::decode(bytes);
//     EXPECT_TRUE(plot.clean()) << plot.errors.front();
//     plot.polylines[0].points[1].x;  // plotter units
//
// Written from the command language itself, independently of any writer, so that a writer's
// mistake shows up as a disagreement. Bad, truncated or corrupt input gives messages in
// `errors`, never a crash; what cannot be understood is reported rather than guessed.

#include <array>
#include <cstddef>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/HPGLPlot.h"
#include "support/HPGLScanner.h"

/// Decodes an HP-GL/2 plot (with its PCL escapes) into an HPGLPlot.
class HPGLDecoder {
  public:
    static HPGLPlot decode(const std::string& bytes, const HPGLDecodeOptions& options = {});
    /// Reads the file and decodes it; an unreadable file gives one error.
    static HPGLPlot decodeFile(const std::string& path, const HPGLDecodeOptions& options = {});

  private:
    using Params = std::vector<double>;
    using Handler = void (HPGLDecoder::*)(const Params&);
    enum class Mode { Pcl, Hpgl, Pjl };

    /// The graphics state the commands change.
    struct State {
        int pen = 0, pens = 8;
        std::map<int, double> penWidths;  // pens given their own width by PW
        double width = 0.35;
        bool widthRelative = false;
        std::map<int, HPGLColour> palette;
        std::array<double, 6> range{0, 255, 0, 255, 0, 255};
        HPGLLineType lineType, previousLineType;
        std::map<int, std::vector<double>> userPatterns;
        HPGLLineAttributes attributes;
        HPGLFillType fillType;
        HPGLWindow window;
        bool relative = false, penDown = false, positionKnown = true;
        HPGLPoint position;
        bool symbolMode = false;
        char symbol = 0;
        std::map<int, double> standardFont, alternateFont;
        bool alternate = false;
        int origin = 1;
        double run = 1, rise = 0;
        int terminator = 3;
        bool terminatorPrinted = false;
        bool polygonMode = false, newSubpath = true;
        std::vector<HPGLSubpath> polygon;
    };

    HPGLDecoder(const std::string& bytes, const HPGLDecodeOptions& options);
    void run();
    void finish();
    void error(std::size_t at, const std::string& message) { scan_.error(at, message); }
    void stray(const std::string& what);

    // PCL level
    void escape();
    void pclCommand(const std::string& text, std::size_t at);
    void leaveHpgl();

    // HP-GL/2 syntax
    void hpglStep();
    void command();
    bool count(const Params& p, std::initializer_list<std::size_t> allowed);
    bool toInt(double v, double lo, double hi, int& out, const char* what);
    bool validPen(double v, int& out);

    // state
    void resetDefaults();
    void resetAll();
    HPGLPen currentPen() const;
    HPGLLineType currentLineType() const;
    void flushPath();
    void move(double x, double y, bool relative, bool down);
    void polygonMove(const HPGLPoint& target, bool down);
    void closeSubpath();
    void selectPen(int pen);

    // commands with their own syntax
    void encodedPolyline();
    void label();
    void labelTerminator();
    void symbolMode();
    void comment();

    // commands with numeric parameters
    void cmdIN(const Params& p);
    void cmdDF(const Params& p);
    void cmdRO(const Params& p);
    void cmdIP(const Params& p);
    void cmdSC(const Params& p);
    void cmdFT(const Params& p);
    void cmdNP(const Params& p);
    void cmdTR(const Params& p);
    void cmdCR(const Params& p);
    void cmdPC(const Params& p);
    void cmdPS(const Params& p);
    void cmdLA(const Params& p);
    void cmdIW(const Params& p);
    void cmdLT(const Params& p);
    void cmdUL(const Params& p);
    void cmdPW(const Params& p);
    void cmdWU(const Params& p);
    void cmdSP(const Params& p);
    void cmdMove(const Params& p);
    void cmdPM(const Params& p);
    void cmdFill(const Params& p);
    void cmdSD(const Params& p);
    void cmdSS(const Params& p);
    void cmdLO(const Params& p);
    void cmdDI(const Params& p);
    void cmdPG(const Params& p);

    static const std::map<std::string, Handler>& handlers();

    HPGLScanner scan_;  // the bytes, where reading stands, and the messages
    HPGLDecodeOptions options_;
    std::size_t at_ = 0;  // where the command being decoded began, for messages
    std::string mnemonic_;
    Mode mode_ = Mode::Pcl;
    bool strayRun_ = false;  // inside a run of unexpected bytes, reported once
    State state_;
    std::optional<HPGLPolyline> path_;
    HPGLPlot plot_;
};
