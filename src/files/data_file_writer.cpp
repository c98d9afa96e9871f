#include <string>

#include "files/data_file.h"
#include "files/file_io.h"
#include "files/general_records.h"
#include "files/pin_group_records.h"
#include "files/record_writer.h"
#include "transfer/event_control.h"

namespace brixo {
namespace {

void WriteEventRecords(RecordWriter& writer, const char* tag,
                       const std::array<std::array<int16_t, kEventInputCount>, kPinCount>& actions) {
  for (int i = 0; i < kPinCount; ++i) {
    writer.Record(tag).Number(i);
    for (int k = 0; k < kEventInputCount; ++k) writer.Number(actions[i][k] + 1);
  }
}

}  // namespace

std::string ComposeDataFile(ConfigModel& model, const GeneralSettings& general,
                            const EventControlState& events, bool compact, bool& quotesReplaced) {
  RecordWriter writer;
  writer.Line().Text(std::string(kDataFileKeyword) + " " + kDataFileVersion);
  WriteGeneralRecords(writer, general);
  WriteEventRecords(writer, "Eon", events.OnAction);
  WriteEventRecords(writer, "Eof", events.OffAction);
  // The initial event enable map as the controller holds it, when the configuration knows it.
  if (events.EnableMapKnown) writer.Record("Ena").Number(EncodeOnMask(events)).Number(EncodeOffMask(events));
  WriteIdBytesRecord(writer, general);

  PinGroupLayout layout;
  layout.SkipUndescribedAspects = compact;
  layout.SkipEmptySteps = compact;
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord& pin = model.PinTable[p];
    if (compact && pin.Description.empty()) continue;
    WritePinGroup(writer, p, pin, layout);
  }
  writer.Record("End");
  quotesReplaced = writer.QuotesReplaced();
  return writer.Finish();
}

bool SaveDataFile(DataFileContext& context, bool compact) {
  const std::string path = context.Chooser.ChooseSaveFile(kDataFileFilter, "");
  if (path.empty()) return false;
  return SaveDataFileTo(context, path, compact);
}

bool SaveDataFileTo(DataFileContext& context, const std::string& path, bool compact,
                    const std::function<bool()>& stop) {
  bool quotesReplaced = false;
  const std::string text = ComposeDataFile(context.Model, context.General, context.Events, compact, quotesReplaced);
  return SaveComposedFile(context.Prompt, path, text, quotesReplaced, stop);
}

}  // namespace brixo
