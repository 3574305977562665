#include "SL/Linux/Audio/Num2Code.h"

#include <gtest/gtest.h>

// A four-character code reads as its characters; the text ends at the first
// zero byte.
TEST(Num2Code, FourBytesMostSignificantFirstUpToTheFirstZero) {
  struct {
    std::uint32_t code;
    char const* text;
  } const cases[] = {{0x77686174u, "what"},
                     {0x21646576u, "!dev"},
                     {0x666D743Fu, "fmt?"},
                     {0x41420043u, "AB"},
                     {0u, ""},
                     {0x00414243u, ""}};
  for (auto const& c : cases) EXPECT_EQ(c.text, CoreAudio::num2code(c.code)) << c.code;
  EXPECT_EQ(std::string("\xFF\xFF\xFF\xFF"), CoreAudio::num2code(0xFFFFFFFFu));
}
