#include "SL/Com/Base/CLogger.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class CRecordingPrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  std::vector<std::string> mTexts;
  int mThrowsLeft = 0;
  void Print(std::string const& text) override {
    if (mThrowsLeft > 0) {
      --mThrowsLeft;
      throw std::runtime_error("printer fails");
    }
    mTexts.push_back(text);
  }
};

class CLoggerTest : public ::testing::Test {
protected:
  void SetUp() override { SL::CLogger::Clear(); }
  void TearDown() override { SL::CLogger::Clear(); }
};

}  // namespace

TEST_F(CLoggerTest, EachFlushHandsOverOnePiece) {
  auto printer = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  SL::CLogger::Push(printer);
  std::ostream& out = SL::CLogger::Instance();
  out << "abc";
  EXPECT_TRUE(printer->mTexts.empty());
  out << std::endl;
  ASSERT_EQ(1u, printer->mTexts.size());
  EXPECT_EQ("abc\n", printer->mTexts[0]);
  out << "a" << std::flush << "b" << 42 << std::endl;
  ASSERT_EQ(3u, printer->mTexts.size());
  EXPECT_EQ("a", printer->mTexts[1]);
  EXPECT_EQ("b42\n", printer->mTexts[2]);
  out.flush();
  out << std::flush;
  EXPECT_EQ(3u, printer->mTexts.size());
  // Long text goes through the buffer's growth in one piece.
  std::string const longText(100000, 'x');
  out << longText << std::flush;
  ASSERT_EQ(4u, printer->mTexts.size());
  EXPECT_EQ(longText, printer->mTexts[3]);
}

TEST_F(CLoggerTest, StackOrderAndEmptyStack) {
  SL::CLogger::Pop();
  SL::CLogger::Clear();
  // An empty stack gives a logger that takes text and discards it.
  std::ostream& null = SL::CLogger::Instance();
  null << "lost" << std::endl;
  EXPECT_TRUE(null.good());
  auto p1 = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  auto p2 = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  SL::CLogger::Push(p1);
  SL::CLogger::Push(p2);
  SL::CLogger::Instance() << "two" << std::endl;
  SL::CLogger::Pop();
  SL::CLogger::Instance() << "one" << std::endl;
  ASSERT_EQ(1u, p2->mTexts.size());
  ASSERT_EQ(1u, p1->mTexts.size());
  EXPECT_EQ("one\n", p1->mTexts[0]);
  SL::CLogger::Pop();
  // The null logger left at the bottom by the first Instance() is current again.
  SL::CLogger::Instance() << "discarded" << std::endl;
  EXPECT_EQ(1u, p1->mTexts.size());
}

TEST_F(CLoggerTest, PendingTextOfAReleasedLoggerReachesItsPrinter) {
  auto printer = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  SL::CLogger::Push(printer);
  SL::CLogger::Instance() << "pending";
  SL::CLogger::Pop();
  ASSERT_EQ(1u, printer->mTexts.size());
  EXPECT_EQ("pending", printer->mTexts[0]);
  // The logger keeps its printer alive until its buffer has printed.
  std::vector<std::string> texts;
  {
    class CForwardingPrinter : public SL::CGeneralStringBuffer::IPrinter {
    public:
      explicit CForwardingPrinter(std::vector<std::string>& texts) : mTexts(texts) {}
      void Print(std::string const& text) override { mTexts.push_back(text); }
      std::vector<std::string>& mTexts;
    };
    SL::CLogger::Push(boost::shared_ptr<CForwardingPrinter>(new CForwardingPrinter(texts)));
  }
  SL::CLogger::Instance() << "last words";
  SL::CLogger::Clear();
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ("last words", texts[0]);
}

TEST_F(CLoggerTest, ThrowingPrinterKeepsTextPendingAndLoggerUsable) {
  auto printer = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  printer->mThrowsLeft = 1;
  SL::CLogger::Push(printer);
  SL::CLogger::Instance() << "first" << std::endl;
  EXPECT_TRUE(printer->mTexts.empty());
  SL::CLogger::Instance() << "second" << std::endl;
  ASSERT_EQ(1u, printer->mTexts.size());
  EXPECT_EQ("first\nsecond\n", printer->mTexts[0]);
  // A printer still failing when its logger goes does not take the process down.
  printer->mThrowsLeft = 5;
  SL::CLogger::Instance() << "gone";
  SL::CLogger::Clear();
}
