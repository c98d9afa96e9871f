#pragma once
// One record of a data or definitions file after it was read and checked: the tag and its
// fields in file order, numbers and strings apart.
#include <string>
#include <vector>

namespace brixo {

enum class RecordTag { End, IdString, Dcc, Xad, Hwc, Led, Spc, Eon, Eof, Ena, IdBytes, Pin, Pab, Dev, Pam, Cfg, Asp, Ins };

struct FileRecord {
  RecordTag Tag = RecordTag::End;
  std::vector<int> Numbers;
  std::vector<std::string> Texts;
};

}  // namespace brixo
