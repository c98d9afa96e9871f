#pragma once
// The six general-settings records of the data file ("ID$", "DCC", "XAD", "HWC", "LED",
// "SPC"): how the General tab's values are written and how a read record sets them.
#include <array>
#include <cstdint>

#include "files/data_file_view.h"
#include "files/file_record.h"
#include "files/record_writer.h"
#include "transfer/general_settings_captions.h"
#include "transfer/general_settings_state.h"

namespace brixo {

// Each value as Write All would send it, so that the file describes the controller it
// restores ("Enforced eXtended Address" as the controller's 127).
void WriteGeneralRecords(RecordWriter& writer, const GeneralSettings& general);
// "IDB": the identification string as character codes, written after the event records
// when "ID$" cannot carry it (a double quote), so that a backup restores it exactly.
void WriteIdBytesRecord(RecordWriter& writer, const GeneralSettings& general);

// Applies one checked general record read from a file of the given version.
void ApplyGeneralRecord(const FileRecord& record, int version, uint8_t numberingOffset,
                        GeneralSettings& general, DataFileView& view);

}  // namespace brixo
