// Base64 (RFC 4648 alphabet, with padding) for attachments, encoded header
// words and AUTH answers.
#pragma once

#include <string>
#include <string_view>

namespace quillo::bxsndml {

std::string Base64(std::string_view bytes);

// Base64 in lines of at most lineLength characters (a multiple of 4), each
// ended by CRLF.
std::string Base64Lines(std::string_view bytes, size_t lineLength = 76);

}  // namespace quillo::bxsndml
