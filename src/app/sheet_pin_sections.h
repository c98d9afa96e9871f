#pragma once
// The configuration sheet's part about single pins: each pin that holds any configuration
// with its description, device, output type and parameters, addresses and every aspect
// in words and on a time line.
#include <vector>

#include "files/sheet_document.h"
#include "model/pin_model.h"
#include "model/pin_overview.h"

namespace brixo {

// The width the sheet lays its time lines out for; a page shows them at its text width, a
// little smaller, so that their texts come near the size of the sheet's own.
inline constexpr int kSheetPictureWidth = 600;

// Appends a section for every pin that holds configuration (PinHoldsConfiguration of the
// data file); `rows` are the overview's rows of all pins, in pin order, whose addresses
// the sections repeat.
void AddPinSections(SheetDocument& sheet, const ConfigModel& model, const std::vector<PinOverviewRow>& rows);

}  // namespace brixo
