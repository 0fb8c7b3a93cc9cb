#pragma once
// The small markup of chart texts: bold, italic, underline, strike-out, fonts, sizes,
// colours, sub- and superscript, headings, preformatted text, centring, line breaks,
// a rule, images and four character entities, measured and drawn on a chart canvas.
#include <functional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "widgets/chart/ChartCanvas.h"

namespace platform {
class TGraphic;
}

namespace chart {

class HtmlParserException : public base::Exception {
public:
    using base::Exception::Exception;
};

// Given an upper-case extension such as ".BMP", a new graphic able to load that format, or none.
extern std::function<platform::TGraphic*(const std::string& extension)> GraphicFileExtension;
// Fills the data for a source name; 0 on success, else an error code.
extern std::function<int(const std::string& source, std::vector<unsigned char>& data)> GraphicDownload;

platform::TSize HtmlTextExtent(TChartCanvas& canvas, const std::string& text);
void HtmlTextOut(TChartCanvas& canvas, int x, int y, const std::string& text);

}  // namespace chart
