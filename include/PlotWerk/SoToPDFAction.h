#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoToU3DAction.h>
#include <Tessara/math/SbColor.h>

/// Exports a scene to a PDF document that embeds it in 3D: the U3D export runs into a
/// temporary file, and the engine module's PDF writer builds the document around it. The
/// temporary file is removed in every case. Use: the setters, openFile, one apply, closeFile.
class SoToPDFAction : public SoToU3DAction {
    PW_ACTION_HEADER(SoToPDFAction);

  public:
    SoToPDFAction();
    ~SoToPDFAction() override;

    /// Starts the export of the PDF document `fileName`; false when one is under way or the
    /// engine could not start.
    bool openFile(const SbString& fileName) override;
    bool openFile(const char* fileName) override;
    /// Writes the PDF document; false when none was open or anything failed.
    bool closeFile() override;

    void setPassword(const char* password1, const char* password2);
    void setPassword(const SbString& password1, const SbString& password2);
    void setTitle(const char* title);
    void setTitle(const SbString& title);
    void setText(const char* text);
    void setText(const SbString& text);
    /// Landscape exactly when `landscape` is 1.
    void setLandscape(int landscape);

    /// Has the engine module's PDF writer build `pdfFile` around `u3dFile`.
    static bool writeFile(const SbString& pdfFile, const SbString& password1,
                          const SbString& password2, const SbString& title, const SbString& text,
                          const SbString& u3dFile, const SbString& mainViewName, bool flagA,
                          float valueB, float valueC, bool flagD, const SbColor& backgroundColor,
                          bool landscape);

  private:
    struct Document;

    void removeTemporary();

    Document* document_;
};
