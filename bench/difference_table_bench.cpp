// How fast a long list of differences opens as the window's table: 5,000 differences of a
// random configuration from a controller that holds another value in each, turned into
// rows as the editor shows them (the core), then shown in the "Compare" table and drawn.
// The aim: the table open within 0.5 s.
//   difference_table_bench [ROUNDS]
#include <QApplication>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_support.h"
#include "support/random_configuration.h"
#include "transfer/difference_table.h"
#include "ui/difference_table_window.h"

namespace {

using namespace brixo;
using bench::Now;

constexpr size_t kDifferences = 5000;

Configuration Random(unsigned seed) {
  testing::ConfigurationDice dice(seed);
  testing::RandomConfiguration c = dice.Configuration();
  return {c.Model, c.General, c.Events};
}

// A comparison's findings: the first kDifferences fields the editor's file holds, each
// with another value on the controller, as a verification lists them.
std::vector<Difference> Findings(const Configuration& mine) {
  std::vector<Difference> found;
  for (const FieldId& id : AllFields()) {
    if (found.size() == kDifferences) break;
    if (!FieldInFile(id, mine.Ref())) continue;
    const int value = FieldValue(id, mine.Ref());
    if (InfoOf(id.Kind).IsText) {
      const std::string text = FieldText(id, mine.Ref());
      found.push_back({id, value, value, text, text + " (old)", false});
    } else {
      found.push_back({id, value, value == 0 ? 1 : value - 1, {}, {}, false});
    }
  }
  return found;
}

void Print(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("  %-48s median %8.1f ms   max %8.1f ms  (%zu runs)\n", what, ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication qt(argc, argv);
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
  Configuration mine = Random(7);
  // Four aspects of sixteen steps on every pin: steps enough for the differences wanted.
  for (PinRecord& pin : mine.Model.PinTable) pin.AspectConfig = 3;
  const std::vector<Difference> found = Findings(mine);
  std::printf("A comparison with %zu differences:\n", found.size());

  std::vector<double> core;
  std::vector<double> opened;
  for (int i = 0; i < rounds; ++i) {
    double start = Now();
    std::vector<DifferenceRow> rows = DifferenceRows(found, mine.Ref());
    core.push_back((Now() - start) * 1000);
    DifferenceTableWindow window;
    window.resize(900, 600);
    window.ShowRows(std::move(rows), ComparedWith::Controller, "Compare", "Differences Found");
    window.show();
    QApplication::processEvents();
    opened.push_back((Now() - start) * 1000);
    if (window.Table()->rowCount() != static_cast<int>(found.size())) return 1;
  }
  Print("rows as the editor shows them (core)", core);
  Print("rows, the table filled, shown and drawn", opened);
  return 0;
}
