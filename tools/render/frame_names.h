// File names of a numbered frame sequence from a pattern such as
// "out/frame-%03d.png": exactly one "%d" or "%0Nd" (N 1 .. 9) takes the
// frame number, "%%" stands for a percent sign, and nothing else may follow
// a percent sign.
#pragma once
#include <string>
#include <string_view>

namespace quillo::render {

class FramePattern {
 public:
  // False with `error` set for a pattern without exactly one number field.
  bool Parse(std::string_view pattern, std::string& error);
  std::string Name(int number) const;

 private:
  std::string before_, after_;
  int width_ = 0;
};

}  // namespace quillo::render
