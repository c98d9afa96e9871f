#pragma once
// The displays that loading a data file or a device refreshes. Every call has a do-nothing
// default so that a headless caller implements only what it needs.
namespace brixo {

class DataFileView {
 public:
  virtual ~DataFileView() = default;
  virtual void ShowPin() {}
  virtual void ShowOutputConfig() {}
  // The details display for the current state of "Show Details".
  virtual void ShowDetails() {}
  virtual void ShowEventPin() {}
  virtual void BuildDccMap() {}
  virtual void ShowDccAddress() {}
  virtual void BuildSerialMap() {}
  virtual void ShowSerialAddress() {}
  virtual void BuildXDccMap() {}
  virtual void ShowXDccAddress() {}
  virtual void ShowDccOutputRange() {}
  virtual void ShowXDccOutputRange() {}
  // Which of the flexible-addressing boxes are visible, after "XAD" changed them.
  virtual void ShowAddressingOptions() {}
};

}  // namespace brixo
