#include <filesystem>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "model/output_config.h"
#include "files/data_file_parser.h"
#include "files/field_reader.h"
#include "files/file_io.h"
#include "files/general_records.h"
#include "files/pin_group_records.h"
#include "transfer/event_control.h"

namespace brixo {
namespace {

constexpr const char* kInvalidFile = "Invalid configuration file";

// "not a record this program knows, so it was skipped; the lines after it (from line 121)
// went to pin 23".
std::string SkippedLineText(const SkippedLineWarning& skip, int numberingOffset) {
  std::string where = "pin " + std::to_string(skip.Pin + numberingOffset);
  if (skip.Aspect >= 0) where += " aspect " + std::to_string(skip.Aspect);
  return "not a record this program knows, so it was skipped; the lines after it (from line " +
         std::to_string(skip.LandingLine) + ") went to " + where;
}

void ApplyOutputConfig(PinRecord& pin, const std::vector<int>& bytes, int version) {
  auto& config = pin.OutputConfig;
  const int type = bytes[0];
  config[0] = static_cast<uint8_t>(type);
  if (type == 2 || type == 3) {
    for (int i = 1; i <= 3; ++i) config[i] = static_cast<uint8_t>(bytes[i]);
    if (version >= 20) {
      config[4] = static_cast<uint8_t>(bytes[4]);
      config[5] = static_cast<uint8_t>(bytes[5]);
    } else {
      config[4] = 0;
      config[5] = 31;
    }
    for (int i = 6; i <= 11; ++i) config[i] = 0;
  } else if (type == 4 || type == 5) {
    for (int i = 1; i <= 4; ++i) config[i] = static_cast<uint8_t>(bytes[i]);
  } else if (type == 1) {
    for (int i = 1; i <= 11; ++i) config[i] = static_cast<uint8_t>(bytes[i]);
    // Older files keep the servo range in the high half of the flag byte. The range has
    // three bits; taking more would leave bit 3 clear and move the range again on the next load.
    config[2] = NormalisedServoFlags(config[2]);
  } else {
    for (int i = 0; i <= 11; ++i) config[i] = 0;
  }
  pin.OutputLevel = config[1];
}

// Applies checked records in file order; the current pin and aspect carry from one
// record to the next.
class RecordApplier {
 public:
  RecordApplier(DataFileContext& context, int version) : context_(context), version_(version) {
    // A file without the map leaves the boxes as they are but no longer vouches for them.
    context_.Events.EnableMapKnown = false;
  }
  void Apply(const FileRecord& record);

 private:
  DataFileContext& context_;
  int version_;
  int pin_ = 0;
  int aspect_ = 0;
};

void RecordApplier::Apply(const FileRecord& record) {
  // The names the record table below has always used.
  DataFileContext& context = context_;
  const int version = version_;
  int& pin = pin_;
  int& aspect = aspect_;
  PinArray& pins = context.Model.PinTable;
  {
    const std::vector<int>& n = record.Numbers;
    switch (record.Tag) {
      case RecordTag::Eon:
        for (int k = 0; k < kEventInputCount; ++k) context.Events.OnAction[n[0]][k] = static_cast<int16_t>(n[1 + k] - 1);
        break;
      case RecordTag::Eof:
        for (int k = 0; k < kEventInputCount; ++k) context.Events.OffAction[n[0]][k] = static_cast<int16_t>(n[1 + k] - 1);
        break;
      case RecordTag::IdBytes:
        context.General.TextGenIDString.assign(n.begin() + 1, n.end());
        break;
      case RecordTag::Ena:
        DecodeEnableMap(n[0], n[1], context.Events);
        context.Events.EnableMapKnown = true;
        break;
      case RecordTag::Pin:
        pin = n[0];
        ApplyPinHeader(pins[pin], n[1], n[2], record.Texts[0]);
        break;
      case RecordTag::Dev:
        pins[pin].DevicePointer = static_cast<int16_t>(n[0]);
        pins[pin].DeviceDescription = record.Texts[0];
        break;
      case RecordTag::Pam: {
        size_t i = 0;
        if (version >= 32) pins[pin].XDccAddressCount = static_cast<uint8_t>(n[i++]);
        pins[pin].DccAddressCount = static_cast<uint8_t>(n[i++]);
        pins[pin].SerialAddressCount = static_cast<uint8_t>(n[i]);
        break;
      }
      case RecordTag::Cfg:
        ApplyOutputConfig(pins[pin], n, version);
        break;
      case RecordTag::Asp:
        aspect = n[0];
        pins[pin].Aspects[aspect].Description = record.Texts[0];
        break;
      case RecordTag::Ins:
        ApplyStepFields(pins[pin].Aspects[aspect].Steps[n[0]], n[1], n[2], n[3], n[4], n[5]);
        break;
      case RecordTag::End:
        break;
      default:
        ApplyGeneralRecord(record, version, context.Model.NumberingOffset, context.General, context.View);
        break;
    }
  }
}

}  // namespace

void RefreshAfterLoad(DataFileView& view) {
  view.ShowPin();
  view.ShowOutputConfig();
  view.ShowDetails();
  view.ShowEventPin();
  view.BuildDccMap();
  view.ShowDccAddress();
  view.BuildSerialMap();
  view.ShowSerialAddress();
  view.BuildXDccMap();
  view.ShowXDccAddress();
}

bool LoadDataFile(DataFileContext& context) {
  const std::string path = context.Chooser.ChooseOpenFile(kDataFileFilter, "");
  if (path.empty()) return false;
  return LoadDataFileFrom(context, path);
}

bool LoadDataFileFrom(DataFileContext& context, const std::string& path) {
  std::string text;
  std::string error;
  if (!ReadFileText(path, text, error)) {
    context.Prompt.ShowMessage("Could not open " + path + ": " + error, MessageIcon::Warning);
    return false;
  }
  return LoadDataFileText(context, text, std::filesystem::path(path).filename().string());
}

bool LoadDataFileText(DataFileContext& context, std::string_view text, const std::string& fileName) {
  const auto refuse = [&context, &fileName](FileProblem problem) {
    problem.File = fileName;
    context.Prompt.ShowMessage(RefusalText(kInvalidFile, problem), MessageIcon::Warning);
    return false;
  };
  LineReader reader(text);
  int version = 0;
  if (std::optional<FileProblem> problem = ReadDataFileHeader(reader, version)) return refuse(std::move(*problem));
  if (version < 3100) {
    context.Prompt.ShowMessage("Data File Version = " + std::to_string(version), MessageIcon::Information);
  }
  // The whole file is read and checked first: a broken file changes nothing. The check
  // keeps no records, and the second pass applies each one as it is read again, so a
  // load needs little more memory than the file's text.
  LineReader checker = reader;
  std::vector<SkippedLineWarning> skips;
  if (std::optional<FileProblem> problem = ReadDataRecords(checker, version, [](FileRecord&&) {}, &skips))
    return refuse(std::move(*problem));
  RecordApplier applier(context, version);
  ReadDataRecords(reader, version, [&applier](FileRecord&& record) { applier.Apply(record); });
  RefreshAfterLoad(context.View);
  // The file loaded as the format says it must; what a skipped line most likely did to it
  // is the user's to judge.
  if (!skips.empty()) {
    std::string text;
    for (const SkippedLineWarning& skip : skips) {
      if (!text.empty()) text += "\n";
      text += DescribeFileProblem({fileName, skip.Line, skip.Tag, SkippedLineText(skip, context.Model.NumberingOffset)});
    }
    context.Prompt.ShowMessage(text, MessageIcon::Warning);
  }
  return true;
}

}  // namespace brixo
