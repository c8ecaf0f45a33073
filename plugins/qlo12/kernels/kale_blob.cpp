#include "kale_blob.h"

#include <algorithm>

#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo12 {
namespace {

using animation::BlobField;
using animation::BlobFieldKind;

enum { kKaleSegments, kKaleCentreX, kKaleCentreY, kKaleMirror, kKaleFieldCount };
enum { kIllusionSpeedX, kIllusionSpeedY, kIllusionSectors, kIllusionFieldCount };

// The fields' ranges depend on the picture: the centre lies inside it.
struct KaleFields {
  BlobField f[kKaleFieldCount];
  KaleFields(int width, int height) {
    const KaleParameters d = DefaultKaleParameters(width, height);
    f[kKaleSegments] = {BlobFieldKind::kInt32, kKaleMinSegments, kKaleMaxSegments,
                        kKaleDefaultSegments};
    f[kKaleCentreX] = {BlobFieldKind::kDouble, 0, double(std::max(width - 1, 0)), d.centreX};
    f[kKaleCentreY] = {BlobFieldKind::kDouble, 0, double(std::max(height - 1, 0)), d.centreY};
    f[kKaleMirror] = {BlobFieldKind::kInt32, 0, 1, 1};
  }
};

struct IllusionFields {
  BlobField f[kIllusionFieldCount];
  IllusionFields(int width, int height) {
    f[kIllusionSpeedX] = {BlobFieldKind::kInt32, 0,
                          double(std::max(width - 1, kIllusionSpeedFactor)), 0};
    f[kIllusionSpeedY] = {BlobFieldKind::kInt32, 0,
                          double(std::max(height - 1, kIllusionSpeedFactor)), 0};
    f[kIllusionSectors] = {BlobFieldKind::kInt32, kIllusionMinSectors, kIllusionMaxSectors,
                           kIllusionDefaultSectors};
  }
};

}  // namespace

std::vector<uint8_t> WriteKaleBlob(const KaleParameters& p, int width, int height) {
  const KaleFields fields(width, height);
  const double values[kKaleFieldCount] = {double(p.segments), p.centreX, p.centreY,
                                          double(p.mirror != 0)};
  return animation::WriteParamBlob(kKaleBlobMagic, fields.f, kKaleFieldCount, values);
}

bool ReadKaleBlob(const uint8_t* data, std::size_t available, int width, int height,
                  KaleParameters& p) {
  const KaleFields fields(width, height);
  double values[kKaleFieldCount];
  if (!animation::ReadParamBlob(data, available, kKaleBlobMagic, fields.f, kKaleFieldCount, values))
    return false;
  p.segments = int(values[kKaleSegments]);
  p.centreX = values[kKaleCentreX];
  p.centreY = values[kKaleCentreY];
  p.mirror = int(values[kKaleMirror]);
  return true;
}

std::vector<uint8_t> WriteIllusionBlob(const IllusionSettings& s, int width, int height) {
  const IllusionFields fields(width, height);
  const double values[kIllusionFieldCount] = {double(s.speedX), double(s.speedY),
                                              double(s.sectors)};
  return animation::WriteParamBlob(kIllusionBlobMagic, fields.f, kIllusionFieldCount, values);
}

bool ReadIllusionBlob(const uint8_t* data, std::size_t available, int width, int height,
                      IllusionSettings& s) {
  const IllusionFields fields(width, height);
  double values[kIllusionFieldCount];
  if (!animation::ReadParamBlob(data, available, kIllusionBlobMagic, fields.f,
                                kIllusionFieldCount, values))
    return false;
  s.speedX = int(values[kIllusionSpeedX]);
  s.speedY = int(values[kIllusionSpeedY]);
  s.sectors = int(values[kIllusionSectors]);
  return true;
}

}  // namespace quillo::qlo12
