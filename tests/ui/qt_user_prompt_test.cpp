// How the window's message boxes answer: a box closed without a choice must never be
// taken for the answer that goes ahead.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "ui/qt_user_prompt.h"

namespace brixo {
namespace {

// Acts on the message box once it is up.
void WhenBoxShows(std::function<void(QMessageBox*)> act) {
  QTimer::singleShot(0, [act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    act(box);
  });
}

struct PromptCase {
  const char* Name;
  MessageButtons Buttons;
  std::function<void(QMessageBox*)> Act;
  MessageAnswer Expected;
};

TEST(QtUserPromptTest, AnswersFollowTheButtonPressed) {
  const PromptCase cases[] = {
      {"ok clicked", MessageButtons::OkCancel, [](QMessageBox* b) { b->button(QMessageBox::Ok)->click(); },
       MessageAnswer::Ok},
      {"cancel clicked", MessageButtons::OkCancel,
       [](QMessageBox* b) { b->button(QMessageBox::Cancel)->click(); }, MessageAnswer::Cancel},
      {"escape on ok/cancel", MessageButtons::OkCancel, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); },
       MessageAnswer::Dismissed},
      {"enter takes the default", MessageButtons::OkCancel,
       [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }, MessageAnswer::Ok},
      {"no clicked", MessageButtons::YesNo, [](QMessageBox* b) { b->button(QMessageBox::No)->click(); },
       MessageAnswer::No},
  };
  for (const PromptCase& c : cases) {
    QtUserPrompt prompt;
    WhenBoxShows(c.Act);
    EXPECT_EQ(prompt.ShowMessage("Continue?", MessageIcon::Warning, c.Buttons), c.Expected) << c.Name;
  }
}

}  // namespace
}  // namespace brixo
