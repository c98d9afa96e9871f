#include "model/pin_page.h"

#include "model/numeric_text.h"
#include "model/output_config_transfer.h"

namespace brixo {

PinPage::PinPage(ConfigModel& model, AddressMaps& maps, UserPrompt& prompt, const InstructionTable& table)
    : model_(model), editor_(model, table), addresses_(model, maps), output_(model, prompt) {}

void PinPage::ShowPin() {
  editor_.ShowPin();
  addresses_.ShowCounts();
}

void PinPage::ShowDetails(bool details) {
  editor_.SetShowDetails(details);
  addresses_.ShowAddressCounts(details);
}

void PinPage::ShowAddressCounts() { addresses_.ShowAddressCounts(editor_.View().CheckPAspShowDetails); }

void PinPage::RefreshViews() {
  addresses_.BuildMaps();
  addresses_.ShowAddresses();
  ShowPin();
  ShowAddressCounts();
  output_.ShowOutputConfig();
}

void PinPage::ShowSelectedPin() {
  addresses_.ShowAddresses();
  addresses_.ShowCounts();
  ShowAddressCounts();
  output_.ShowOutputConfig();
}

std::string PinPage::SelectPin(const std::string& text) {
  const std::string shown = editor_.CommitPinNumber(text);
  ShowSelectedPin();
  return shown;
}

void PinPage::PinSpinnerMoved(int value) {
  CommitOutputEdits();
  SelectPin(NumberText(value));
}

void PinPage::CommitOutputEdits() {
  output_.CommitPageFields();
  editor_.CommitVisibleRows();
}

bool PinPage::GetPinConfig(BrixoLink& link, int index) {
  if (!ReadOutputConfig(link, model_, index, model_.CurrentPin)) return false;
  output_.ShowOutputConfig();
  return true;
}

void PinPage::SetPinConfig(BrixoLink& link, int index) {
  CommitOutputEdits();
  WriteOutputConfig(link, model_, index, model_.CurrentPin);
  // The write clears "Servo Initialised" in the model; the box follows it.
  output_.ShowOutputConfig();
}

}  // namespace brixo
