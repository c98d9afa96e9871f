// How fast the views of the whole configuration follow an edit: the pin overview rebuilt
// after each edit (the core's rows with their changed marks, and the window's table), and
// an aspect's time line laid out, written as SVG and drawn by Qt SVG. The aims: the
// overview within 10 ms of an edit, a time line within 20 ms.
//   overview_time_line_bench [ROUNDS]
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "app/pin_overview_source.h"
#include "bench_support.h"
#include "files/data_file.h"
#include "model/time_line.h"
#include "ui/pin_overview_window.h"
#include "ui/time_line_picture.h"

namespace {

using namespace brixo;
using bench::Now;

struct Figures {
  std::vector<double> Ms;
  void Add(double seconds) { Ms.push_back(seconds * 1000); }
  void Print(const char* what) {
    std::sort(Ms.begin(), Ms.end());
    const double median = Ms[Ms.size() / 2];
    const double p99 = Ms[std::min(Ms.size() - 1, Ms.size() * 99 / 100)];
    std::printf("  %-44s median %7.3f ms   99%% %7.3f ms   max %7.3f ms  (%zu runs)\n", what, median, p99, Ms.back(),
                Ms.size());
  }
};

// Every pin a full program on twelve aspects of three steps with every kind of step, so
// that rows, words and lanes are as long as they get.
void FillEveryPin(ConfigModel& model) {
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord& pin = model.PinTable[p];
    pin.Description = "Pin " + std::to_string(p) + " with a long description";
    pin.AspectConfig = p % 2 == 0 ? 3 : 2;
    pin.DccAddressCount = static_cast<uint8_t>(p % 7);
    pin.SerialAddressCount = static_cast<uint8_t>((p + 3) % 7);
    pin.XDccAddressCount = static_cast<uint8_t>(p % 2);
    for (int a = 0; a < kAspectCount; ++a) {
      for (int s = 0; s < kStepCount; ++s) {
        const uint8_t kinds[] = {8, 102, 9, 103, 39, 97, 38, 1, 112};
        StepRecord& step = pin.Aspects[a].Steps[s];
        step = {kinds[(s + a) % 9], 0, static_cast<uint8_t>((s * 3) % (kPinCount - p)), static_cast<uint8_t>(a),
                static_cast<uint8_t>(10 + s), static_cast<uint8_t>(s % 3)};
        if (step.Instruction == 1) step.Par2 = 0;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication qt(argc, argv);
  const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
  bench::PrintingPrompt prompt;
  NoFileChooser chooser;
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  AppState app(prompt, chooser, options);
  if (!LoadDataFileFrom(app.DataFiles(), std::string(BRIXO_SOURCE_DATA_DIR) + "/demo.dat")) return 1;
  FillEveryPin(app.Model());
  app.NoteEdits();

  std::printf("Pin overview after an edit (32 pins, every pin edited in turn):\n");
  PinOverview overview;
  PinOverviewWindow window(app);
  window.resize(900, 640);
  window.show();
  QApplication::processEvents();
  Figures core;
  Figures shown;
  Figures refreshed;
  for (int i = 0; i < rounds; ++i) {
    PinRecord& pin = app.Model().PinTable[i % kPinCount];
    pin.Aspects[i % kAspectCount].Steps[i % 3].Par1 ^= 1;
    pin.Description[0] = static_cast<char>('A' + i % 26);
    double start = Now();
    RefreshPinOverview(app, overview);
    core.Add(Now() - start);
    start = Now();
    window.Refresh();
    refreshed.Add(Now() - start);
    // What the event loop does next: draws what the refresh changed.
    QApplication::processEvents();
    shown.Add(Now() - start);
  }
  core.Print("rows, changed marks, filter and sort (core)");
  refreshed.Print("the window's table refreshed");
  shown.Print("the window's table refreshed and drawn");

  std::printf("Time line of an aspect (9 steps over several pins, with a jump back):\n");
  Figures layout;
  Figures svg;
  Figures drawn;
  size_t bytes = 0;
  for (int i = 0; i < rounds / 4; ++i) {
    const int pin = 2 * (i % 16);  // the nine-step pins
    double start = Now();
    const TimeLine line = LayOutTimeLine(app.Model(), pin, i % 4, 420);
    layout.Add(Now() - start);
    start = Now();
    const std::string text = TimeLineSvg(line);
    svg.Add(Now() - start);
    bytes = text.size();
    start = Now();
    const QImage image = RenderSvg(text);
    drawn.Add(Now() - start);
    if (image.isNull()) return 1;
  }
  layout.Print("layout");
  svg.Print("SVG text");
  drawn.Print("drawn by Qt SVG into an image");
  std::printf("  (about %zu bytes of SVG per picture)\n", bytes);
  return 0;
}
