// The PDF export: the U3D export into a temporary file, then the engine module's PDF writer,
// given what the engine says of the scene (or the defaults when no engine is open).

#include <PlotWerk/SoPdfLog.h>
#include <PlotWerk/SoToPDFAction.h>
#include <PlotWerk/SoToU3DActionPrivate.h>
#include <Tessara/misc/SbFileHelper.h>
#include <Tessara/misc/SoLibPdf.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "frame/SoBackendActionSource.h"

/// What the document is made of, in this order.
struct SoToPDFAction::Document {
    SbString pdfFile;
    SbString password1, password2;
    SbString title;
    SbString text;
    SbString u3dFile;
    bool landscape = false;
};

namespace {

/// A new file of its own with the name prefix "tx.u3d" in the temporary directory.
SbString temporaryU3DFile() {
    const char* directory = std::getenv("TMPDIR");
    std::string name = std::string(directory && *directory ? directory : "/tmp") + "/tx.u3dXXXXXX";
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) return SbString();
    close(descriptor);
    return SbString(name);
}

}  // namespace

PW_ACTION_SOURCE(SoToPDFAction, SoToU3DAction)

SoToPDFAction::SoToPDFAction() : document_(new Document) {
    checkRegistration();
}

SoToPDFAction::~SoToPDFAction() {
    removeTemporary();
    delete document_;
}

void SoToPDFAction::setPassword(const char* password1, const char* password2) {
    setPassword(SbString(password1 ? password1 : ""), SbString(password2 ? password2 : ""));
}

void SoToPDFAction::setPassword(const SbString& password1, const SbString& password2) {
    document_->password1 = password1;
    document_->password2 = password2;
}

void SoToPDFAction::setTitle(const char* title) {
    setTitle(SbString(title ? title : ""));
}

void SoToPDFAction::setTitle(const SbString& title) {
    document_->title = title;
}

void SoToPDFAction::setText(const char* text) {
    setText(SbString(text ? text : ""));
}

void SoToPDFAction::setText(const SbString& text) {
    document_->text = text;
}

void SoToPDFAction::setLandscape(int landscape) {
    document_->landscape = landscape == 1;
}

bool SoToPDFAction::openFile(const char* fileName) {
    return openFile(SbString(fileName ? fileName : ""));
}

// A failed start leaves the document named, so that closeFile clears it.
bool SoToPDFAction::openFile(const SbString& fileName) {
    if (!document_->pdfFile.isEmpty()) return false;
    document_->pdfFile = fileName;
    document_->u3dFile = temporaryU3DFile();
    return SoToU3DAction::openFile(document_->u3dFile);
}

bool SoToPDFAction::closeFile() {
    if (document_->pdfFile.isEmpty()) return false;
    SbString mainView;
    bool flagA = true, flagD = false;
    float valueB = 90.0f, valueC = 1.0f;
    SbColor background(0.0f, 0.0f, 0.0f);
    if (SoToU3DActionPrivate* engine = getImpl()) {
        mainView = engine->getMainViewName();
        flagA = engine->getFlagA();
        valueB = engine->getValueB();
        valueC = engine->getValueC();
        flagD = engine->getFlagD();
        background = engine->getBackgroundColor();
    }
    bool written = SoToU3DAction::closeFile();
    const Document& d = *document_;
    if (written)
        written = writeFile(d.pdfFile, d.password1, d.password2, d.title, d.text, d.u3dFile,
                            mainView, flagA, valueB, valueC, flagD, background, d.landscape);
    removeTemporary();
    document_->pdfFile.makeEmpty();
    return written;
}

void SoToPDFAction::removeTemporary() {
    if (document_->u3dFile.isEmpty()) return;
    SbFileHelper::removeFile(document_->u3dFile);
    document_->u3dFile.makeEmpty();
}

bool SoToPDFAction::writeFile(const SbString& pdfFile, const SbString& password1,
                              const SbString& password2, const SbString& title,
                              const SbString& text, const SbString& u3dFile,
                              const SbString& mainViewName, bool flagA, float valueB, float valueC,
                              bool flagD, const SbColor& backgroundColor, bool landscape) {
    if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("writing pdf file...");
    SoLibPdf* module = SoLibPdf::instance();
    const bool written =
        module &&
        module->m_so_write_pdf(pdfFile, password1, password2, title, text, u3dFile, mainViewName,
                               flagA, valueB, valueC, flagD, backgroundColor, landscape);
    if (written && SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("writing pdf file done.");
    if (!written && SoPdfLog::getLogLevel() >= 1) SoPdfLog::post("writing pdf file failed.");
    return written;
}
