#include <string>

#include "files/device_library.h"
#include "files/file_io.h"
#include "files/pin_group_records.h"
#include "files/record_writer.h"

namespace brixo {
namespace {

// The head of CurrentPin's device, or -1 when the pin refers to no head.
int HeadOfCurrentPin(const ConfigModel& model) {
  if (model.CurrentPin >= kPinCount) return -1;
  const int head = model.CurrentPin + model.PinTable[model.CurrentPin].DevicePointer;
  if (head < 0 || head >= kPinCount || model.PinTable[head].DevicePointer != 0) return -1;
  return head;
}

bool RefuseNonDevice(DeviceContext& context) {
  if (HeadOfCurrentPin(context.Model) >= 0) return false;
  context.Prompt.ShowMessage("Referral is not a device", MessageIcon::Warning);
  return true;
}

}  // namespace

std::string ComposeDeviceFile(PinArray& pins, int head, bool& quotesReplaced) {
  RecordWriter writer;
  const std::string& name = pins[head].DeviceDescription;
  writer.Line().Text(std::string(kDefinitionsKeyword) + " " + name);
  writer.Record("Dev").Text(name);

  PinGroupLayout layout;
  layout.PinIndent = 2;
  layout.RecordIndent = 4;
  layout.StepIndent = 6;
  layout.WithDeviceRecord = false;
  layout.SkipUnusedAspects = true;
  layout.SkipEmptySteps = true;
  WritePinGroup(writer, 0, pins[head], layout);
  for (int g = 0; g < kPinCount; ++g) {
    if (g == head || g + pins[g].DevicePointer != head) continue;
    WritePinGroup(writer, (g - head + kPinCount) % kPinCount, pins[g], layout);
  }
  writer.Record("End");
  quotesReplaced = writer.QuotesReplaced();
  return writer.Finish();
}

bool SaveDevice(DeviceContext& context) {
  if (RefuseNonDevice(context)) return false;
  const std::string path = context.Chooser.ChooseSaveFile(kDeviceFileFilter, "");
  if (path.empty()) return false;
  return SaveDeviceTo(context, path);
}

bool SaveDeviceTo(DeviceContext& context, const std::string& path) {
  if (RefuseNonDevice(context)) return false;
  bool quotesReplaced = false;
  const std::string text = ComposeDeviceFile(context.Model.PinTable, HeadOfCurrentPin(context.Model), quotesReplaced);
  return SaveComposedFile(context.Prompt, path, text, quotesReplaced);
}

}  // namespace brixo
