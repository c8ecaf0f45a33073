// The bytes of the catalogue "Plug.inf" in the engine's folder.
#pragma once
#include <cstdint>
#include <vector>

namespace quillo::effsaver {

// Empty when the file is missing, unreadable or implausibly large.
std::vector<uint8_t> ReadCatalogueFile();

}  // namespace quillo::effsaver
