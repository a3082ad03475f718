#pragma once

#include <functional>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace u3d {

/// The title and the lines of text at the top of the page, in the standard Helvetica fonts.
class U3DPdfHeading {
  public:
    using LineWidth = std::function<double(const std::string& utf8, const char* font, double size)>;

    /// Lays out `title` (bold; none when empty) and the '\n'-separated `text` lines downwards
    /// from the top-left corner (`left`, `top`), in points from the page's bottom left. With
    /// `lineWidth`, lines longer than `width` break between words, a word longer than a line
    /// between its characters.
    U3DPdfHeading(const std::string& title, const std::string& text, double left, double top,
                  double width = 0.0, const LineWidth& lineWidth = nullptr);

    /// The page content operators that draw the heading.
    const std::string& contents() const { return contents_; }
    /// How far down the heading reaches, in points from the page's bottom.
    double bottom() const { return cursor_; }
    /// The /Font resources the contents name.
    QPDFObjectHandle fonts() const;

  private:
    /// Adds a paragraph, wrapped to the width.
    void addParagraph(const std::string& utf8, bool bold, double size);
    void addLine(const std::string& utf8, bool bold, double size);

    std::string contents_;
    double left_;
    double cursor_;
    double width_;
    LineWidth lineWidth_;
};

}  // namespace u3d
