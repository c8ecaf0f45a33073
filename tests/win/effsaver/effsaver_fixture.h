// The effect saver's folder (the build's bin folder, where EffSaver.DLL
// lies) prepared for one test: a catalogue "Plug.inf" made from Qlo12.PL1's
// real rows, the picture Saver\Saver.bmp, the "Saver" settings and the
// test switches in the environment; everything put back as it was when the
// fixture goes.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/host/effect_record.h"

namespace quillo::test {

class EffSaverFixture {
 public:
  EffSaverFixture();
  ~EffSaverFixture();

  static std::string InBin(const std::string& name);
  std::string saverProgram() const { return InBin("BXSaver.SCR"); }

  // Qlo12.PL1's records as the catalogue builder makes them.
  const std::vector<EffectRecord>& qlo12() const { return qlo12_; }
  // The Qlo12 record of `function` with effect value `id`.
  EffectRecord Row(const char* function, int32_t id = 0) const;
  // The mixed catalogue the tests use: two playable rows, rows the random
  // choice must never take, and one naming a module that does not exist.
  std::vector<EffectRecord> MixedCatalogue() const;
  std::vector<uint8_t> WriteCatalogue(const std::vector<EffectRecord>& records);
  void RemoveCatalogue();

  // A width x height test picture stored as Saver\Saver.bmp.
  bool WritePicture(int width, int height);
  void RemovePicture();
  HGLOBAL picture() const { return picture_; }

  // Settings of the "Saver" (or another) section; null removes the key.
  void Set(const char* key, const char* value, const char* section = "Saver");
  std::string Get(const char* key, const char* section = "Saver") const;  // "<none>" when missing

  // A file or (empty) folder the test makes, removed when the fixture goes
  // even if the test stops early.
  void RemoveLater(const std::string& path) { removeLater_.push_back(path); }

  // The effects started so far, one "module function id" line each.
  std::vector<std::string> Trace() const;
  void ClearTrace();

 private:
  struct SavedKey {
    std::string section, key;
    std::optional<std::string> value;
  };
  std::vector<SavedKey> saved_;
  std::vector<std::string> removeLater_;
  std::vector<EffectRecord> qlo12_;
  HGLOBAL picture_ = nullptr;
  std::string tracePath_;
};

}  // namespace quillo::test
