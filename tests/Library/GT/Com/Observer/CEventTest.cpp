#include "GT/Com/Observer/CEvent.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <memory>
#include <string>

TEST(CEvent, OwnsACopyOfItsSource) {
  auto source = std::make_unique<boost::any>(std::string("window"));
  GT::CEvent const event(*source);
  *source = 42;
  EXPECT_EQ(boost::any_cast<std::string>(event.GetSource()), "window");
  source.reset();
  EXPECT_EQ(boost::any_cast<std::string>(event.GetSource()), "window");

  // The source lives as long as the event.
  boost::shared_ptr<int> held(new int(5));
  boost::weak_ptr<int> watch(held);
  {
    GT::CEvent const holding{boost::any(held)};
    held.reset();
    EXPECT_FALSE(watch.expired());
  }
  EXPECT_TRUE(watch.expired());
}
