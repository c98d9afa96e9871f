#pragma once
// The texts of an SVG picture apart from its shapes. Qt's SVG renderer draws texts as
// outlines, which a PDF then carries as thousands of curves per picture and no reader can
// search or copy; the page painter draws the shapes with it and the texts itself.
#include <string>
#include <vector>

namespace brixo {

enum class SvgAnchor { Start, Middle, End };

struct SvgText {
  double X = 0;
  double Y = 0;  // the baseline
  double Size = 12;
  bool Bold = false;
  SvgAnchor Anchor = SvgAnchor::Start;
  std::string Fill = "#000000";
  std::string Text;  // UTF-8, entities read
};

struct SvgParts {
  std::string Shapes;  // the picture without the texts taken out
  std::vector<SvgText> Texts;
};

// Takes out every plain text element: one with only position, font size and weight,
// anchor and fill, and no elements inside. Any other text element stays with the shapes.
SvgParts SplitSvgTexts(const std::string& svg);

}  // namespace brixo
