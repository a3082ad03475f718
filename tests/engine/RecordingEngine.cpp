// The recording engine module (see RecordingEngine.h for what it logs and how tests steer it).
// It stands where a real engine would, so the export is tested through the same loader, the
// same entry points and the same exception path; only what happens inside the engine is
// replaced by a line of text.

#include "engine/RecordingEngine.h"

#include <PlotWerk/SoToU3DActionPrivate.h>
#include <PlotWerk/SoU3DException.h>
#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoNode.h>

#include <mutex>
#include <sstream>

using namespace recording_engine;

namespace {

// The lines of the engines alive, published to the setting when an engine is finished or the
// PDF is written: appending each line to the setting would copy the whole log every time.
std::mutex logMutex;
std::string pending;

void logLine(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex);
    pending += line + "\n";
}

void publishLog() {
    std::lock_guard<std::mutex> lock(logMutex);
    SoPreferences::setValue(kLog, SoPreferences::getValue(kLog).getStdString() + pending);
    pending.clear();
}

void appendNumber(std::string& out, float value) {
    SbNumberFormat::appendSignificant(out, static_cast<double>(value), 6);
}

// "x y z", each number after a blank.
void appendVector(std::string& out, const SbVec3f& vector) {
    for (int axis = 0; axis < 3; ++axis) {
        out += ' ';
        appendNumber(out, vector[axis]);
    }
}

std::string points(std::initializer_list<const SoPrimitiveVertex*> vertices) {
    std::string text;
    for (const SoPrimitiveVertex* vertex : vertices) {
        if (!text.empty()) text += " |";
        vertex ? appendVector(text, vertex->getPoint()) : void(text += " null");
    }
    return text;
}

// "r g b" from the setting, or fallback when it does not hold three numbers.
SbColor colorSetting(const std::string& name, const SbColor& fallback) {
    std::istringstream text(SoPreferences::getValue(name.c_str()).getStdString());
    float r, g, b;
    return text >> r >> g >> b ? SbColor(r, g, b) : fallback;
}

const char* truth(bool value) {
    return value ? "true" : "false";
}

class RecordingEngine : public SoToU3DActionPrivate {
  public:
    RecordingEngine() {
        defaultEnvironment = SoPreferences::getBool(kDefaultEnvironment, false);
        firstShape = SoPreferences::getBool(kFirstShape, false);
        if (SoPreferences::getInt(kAbortAfterShapes, -1) == 0) abortMarker = this;
    }

    void openU3D(const SbString& fileName) override {
        record(1, "openU3D", " " + fileName.getStdString());
    }
    void closeU3D() override { record(2, "closeU3D"); }
    SbString getMainViewName() override {
        record(3, "getMainViewName");
        return SoPreferences::getValue(answer(3).c_str());
    }
    bool getFlagA() override { return flag(4, "getFlagA"); }
    float getValueB() override { return value(5, "getValueB"); }
    float getValueC() override { return value(6, "getValueC"); }
    bool getFlagD() override { return flag(7, "getFlagD"); }
    SbColor getBackgroundColor() override {
        record(8, "getBackgroundColor");
        return colorSetting(answer(8), backgroundColor);
    }

    Response separatorPre(SoCallbackAction*, const SoNode* node) override {
        return visit(9, "separatorPre", node);
    }
    Response separatorPost(SoCallbackAction*, const SoNode* node) override {
        return visit(10, "separatorPost", node);
    }
    Response environmentPre(SoCallbackAction*, const SoNode* node) override {
        return visit(11, "environmentPre", node);
    }
    Response lightPre(SoCallbackAction*, const SoNode* node) override {
        return visit(12, "lightPre", node);
    }
    Response cameraPre(SoCallbackAction*, const SoNode* node) override {
        return visit(13, "cameraPre", node);
    }
    Response shapePre(SoCallbackAction*, const SoNode* node) override {
        visit(14, "shapePre", node);
        if (++shapes_ == SoPreferences::getInt(kAbortAfterShapes, -1)) abortMarker = this;
        return SoCallbackAction::CONTINUE;
    }
    Response shapePost(SoCallbackAction*, const SoNode* node) override {
        return visit(15, "shapePost", node);
    }

    void addTriangle(SoCallbackAction*, const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                     const SoPrimitiveVertex* c) override {
        record(17, "addTriangle", points({a, b, c}));
    }
    void addLine(SoCallbackAction*, const SoPrimitiveVertex* a,
                 const SoPrimitiveVertex* b) override {
        record(18, "addLine", points({a, b}));
    }
    void addPoint(SoCallbackAction*, const SoPrimitiveVertex* a) override {
        record(19, "addPoint", points({a}));
    }
    bool isShapeDoneA() override { return flag(20, "isShapeDoneA"); }
    bool isShapeDoneB() override { return flag(21, "isShapeDoneB"); }
    bool isShapeDoneC() override { return flag(22, "isShapeDoneC"); }
    void addOffsetLine(SoCallbackAction*, const SoPrimitiveVertex* a,
                       const SoPrimitiveVertex* b) override {
        record(23, "addOffsetLine", points({a, b}));
    }

  private:
    // Logs the call, then throws when the test chose this slot to fail.
    void record(int slot, const char* name, const std::string& arguments = "") {
        logLine(std::to_string(slot) + " " + name + arguments);
        if (SoPreferences::getInt(kThrowSlot, -1) != slot) return;
        throw SoU3DException(1, SoPreferences::getValue(kThrowWhere, SbString(name)));
    }

    Response visit(int slot, const char* name, const SoNode* node) {
        const char* type = node ? node->getTypeId().getName().getString() : "null";
        record(slot, name, std::string(" ") + type);
        return SoCallbackAction::CONTINUE;
    }

    bool flag(int slot, const char* name) {
        record(slot, name);
        return SoPreferences::getBool(answer(slot).c_str(), false);
    }

    float value(int slot, const char* name) {
        record(slot, name);
        return SoPreferences::getFloat(answer(slot).c_str(), 0.0f);
    }

    int shapes_ = 0;
};

}  // namespace

extern "C" {

SoToU3DActionPrivate* m_so_init_u3d() {
    logLine("init");
    return new RecordingEngine;
}

void m_so_finish_u3d(SoToU3DActionPrivate* engine) {
    logLine("finish");
    delete engine;
    publishLog();
}

bool m_so_write_pdf(const SbString& pdfFile, const SbString& password1, const SbString& password2,
                    const SbString& title, const SbString& text, const SbString& u3dFile,
                    const SbString& mainViewName, bool flagA, float valueB, float valueC,
                    bool flagD, const SbColor& backgroundColor, bool landscape) {
    std::string line = "writePdf";
    for (const SbString* argument :
         {&pdfFile, &password1, &password2, &title, &text, &u3dFile, &mainViewName}) {
        line += " " + argument->getStdString() + " |";
    }
    line += std::string(" ") + truth(flagA) + " | ";
    appendNumber(line, valueB);
    line += " | ";
    appendNumber(line, valueC);
    line += std::string(" | ") + truth(flagD) + " |";
    appendVector(line, backgroundColor);
    logLine(line + " | " + truth(landscape));
    publishLog();
    return SoPreferences::getBool(kWritePdfResult, true);
}

}  // extern "C"
