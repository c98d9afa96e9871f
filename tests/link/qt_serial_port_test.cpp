// QtSerialPort on a bare pseudo-terminal whose far end the test plays byte by byte: waits
// end when their bytes are in (or when it is clear no more are coming), bytes come out in
// the order they arrived whoever took them from the driver, and a far end that goes away
// mid-wait ends the wait with the fault.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <thread>
#include <vector>

#include "link/link_test_support.h"
#include "link/qt_serial_port.h"

namespace brixo::test {
namespace {

using namespace std::chrono_literals;

class QtSerialPortPty : public ::testing::Test {
 protected:
  void SetUp() override {
    int slave = -1;
    ASSERT_EQ(::openpty(&master_, &slave, name_, nullptr, nullptr), 0);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::close(slave);  // the port opens it by name, as a user's device
    port_.SetLineSettings("19200,o,8,1");
    ASSERT_TRUE(port_.Open(name_)) << port_.TakeFault();
  }
  void TearDown() override {
    port_.Close();
    if (master_ >= 0) ::close(master_);
  }

  // The far end sends bytes.
  void Send(std::vector<uint8_t> bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::vector<int> ReadAll() {
    std::vector<int> got;
    for (int b; (b = port_.ReadByte()) >= 0;) got.push_back(b);
    return got;
  }
  // What the far end received.
  std::vector<uint8_t> Received() const {
    std::vector<uint8_t> bytes(64);
    const ssize_t n = ::read(master_, bytes.data(), bytes.size());
    bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return bytes;
  }

  int master_ = -1;
  char name_[128] = {};
  QtSerialPort port_;
};

TEST_F(QtSerialPortPty, WaitsEndWhenTheirBytesAreInOrNoMoreCanCome) {
  struct Delivery {
    std::chrono::milliseconds After;
    std::vector<uint8_t> Bytes;
  };
  struct Case {
    const char* Name;
    std::vector<Delivery> FarEnd;
    int Count;
    int TimeoutMs;
    bool Result;
    std::vector<int> Bytes;  // all there when the wait ended
    std::chrono::milliseconds Least, Most;
  };
  // A wait cannot end before its bytes came or its time ran out; how soon after it ends is
  // bounded far below the window it would otherwise take, which no busy machine reaches.
  const Case cases[] = {
      {"already there", {{0ms, {1, 2, 3, 4, 5}}}, 5, 10000, true, {1, 2, 3, 4, 5}, 0ms, 5000ms},
      // Long after they could have come, any byte ends the wait: the caller learns more.
      {"late, in pieces", {{30ms, {1, 2}}, {30ms, {3, 4, 5}}}, 5, 10000, true, {1, 2, 3, 4, 5}, 25ms, 5000ms},
      // A reply shorter than expected ends the wait soon after its wire time, not the window.
      {"fewer than expected", {{0ms, {1, 2}}}, 6, 10000, true, {1, 2}, 0ms, 5000ms},
      {"silence", {}, 3, 150, false, {}, 140ms, 5000ms},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(ReadAll().empty());
    std::thread farEnd([&] {
      for (const Delivery& d : c.FarEnd) {
        std::this_thread::sleep_for(d.After);
        Send(d.Bytes);
      }
    });
    if (!c.FarEnd.empty() && c.FarEnd[0].After == 0ms) std::this_thread::sleep_for(20ms);  // through the driver
    QElapsedTimer timer;
    timer.start();
    const bool result = port_.WaitForCount(c.Count, c.TimeoutMs);
    const auto took = std::chrono::milliseconds(timer.elapsed());
    farEnd.join();
    std::this_thread::sleep_for(20ms);  // the rest through the driver
    EXPECT_EQ(result, c.Result);
    EXPECT_GE(took, c.Least);
    EXPECT_LE(took, c.Most);
    EXPECT_EQ(ReadAll(), c.Bytes);
    EXPECT_TRUE(port_.IsOpen());
  }
}

// A wait that asked for more bytes than came leaves the driver set to report the device
// readable only with that many: bytes that come later must still be read one by one, and
// what is written must still go out.
TEST_F(QtSerialPortPty, BytesAfterALongerWaitAreStillRead) {
  Send({7, 8});
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(port_.WaitForCount(12, 10000));
  EXPECT_EQ(ReadAll(), (std::vector<int>{7, 8}));
  Send({9});
  EXPECT_TRUE(port_.WaitForBytes(10000));
  EXPECT_EQ(port_.BytesWaiting(), 1);
  EXPECT_EQ(ReadAll(), std::vector<int>{9});
  ASSERT_TRUE(port_.Write(std::vector<uint8_t>{0x43, 0xE0, 0x5D}));
  EXPECT_EQ(Received(), (std::vector<uint8_t>{0x43, 0xE0, 0x5D}));
}

// With an event loop between exchanges (the window), Qt takes bytes into its own buffer;
// they came first and must be handed out first.
TEST_F(QtSerialPortPty, BytesQtTookComeOutBeforeLaterOnes) {
  Send({1, 2, 3});
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 100) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(5ms);
  }
  Send({4, 5, 6});
  ASSERT_TRUE(port_.WaitForCount(6, 10000));
  EXPECT_EQ(ReadAll(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(QtSerialPortPty, FarEndGoingAwayEndsTheWaitWithTheFault) {
  std::thread farEnd([this] {
    std::this_thread::sleep_for(50ms);
    ::close(master_);
    master_ = -1;
  });
  QElapsedTimer timer;
  timer.start();
  EXPECT_FALSE(port_.WaitForCount(5, 20000));
  farEnd.join();
  EXPECT_LT(timer.elapsed(), 10000) << "not the whole window";
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_EQ(port_.TakeFault(), PortGoneFault(name_));
}

}  // namespace
}  // namespace brixo::test
