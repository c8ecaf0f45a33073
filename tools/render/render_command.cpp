#include "render_command.h"

#include <chrono>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/render/cursor_script.h"
#include "tools/render/effects/effect_registry.h"
#include "tools/render/frame_names.h"
#include "tools/render/gif_animation.h"
#include "tools/render/picture_files.h"
#include "tools/render/safe_file.h"

namespace quillo::render {

namespace {

constexpr int kUsageError = 2, kRunError = 1;
constexpr long long kMaxFrames = 100000;

const char kUsage[] =
    "usage: quillo-render EFFECT [effect options] --input PICTURE (--png PATTERN | --gif FILE) [options]\n"
    "       quillo-render --list            effects and their options\n"
    "\n"
    "  --input FILE        picture to play the effect over (PNG, JPEG or PNM/PPM)\n"
    "  --size WxH          scale the picture to W x H first\n"
    "  --frames N          frames to write (default 48; a still effect writes one)\n"
    "  --skip N            frames played before the first one written (default 0)\n"
    "  --seed N            random seed, 0 .. 4294967295 (default 1)\n"
    "  --screen WxH        screen the cursor lies on (default 1024x768)\n"
    "  --cursor X,Y        cursor position on that screen (default its centre)\n"
    "  --cursor-path FILE  lines \"frame x y\", the cursor moving straight from key to key\n"
    "  --drop F,X,Y[,right]  a mouse press at picture point X,Y before frame F (water)\n"
    "  --png PATTERN       numbered PNG frames, e.g. frames/tunnel-%03d.png\n"
    "  --gif FILE          an animated GIF of the frames\n"
    "  --delay N           GIF frame time in hundredths of a second (default 4)\n"
    "  --colours N         GIF colours a frame, 2 .. 256 (default 256)\n"
    "Frames are counted from 1 with the skipped ones, as the cursor path and drops count them;\n"
    "written files are numbered from 1.\n";

struct Size {
  int width = 0, height = 0;
};

struct RenderJob {
  const EffectRow* effect = nullptr;
  OptionValues options;
  std::string input, pngPattern, gifPath, cursorPath;
  std::optional<Size> size;
  int frames = 48, skip = 0, delay = 4, colours = 256;
  uint32_t seed = 1;
  CursorPoint cursor;
  bool cursorGiven = false;
  std::vector<std::pair<int, MouseDrop>> drops;
};

bool ParseSize(std::string_view text, Size& size) {
  const size_t x = text.find('x');
  long long w = 0, h = 0;
  if (x == std::string_view::npos || !ParseInteger(text.substr(0, x), 1, kMaxPictureSide, w) ||
      !ParseInteger(text.substr(x + 1), 1, kMaxPictureSide, h))
    return false;
  size = {int(w), int(h)};
  return true;
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t comma = text.find(',');
    parts.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return parts;
    text = text.substr(comma + 1);
  }
}

bool ParsePoint(std::string_view text, int& x, int& y) {
  const std::vector<std::string_view> parts = SplitCommas(text);
  long long a = 0, b = 0;
  if (parts.size() != 2 || !ParseInteger(parts[0], -100000, 100000, a) || !ParseInteger(parts[1], -100000, 100000, b))
    return false;
  x = int(a);
  y = int(b);
  return true;
}

bool ParseDrop(std::string_view text, std::pair<int, MouseDrop>& drop) {
  const std::vector<std::string_view> parts = SplitCommas(text);
  long long frame = 0, x = 0, y = 0;
  if (parts.size() < 3 || parts.size() > 4 || !ParseInteger(parts[0], 1, kMaxFrames, frame) ||
      !ParseInteger(parts[1], 0, kMaxPictureSide, x) || !ParseInteger(parts[2], 0, kMaxPictureSide, y))
    return false;
  MouseButton button = MouseButton::kLeft;
  if (parts.size() == 4) {
    if (parts[3] == "right")
      button = MouseButton::kRight;
    else if (parts[3] != "left")
      return false;
  }
  drop = {int(frame), MouseDrop{button, int(x), int(y)}};
  return true;
}

// Reads the arguments into `job`. The effect's own options may stand
// anywhere; they are checked once the effect is known.
bool ParseArguments(std::span<const std::string> args, RenderJob& job, std::string& error) {
  std::vector<std::pair<std::string, std::string>> effectOptions;
  std::optional<Size> screen;
  std::string effectName;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (!effectName.empty()) {
        error = "one effect at a time: \"" + effectName + "\" and \"" + arg + "\"";
        return false;
      }
      effectName = arg;
      continue;
    }
    const std::string name = arg.substr(2);
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    long long n = 0;
    bool ok = true;
    if (name == "input") {
      job.input = value;
    } else if (name == "png") {
      FramePattern pattern;
      ok = pattern.Parse(value, error);
      if (!ok) return false;
      job.pngPattern = value;
    } else if (name == "gif") {
      job.gifPath = value;
    } else if (name == "cursor-path") {
      job.cursorPath = value;
    } else if (name == "size") {
      Size s;
      ok = ParseSize(value, s);
      job.size = s;
    } else if (name == "screen") {
      Size s;
      ok = ParseSize(value, s);
      screen = s;
    } else if (name == "cursor") {
      ok = ParsePoint(value, job.cursor.x, job.cursor.y);
      job.cursorGiven = true;
    } else if (name == "drop") {
      std::pair<int, MouseDrop> drop;
      ok = ParseDrop(value, drop);
      job.drops.push_back(drop);
    } else if (name == "frames") {
      ok = ParseInteger(value, 1, kMaxFrames, n);
      job.frames = int(n);
    } else if (name == "skip") {
      ok = ParseInteger(value, 0, kMaxFrames, n);
      job.skip = int(n);
    } else if (name == "seed") {
      ok = ParseInteger(value, 0, 0xFFFFFFFFll, n);
      job.seed = uint32_t(n);
    } else if (name == "delay") {
      ok = ParseInteger(value, 0, 65535, n);
      job.delay = int(n);
    } else if (name == "colours" || name == "colors") {
      ok = ParseInteger(value, 2, 256, n);
      job.colours = int(n);
    } else {
      effectOptions.emplace_back(name, value);
      continue;
    }
    if (!ok) {
      error = "bad value for " + arg + ": \"" + value + "\"";
      return false;
    }
  }
  if (effectName.empty()) {
    error = "no effect named; quillo-render --list shows them";
    return false;
  }
  job.effect = FindEffect(effectName);
  if (!job.effect) {
    error = "unknown effect \"" + effectName + "\"; quillo-render --list shows them";
    return false;
  }
  job.options = OptionValues(job.effect->options);
  for (const auto& [name, value] : effectOptions) {
    if (!job.options.Set(name, value, error)) {
      error = effectName + ": " + error;
      return false;
    }
  }
  if (screen) {
    job.cursor.screenWidth = screen->width;
    job.cursor.screenHeight = screen->height;
  }
  if (!job.cursorGiven) {
    job.cursor.x = job.cursor.screenWidth / 2;
    job.cursor.y = job.cursor.screenHeight / 2;
  }
  if (job.input.empty()) {
    error = "no --input picture";
    return false;
  }
  if (job.pngPattern.empty() && job.gifPath.empty()) {
    error = "nothing to write: give --png PATTERN and/or --gif FILE";
    return false;
  }
  if (job.effect->kind == EffectKind::kStill) {
    job.frames = 1;
    job.skip = 0;
  }
  return true;
}

