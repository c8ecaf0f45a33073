#include "example_table.h"

#include "plugins/bxcomm1/kernels/balance.h"
#include "plugins/bxcomm1/kernels/gamma.h"
#include "plugins/bxcomm1/kernels/modulate.h"

namespace quillo::examples {

namespace {

// Runs a kernel with Prepare(settings) and Run(pass, rowBegin, rowEnd) over
// the whole picture.
template <class Kernel, class Settings>
auto WithKernel(Settings settings) {
  return [settings](const Picture& in, Picture& out) {
    Kernel kernel;
    kernel.Prepare(settings);
    const PixelPass pass = out.PassFrom(in);
    kernel.Run(pass, 0, in.height);
  };
}

BalanceSettings WarmBalance() {
  BalanceSettings s;
  s.value[0] = -40;  // less blue
  s.value[1] = 10;
  s.value[2] = 60;   // more red
  return s;
}

ModulateSettings HueTurn() {
  ModulateSettings s;
  s.hue = -40;        // red and brown towards violet
  s.saturation = 40;
  return s;
}

GammaSettings GammaTwo() {
  GammaSettings s;
  s.master = 200;  // exponent 2
  return s;
}

const ExampleRow kRows[] = {
    {"BXCOMM1.PL1", "ProcessBalance", "Balance.jpg", WithKernel<BalanceKernel>(WarmBalance())},
    {"BXCOMM1.PL1", "ProcessModulate", "MODULATE.jpg", WithKernel<ModulateKernel>(HueTurn())},
    {"BXCOMM1.PL1", "ProcessGamma", "Gamma2.jpg", WithKernel<GammaKernel>(GammaTwo())},
};

}  // namespace

std::span<const ExampleRow> ExampleTable() { return kRows; }

}  // namespace quillo::examples
