// libFuzzer target: the gift archive reader, which the self-extracting stub
// runs over whatever file it was started as. An accepted archive holds only
// safe, distinct names and members of exactly the sizes and CRCs the
// directory declares; making a gift program from it and reading that again
// gives the same members.
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "gift/archive/gift_program.h"
#include "gift/archive/member_name.h"
#include "gift/archive/zip_reader.h"

using namespace quillo::gift;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZipLimits limits;
  limits.maxMemberSize = 1 << 20;  // small limits keep each run quick
  limits.maxTotalSize = 4 << 20;
  std::vector<ZipMember> members;
  if (ReadZip(data, size, limits, &members) != ZipError::kNone) {
    if (!members.empty()) __builtin_trap();
    return 0;
  }
  std::set<std::string> keys;
  for (const ZipMember& member : members) {
    if (!IsSafeMemberName(member.name) || !keys.insert(MemberNameKey(member.name)).second) __builtin_trap();
    if (member.bytes.size() > limits.maxMemberSize) __builtin_trap();
  }
  const std::vector<uint8_t> zip(data, data + size);
  const std::optional<std::vector<uint8_t>> program = MakeGiftProgram(std::vector<uint8_t>(37, 0x90), zip);
  if (!program) return 0;  // the default limits differ from the small ones above
  std::vector<ZipMember> again;
  if (ReadZip(program->data(), program->size(), limits, &again) != ZipError::kNone) __builtin_trap();
  if (again.size() != members.size()) __builtin_trap();
  for (size_t i = 0; i < again.size(); ++i)
    if (again[i].name != members[i].name || again[i].bytes != members[i].bytes) __builtin_trap();
  return 0;
}