void ListEffects(std::FILE* out) {
  for (const EffectRow* row : EffectTable()) {
    std::fprintf(out, "%s: %s%s\n", row->name, row->summary, row->kind == EffectKind::kStill ? " (still: one picture)" : "");
    std::fputs(DescribeOptions(row->options).c_str(), out);
  }
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "cannot open " + path;
    return false;
  }
  char buffer[4096];
  size_t n = 0;
  constexpr size_t kMaxScript = size_t(16) << 20;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() <= kMaxScript) text.append(buffer, n);
  const bool ok = !std::ferror(f) && text.size() <= kMaxScript;
  std::fclose(f);
  if (!ok) error = "cannot read " + path;
  return ok;
}

int RunJob(const RenderJob& job, std::FILE* out, std::FILE* err) {
  const auto started = std::chrono::steady_clock::now();
  std::string error;
  CursorScript cursor(job.cursor);
  if (!job.cursorPath.empty()) {
    std::string text;
    if (!ReadTextFile(job.cursorPath, text, error) || !cursor.ReadKeys(text, error)) {
      std::fprintf(err, "quillo-render: %s\n", error.c_str());
      return kRunError;
    }
  }
  Picture picture;
  if (!ReadPicture(job.input, picture, error) ||
      (job.size && !ResamplePicture(picture, job.size->width, job.size->height, picture))) {
    if (error.empty()) error = "the picture cannot be scaled";
    std::fprintf(err, "quillo-render: %s\n", error.c_str());
    return kRunError;
  }
  EffectPlayer player;
  if (!player.Start(*job.effect, job.options, picture, job.seed, error)) {
    std::fprintf(err, "quillo-render: %s: %s\n", job.effect->name, error.c_str());
    return kRunError;
  }
  FramePattern pngNames;
  if (!job.pngPattern.empty()) pngNames.Parse(job.pngPattern, error);
  ReplacingFile gifFile;
  GifAnimationWriter gif;
  if (!job.gifPath.empty()) {
    const Picture& first = player.Image();
    if (!gifFile.Open(job.gifPath, error) || !gif.Begin(gifFile.stream(), first.width, first.height, error)) {
      std::fprintf(err, "quillo-render: %s\n", error.c_str());
      return kRunError;
    }
  }
  const int total = job.skip + job.frames;
  for (int frame = 1; frame <= total; ++frame) {
    MouseDrop drop;
    for (const auto& [at, d] : job.drops)
      if (at == frame) drop = d;
    player.Step(cursor.At(frame), drop);
    if (frame <= job.skip) continue;
    const int written = frame - job.skip;
    const Picture& image = player.Image();
    if ((!job.pngPattern.empty() && !WritePng(pngNames.Name(written), image, error)) ||
        (!job.gifPath.empty() && !gif.AddFrame(image, job.delay, job.colours, error))) {
      std::fprintf(err, "quillo-render: %s\n", error.c_str());
      return kRunError;
    }
  }
  if (!job.gifPath.empty() && (!gif.Finish(error) || !gifFile.Commit(error))) {
    std::fprintf(err, "quillo-render: %s\n", error.c_str());
    return kRunError;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::fprintf(out, "%s: %d frame%s of %d x %d in %.2f s\n", job.effect->name, job.frames,
               job.frames == 1 ? "" : "s", player.Image().width, player.Image().height, seconds);
  return 0;
}

}  // namespace

int RunRenderCommand(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::fputs(kUsage, args.empty() ? err : out);
    return args.empty() ? kUsageError : 0;
  }
  if (args[0] == "--list") {
    ListEffects(out);
    return 0;
  }
  RenderJob job;
  std::string error;
  if (!ParseArguments(args, job, error)) {
    std::fprintf(err, "quillo-render: %s\n", error.c_str());
    return kUsageError;
  }
  return RunJob(job, out, err);
}

}  // namespace quillo::render
