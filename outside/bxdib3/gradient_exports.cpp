// Gradient exports: colour look-up, freeing and the heap objects.
#include <cstring>

#include "contracts/dib_services.h"
#include "gradient_dialog.h"
#include "gradient_object.h"

namespace quillo::gradient {

LPVOID NewGradientObject(const Gradient& gradient) {
  const std::vector<uint8_t> bytes = Serialize(gradient);
  void* object = HeapAlloc(GetProcessHeap(), 0, bytes.size());
  if (object) std::memcpy(object, bytes.data(), bytes.size());
  return object;
}

bool ReadGradientObject(LPCVOID object, Gradient* gradient) {
  const auto* data = static_cast<const uint8_t*>(object);
  const uint64_t size = ClaimedSize(data);
  return size && Parse(data, size, gradient);
}

}  // namespace quillo::gradient

using namespace quillo::gradient;

extern "C" {

void FreeGradient(LPVOID gradient) {
  if (gradient) HeapFree(GetProcessHeap(), 0, gradient);
}

BOOL grad_get_color_at(LPCVOID gradient, int position, int range, LPBYTE colours) {
  if (!colours) return FALSE;
  const auto* data = static_cast<const uint8_t*>(gradient);
  const uint64_t size = ClaimedSize(data);
  return size && SelectedColour(data, size, position, range, colours);
}

HWND SetupGradient(HWND frame, UINT message, LPVOID currentGradient, HWND* dialogVar) {
  return OpenGradientDialog(frame, message, currentGradient, dialogVar);
}

}  // extern "C"
