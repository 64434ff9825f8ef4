// The HTML page of the pair: a side-by-side JPEG, a page made from a template, and the
// viewer script the page loads, all in one folder. The page's placeholders %1–%6 take the
// viewer's width and height, the JPEG's name, the display type, the swap flag and the zoom.
#pragma once

#include <string>
#include <string_view>

#include "core/image/image_buffer.h"

namespace duplora {

// The choices of the HTML panel of the save dialog, kept for the run of the program.
struct HtmlOptions {
    int displayType = 0;  // 0 side by side, 1 grey anaglyph, 2 colour anaglyph, 3 interlace
    bool swap = false;
    bool scaleToViewer = true;  // "Auf Applet Größe skalieren"
    int viewWidth = 400;        // one view, in pixels
    bool sharpen = true;
    int sharpness = 20;  // 1 soft … 50 hard
    bool showAfterwards = true;
    bool operator==(const HtmlOptions&) const = default;
};

inline constexpr std::string_view kViewerScriptName = "pairview.js";
inline constexpr std::string_view kHtmlTemplateName = "duplora.htm";

// What replaces %1 … %6.
struct HtmlPlaceholders {
    int viewerWidth = 0;   // 2 × view width (+ 5 in the page)
    int viewerHeight = 0;  // composed height at that width (+ 45 in the page)
    std::string jpegName;  // file-name part
    int displayType = 0;
    bool swap = false;
};

// The template with every "%" and digit 1–6 replaced; anything else is copied as it is.
std::string FillHtmlTemplate(std::string_view text, const HtmlPlaceholders& values);
// The template the program ships, and the viewer script.
std::string_view BuiltInHtmlTemplate();
std::string_view PairViewerScript();
// "duplora.htm" in the program's folder when it can be read, else the built-in template.
std::string HtmlTemplate(const std::string& programFolder);

// The viewer's height for a composed picture of width × height shown 2 × viewWidth wide.
int ViewerHeight(int composedWidth, int composedHeight, int viewWidth);

// The side-by-side picture of the page from two views already cut to their common area:
// scaled to the view width when asked (height × width / picture width), sharpened when asked.
// None when a step fails.
ImageBuffer MakeHtmlPicture(const ImageBuffer& left, const ImageBuffer& right,
                            const HtmlOptions& options);

// "name.htm" → "name.jpg" (the extension of the file-name part replaced or added).
std::string HtmlJpegPath(const std::string& pagePath);

// Writes the viewer script beside the page and the page itself (each replaced whole).
// False when either cannot be written.
bool WriteHtmlAndViewer(const std::string& pagePath, const HtmlPlaceholders& values,
                        std::string_view templateText);

}  // namespace duplora
