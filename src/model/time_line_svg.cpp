// The time line as SVG. Only what SVG Tiny 1.2 offers is used (no markers, no CSS), so that
// Qt's renderer draws it as a browser does.
#include <cstdio>

#include "link/text_encoding.h"
#include "model/numeric_text.h"
#include "model/time_line.h"

namespace brixo {

namespace {

constexpr const char* kInk = "#202020";
constexpr const char* kGrid = "#b8b8b8";
constexpr const char* kBar = "#3a6ea5";
constexpr const char* kMark = "#c0392b";
constexpr const char* kJumpInk = "#6a3d9a";

std::string Num(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string s = text;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s;
}


struct Svg {
  std::string text;

  void Text(double x, double y, const std::string& content, const char* anchor = "start", int size = 11,
            const char* weight = "normal", const char* fill = kInk) {
    text += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + NumberText(size) +
            "\" font-weight=\"" + weight + "\" text-anchor=\"" + anchor + "\" fill=\"" + fill + "\">" +
            MarkupEscaped(content) + "</text>\n";
  }
  void Line(double x1, double y1, double x2, double y2, const char* stroke, const char* dash = nullptr) {
    text += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" + Num(y2) +
            "\" stroke=\"" + stroke + "\" stroke-width=\"1\"";
    if (dash) text += std::string(" stroke-dasharray=\"") + dash + "\"";
    text += "/>\n";
  }
  void Polygon(const std::string& points, const char* fill) {
    text += "<polygon points=\"" + points + "\" fill=\"" + fill + "\"/>\n";
  }
};

void DrawStep(Svg& svg, const TimeLine& line, const TimeLineStep& step) {
  const double y = line.Lanes[step.Lane].Y;
  const std::string number = NumberText(step.Step);
  svg.text += "<g>\n<title>" + MarkupEscaped(step.Words) + "</title>\n";
  switch (step.Shape) {
    case TimeLineShape::Mark: {
      const double cx = step.X + step.Width / 2;
      svg.Polygon(Num(cx) + "," + Num(y - 6) + " " + Num(cx + 5) + "," + Num(y) + " " + Num(cx) + "," + Num(y + 6) +
                      " " + Num(cx - 5) + "," + Num(y),
                  kMark);
      svg.Text(cx, y - 8, number, "middle", 9);
      break;
    }
    case TimeLineShape::Bar:
    case TimeLineShape::RandomBar: {
      const bool random = step.Shape == TimeLineShape::RandomBar;
      svg.text += "<rect x=\"" + Num(step.X) + "\" y=\"" + Num(y - 6) + "\" width=\"" + Num(step.Width) +
                  "\" height=\"12\" fill=\"" + (random ? "none" : kBar) + "\" fill-opacity=\"" +
                  (random ? "0" : "0.85") + "\" stroke=\"" + kBar + "\" stroke-width=\"1.5\"" +
                  (random ? " stroke-dasharray=\"4,2\"" : "") + "/>\n";
      svg.Text(step.X + 2, y - 8, random ? number + " random" : number, "start", 9);
      break;
    }
  }
  svg.text += "</g>\n";
}

void DrawJump(Svg& svg, const TimeLine& line, const TimeLineJump& jump) {
  const double top = line.Lanes.empty() ? jump.Y : line.Lanes.front().Y - line.LaneHeight / 2;
  const double y = jump.Y;
  svg.text += "<path d=\"M" + Num(jump.FromX) + "," + Num(top) + " V" + Num(y) + " H" + Num(jump.ToX) + " V" +
              Num(top - 5) + "\" fill=\"none\" stroke=\"" + kJumpInk + "\" stroke-width=\"1.5\"/>\n";
  svg.Polygon(Num(jump.ToX - 4) + "," + Num(top - 6) + " " + Num(jump.ToX + 4) + "," + Num(top - 6) + " " +
                  Num(jump.ToX) + "," + Num(top),
              kJumpInk);
}

}  // namespace

std::string TimeLineSvg(const TimeLine& line) {
  Svg svg;
  const std::string w = Num(line.Width);
  const std::string h = Num(line.Height);
  svg.text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" "
             "baseProfile=\"tiny\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
             "\" font-family=\"sans-serif\">\n";
  svg.text += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
  svg.Text(8, 15, line.Title, "start", 12, "bold");
  if (!line.Empty.empty()) {
    svg.Text(8, 38, line.Empty);
    return svg.text + "</svg>\n";
  }
  const double right = line.Width - 8;
  for (const TimeLineLane& lane : line.Lanes) {
    svg.Text(8, lane.Y + 4, lane.Label);
    svg.Line(line.PlotLeft, lane.Y, right, lane.Y, kGrid, "2,3");
  }
  for (const TimeLineRepeat& repeat : line.Repeats) {
    svg.Text((repeat.X0 + repeat.X1) / 2, repeat.Y - 3, "repeats", "middle", 10, "normal", kJumpInk);
  }
  for (const TimeLineJump& jump : line.Jumps) DrawJump(svg, line, jump);
  for (const TimeLineStep& step : line.Steps) DrawStep(svg, line, step);
  svg.Line(line.PlotLeft, line.AxisY, right, line.AxisY, kInk);
  for (const TimeLineTick& tick : line.Ticks) {
    svg.Line(tick.X, line.AxisY, tick.X, line.AxisY + 4, kInk);
    svg.Text(tick.X, line.AxisY + 15, tick.Text, "middle", 9);
  }
  return svg.text + "</svg>\n";
}

}  // namespace brixo
