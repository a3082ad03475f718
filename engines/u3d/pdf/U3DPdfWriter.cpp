// The document is built from qpdf's objects and written by QPDFWriter, which compresses every
// stream with Flate and encrypts with AES-256 (R6) when a password is given. Unencrypted, the
// file identifier is derived from the content, so that one request always gives the same bytes;
// encryption needs a random identifier before anything is written.
//
// The view dictionary is shared: the annotation opens with it, and the 3D stream lists it so that
// a reader offers it by name in its list of views.
//
// The file is written in place, once the whole document is ready. A failure part-way removes it,
// so that nothing that looks like a finished document stays behind; only a regular file is
// removed, never the device the path may name (/dev/full is one).

#include "pdf/U3DPdfWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <map>
#include <memory>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "pdf/U3DPdfHeading.h"
#include "pdf/U3DPdfNumber.h"

namespace u3d {
namespace {

using Object = QPDFObjectHandle;
using Entries = std::map<std::string, Object>;

constexpr double kA4Width = 595, kA4Height = 842;
constexpr double kMargin = 36;
constexpr double kHeadingGap = 12;    // between the heading and the 3D view
constexpr double kSmallestView = 72;  // a view smaller than an inch is of no use
constexpr int kViewDecimals = 6;      // of the view's numbers: the floats' own precision
constexpr double kPlaceholderGrey = 0.9, kBorderGrey = 0.5, kBorderWidth = 0.5;
constexpr int kPrintFlag = 4;  // the annotation is printed, as its appearance

// ---- The request ----

/// False for NaN as well.
bool within(float value, float low, float high) {
    return value >= low && value <= high;
}

template <std::size_t N>
bool allWithin(const std::array<float, N>& values, float low, float high) {
    return std::all_of(values.begin(), values.end(),
                       [&](float value) { return within(value, low, high); });
}

std::string viewProblem(const U3DPdfView& view) {
    const float largest = std::numeric_limits<float>::max();
    if (!allWithin(view.cameraToWorld, -largest, largest))
        return "the camera-to-world matrix holds a number that is not finite";
    if (!within(view.centerOfOrbit, 0, largest))
        return "the centre of orbit must be a finite distance of 0 or more";
    if (!view.orthographic && !(view.fieldOfView > 0 && view.fieldOfView < 180))
        return "the field of view must be greater than 0 and less than 180 degrees";
    if (view.orthographic && !(view.orthoScale > 0 && view.orthoScale <= largest))
        return "the orthographic scale must be a finite number greater than 0";
    if (!allWithin(view.background, 0, 1))
        return "the background colour's components must be 0 to 1";
    // Lighting schemes have plain names; anything else would need escapes qpdf does not make.
    if (!std::all_of(view.lighting.begin(), view.lighting.end(),
                     [](char c) { return std::isalnum(c, std::locale::classic()); }))
        return "the lighting scheme's name must be letters and digits";
    return "";
}

std::string posterProblem(const U3DPdfPoster& poster) {
    if (poster.rgb.empty()) return "";
    if (poster.width <= 0 || poster.height <= 0)
        return "the poster's width and height must be greater than 0";
    const std::uint64_t needed = std::uint64_t(poster.width) * std::uint64_t(poster.height) * 3;
    if (needed != poster.rgb.size())
        return "the poster has " + std::to_string(poster.rgb.size()) + " bytes, " +
               std::to_string(poster.width) + " x " + std::to_string(poster.height) +
               " RGB pixels need " + std::to_string(needed);
    return "";
}

std::string requestProblem(const U3DPdfRequest& request) {
    if (request.pdfFile.empty()) return "no PDF file name given";
    if (request.u3dFile.empty()) return "no U3D file name given";
    std::error_code unknown;
    if (std::filesystem::equivalent(request.pdfFile, request.u3dFile, unknown))
        return "it would overwrite the U3D file it embeds";
    // The passwords reach qpdf as C strings.
    const auto holdsNul = [](const std::string& text) { return text.find('\0') != text.npos; };
    if (holdsNul(request.userPassword) || holdsNul(request.ownerPassword))
        return "a password holds a NUL character";
    const std::string problem = viewProblem(request.view);
    return problem.empty() ? posterProblem(request.poster) : problem;
}

std::runtime_error documentError(const std::string& pdfFile, const std::string& reason) {
    return std::runtime_error("cannot write the PDF file '" + pdfFile + "': " + reason);
}

// ---- The U3D file ----

std::string readU3DFile(const std::string& path) {
    const auto failure = [&](const std::string& reason) {
        return std::runtime_error("cannot read the U3D file '" + path + "': " + reason);
    };
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) throw failure("no such file");
    if (error) throw failure(error.message());
    // Anything else, a pipe above all, could block the reading or never end.
    if (status.type() != std::filesystem::file_type::regular) throw failure("not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) throw failure(error.message());
    if (size == 0) throw failure("the file is empty");
    std::ifstream in(path, std::ios::binary);
    std::string bytes(size, '\0');
    if (!in.read(&bytes[0], std::streamsize(size))) throw failure("reading failed");
    return bytes;
}

// ---- Objects ----

Object name(const std::string& text) {
    return Object::newName("/" + text);
}

template <std::size_t N>
Object numbers(const std::array<float, N>& values) {
    std::vector<Object> items(N);
    std::transform(values.begin(), values.end(), items.begin(),
                   [](float value) { return Object::newReal(value, kViewDecimals); });
    return Object::newArray(items);
}

Object stream(QPDF& pdf, const std::string& data, const Entries& entries) {
    Object result = pdf.newStream(data);
    for (const auto& [key, value] : entries) result.getDict().replaceKey(key, value);
    return result;
}

Object projection(const U3DPdfView& view) {
    if (view.orthographic)
        return Object::newDictionary(
            {{"/Subtype", name("O")}, {"/OS", Object::newReal(view.orthoScale, kViewDecimals)}});
    return Object::newDictionary(
        {{"/Subtype", name("P")}, {"/FOV", Object::newReal(view.fieldOfView, kViewDecimals)}});
}

Object viewDictionary(const U3DPdfView& view) {
    const Object background = Object::newDictionary(
        {{"/Type", name("3DBG")}, {"/Subtype", name("SC")}, {"/C", numbers(view.background)}});
    Object result =
        Object::newDictionary({{"/Type", name("3DView")},
                               {"/XN", Object::newUnicodeString(view.name)},
                               {"/MS", name("M")},
                               {"/C2W", numbers(view.cameraToWorld)},
                               {"/CO", Object::newReal(view.centerOfOrbit, kViewDecimals)},
                               {"/P", projection(view)},
                               {"/BG", background}});
    if (!view.lighting.empty())
        result.replaceKey("/LS", Object::newDictionary({{"/Type", name("3DLightingScheme")},
                                                        {"/Subtype", name(view.lighting)}}));
    return result;
}

// ---- The appearance ----

std::string placeholderContents(double width, double height) {
    const double inset = kBorderWidth / 2;
    return "q " + pdfNumber(kPlaceholderGrey) + " g 0 0 " + pdfNumber(width) + " " +
           pdfNumber(height) + " re f " + pdfNumber(kBorderGrey) + " G " + pdfNumber(kBorderWidth) +
           " w " + pdfNumber(inset) + " " + pdfNumber(inset) + " " +
           pdfNumber(width - kBorderWidth) + " " + pdfNumber(height - kBorderWidth) + " re S Q\n";
}

/// Scaled to fit and centred, keeping the poster's aspect.
std::string posterContents(const U3DPdfPoster& poster, double width, double height) {
    const double scale = std::min(width / poster.width, height / poster.height);
    const double shownWidth = poster.width * scale, shownHeight = poster.height * scale;
    return "q " + pdfNumber(shownWidth) + " 0 0 " + pdfNumber(shownHeight) + " " +
           pdfNumber((width - shownWidth) / 2) + " " + pdfNumber((height - shownHeight) / 2) +
           " cm /Poster Do Q\n";
}

Object posterImage(QPDF& pdf, const U3DPdfPoster& poster) {
    return stream(pdf, std::string(poster.rgb.begin(), poster.rgb.end()),
                  {{"/Type", name("XObject")},
                   {"/Subtype", name("Image")},
                   {"/Width", Object::newInteger(poster.width)},
                   {"/Height", Object::newInteger(poster.height)},
                   {"/ColorSpace", name("DeviceRGB")},
                   {"/BitsPerComponent", Object::newInteger(8)}});
}

Object appearance(QPDF& pdf, const U3DPdfPoster& poster, double width, double height) {
    Object resources = Object::newDictionary();
    if (!poster.rgb.empty())
        resources.replaceKey("/XObject",
                             Object::newDictionary({{"/Poster", posterImage(pdf, poster)}}));
    const std::string contents = poster.rgb.empty() ? placeholderContents(width, height)
                                                    : posterContents(poster, width, height);
    return stream(pdf, contents,
                  {{"/Type", name("XObject")},
                   {"/Subtype", name("Form")},
                   {"/BBox", Object::newArray(Object::Rectangle(0, 0, width, height))},
                   {"/Resources", resources}});
}

// ---- The page ----

Object annotation(QPDF& pdf, const U3DPdfRequest& request, const Object::Rectangle& rect,
                  const std::string& u3d, const Object& page) {
    const Object view = pdf.makeIndirectObject(viewDictionary(request.view));
    const Object artwork = stream(pdf, u3d,
                                  {{"/Type", name("3D")},
                                   {"/Subtype", name("U3D")},
                                   {"/VA", Object::newArray({view})},
                                   {"/DV", Object::newInteger(0)}});
    const Object activation = Object::newDictionary(
        {{"/A", name("PO")}, {"/TB", Object::newBool(true)}, {"/NP", Object::newBool(true)}});
    const Object shown = appearance(pdf, request.poster, rect.urx - rect.llx, rect.ury - rect.lly);
    return pdf.makeIndirectObject(
        Object::newDictionary({{"/Type", name("Annot")},
                               {"/Subtype", name("3D")},
                               {"/Rect", Object::newArray(rect)},
                               {"/F", Object::newInteger(kPrintFlag)},
                               {"/P", page},
                               {"/Contents", Object::newUnicodeString(request.title)},
                               {"/3DD", artwork},
                               {"/3DV", view},
                               {"/3DA", activation},
                               {"/AP", Object::newDictionary({{"/N", shown}})}}));
}

void addPage(QPDF& pdf, const U3DPdfRequest& request, const std::string& u3d) {
    const double width = request.landscape ? kA4Height : kA4Width;
    const double height = request.landscape ? kA4Width : kA4Height;
    const U3DPdfHeading heading(request.title, request.text, kMargin, height - kMargin,
                                width - 2 * kMargin, request.lineWidth);
    const Object::Rectangle view(kMargin, kMargin, width - kMargin, heading.bottom() - kHeadingGap);
    if (view.ury - view.lly < kSmallestView)
        throw std::runtime_error("the title and text leave no room for the 3D view");
    Object page = pdf.makeIndirectObject(Object::newDictionary(
        {{"/Type", name("Page")},
         {"/MediaBox", Object::newArray(Object::Rectangle(0, 0, width, height))},
         {"/Resources", Object::newDictionary({{"/Font", heading.fonts()}})},
         {"/Contents", pdf.newStream(heading.contents())}}));
    page.replaceKey("/Annots", Object::newArray({annotation(pdf, request, view, u3d, page)}));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(page), false);
}

// ---- The file ----

void configure(QPDFWriter& writer, const U3DPdfRequest& request) {
    writer.setMinimumPDFVersion("1.7");
    writer.setCompressStreams(true);
    const std::string& user = request.userPassword;
    const std::string& owner = request.ownerPassword.empty() ? user : request.ownerPassword;
    if (user.empty() && owner.empty()) {
        writer.setDeterministicID(true);
        return;
    }
    writer.setR6EncryptionParameters(user.c_str(), owner.c_str(), true, true, true, true, true,
                                     true, qpdf_r3p_full, true);
}

void removeUnfinished(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
}

std::string systemError(int code) {
    return std::generic_category().message(code);
}

/// The whole document in memory, so that writing the file fails only where the system says why.
std::shared_ptr<Buffer> encode(QPDF& pdf, const U3DPdfRequest& request) {
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    configure(writer, request);
    writer.write();
    return writer.getBufferSharedPointer();
}

void store(const Buffer& document, const std::string& path) {
    std::error_code unknown;
    // Opening a pipe to write waits for a reader that may never come.
    if (std::filesystem::status(path, unknown).type() == std::filesystem::file_type::fifo)
        throw std::runtime_error("it is a pipe");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error(systemError(errno));
    const std::size_t size = document.getSize();
    const bool written = std::fwrite(document.getBuffer(), 1, size, file) == size;
    const int writeCause = errno;
    // What stayed buffered meets a full disk only on closing.
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return;
    const int cause = written ? errno : writeCause;
    removeUnfinished(path);
    throw std::runtime_error(systemError(cause));
}

void writeDocument(const U3DPdfRequest& request, const std::string& u3d) {
    try {
        QPDF pdf;
        pdf.emptyPDF();
        addPage(pdf, request, u3d);
        const Object info =
            Object::newDictionary({{"/Title", Object::newUnicodeString(request.title)}});
        pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(info));
        store(*encode(pdf, request), request.pdfFile);
    } catch (const std::exception& failure) {
        throw documentError(request.pdfFile, failure.what());
    }
}

}  // namespace

bool U3DPdfWriter::write(const U3DPdfRequest& request, std::string* error) const {
    std::string failure;
    try {
        const std::string problem = requestProblem(request);
        if (!problem.empty()) throw documentError(request.pdfFile, problem);
        writeDocument(request, readU3DFile(request.u3dFile));
        return true;
    } catch (const std::exception& exception) {
        failure = exception.what();
    } catch (...) {
        failure = documentError(request.pdfFile, "an unknown error").what();
    }
    if (error) *error = failure;
    return false;
}

}  // namespace u3d
