#include "model/output_config_words.h"

#include "model/numeric_text.h"
#include "model/output_config.h"

namespace brixo {

namespace {

const char* YesNo(bool value) { return value ? "yes" : "no"; }

void AddFields(const PinRecord& pin, int page, std::vector<NamedValue>& out) {
  for (const OutputField& field : OutputFields()) {
    if (field.Page == page) out.push_back({field.Label, NumberText(pin.OutputConfig[field.Byte] - field.Offset)});
  }
}

}  // namespace

std::vector<NamedValue> OutputParametersInWords(const PinRecord& pin) {
  std::vector<NamedValue> out;
  const auto& c = pin.OutputConfig;
  const int page = PageOfOutputType(c[0]);
  if (page == kPageServo) {
    out.push_back({"Range", kServoRangeCaptions[ServoRangeOption(c[2])]});
    out.push_back({"Auto Suspend", YesNo((c[2] & 16) != 0)});
    out.push_back({"Suspended", YesNo((c[2] & 32) != 0)});
  } else if (page == kPagePwm) {
    out.push_back({"Drive Mode", kPwmModeCaptions[c[2] & 1]});
    out.push_back({"Acceleration Mode", kPwmModeCaptions[(c[2] >> 1) & 1]});
  }
  if (page == kPageServo || page == kPagePwm || page == kPageInput) AddFields(pin, page, out);
  return out;
}

}  // namespace brixo
