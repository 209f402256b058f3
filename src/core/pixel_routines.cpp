#include "core/pixel_routines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace core {

namespace {

constexpr int kBpp = Image::kBytesPerPixel;

std::uint8_t toChannel(double v) {
  // Points beyond the gradient's length (the far corners of the diagonal and radial
  // types) can overshoot the end colour a little; they are held at the channel's
  // limits rather than wrapped round to the other end of the scale.
  const double n = nearestEven(v);
  return std::uint8_t(n < 0 ? 0 : n > 255 ? 255 : n);
}

// The square root of an exact sum of squares, as the distance formulas write it.
double rootOfSquares(int a, int b) { return std::sqrt(double(a) * a + double(b) * b); }

struct Channels {
  double r, g, b;
};

}  // namespace

double nearestEven(double v) {
  // Adding and taking away 2^52 leaves no bits for a fraction, so the sum is rounded
  // the way the processor rounds by default: to nearest, halves to even.
  constexpr double kNoFraction = 4503599627370496.0;  // 2^52
  if (v >= 0 && v < kNoFraction) return (v + kNoFraction) - kNoFraction;
  if (v < 0 && v > -kNoFraction) return (v - kNoFraction) + kNoFraction;
  const double below = std::floor(v);
  const double fraction = v - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

void GradientFill(Image& image, Rect area, Color from, Color to, TGradientType type,
                  const RegionTest& region, const SystemColors& colors) {
  if (image.empty()) return;
  const Rect r = area.clippedTo(image.width(), image.height());
  if (r.empty()) return;

  if (from == to) {
    const Color c = colors.resolve(from);
    if (!region) {
      image.fillRect(r, c);
      return;
    }
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (region(x, y)) image.setPixel(x, y, c);
    return;
  }

  const Color c0 = colors.resolve(from), c1 = colors.resolve(to);
  const Channels start{double(redOf(c0)), double(greenOf(c0)), double(blueOf(c0))};
  const int w = area.width(), h = area.height();
  const int diagonal = int(nearestEven(std::sqrt(double(w) * w + double(h) * h)));
  int length = 0;
  switch (type) {
    case gtHorizontal: length = w; break;
    case gtVertical: length = h; break;
    case gtFromTopLeft:
    case gtFromTopRight: length = diagonal; break;
    case gtRadial: length = diagonal / 2; break;
    case gtDoubleHorz: length = w / 2; break;
    case gtDoubleVert: length = h / 2; break;
  }
  // A gradient of length 0 (a double gradient one pixel wide, a radial one on a
  // single pixel) has no room to change: it draws the from-colour throughout, which
  // is what its only distance, 0, would give.
  auto stepOf = [length](double a, double b) {
    return length == 0 ? 0.0 : std::min((b - a) / length, 255.0);
  };
  const Channels step{stepOf(start.r, redOf(c1)), stepOf(start.g, greenOf(c1)),
                      stepOf(start.b, blueOf(c1))};
  auto colourAt = [&](double s, std::uint8_t* p) {
    p[0] = toChannel(step.b * s + start.b);
    p[1] = toChannel(step.g * s + start.g);
    p[2] = toChannel(step.r * s + start.r);
  };
  auto distance = [&](int x, int y) -> double {
    switch (type) {
      case gtHorizontal: return x - area.left;
      case gtVertical: return y - area.top;
      case gtFromTopLeft: return rootOfSquares(x - area.left, y - area.top);
      case gtFromTopRight: return rootOfSquares(area.right - x, y - area.top);
      case gtRadial: return rootOfSquares(w / 2 - x, y - h / 2);
      case gtDoubleHorz: return std::abs(x - length - area.left);
      case gtDoubleVert: return std::abs(y - length - area.top);
    }
    return 0;
  };

  const bool byColumn = type == gtHorizontal || type == gtDoubleHorz;
  const bool byRow = type == gtVertical || type == gtDoubleVert;
  // A column gradient gives every row the same pixels: build that row once.
  std::vector<std::uint8_t> columnRow;
  if (byColumn) {
    columnRow.resize(std::size_t(r.width()) * kBpp);
    for (int x = r.left; x < r.right; ++x) colourAt(distance(x, r.top), &columnRow[(x - r.left) * kBpp]);
  }
  std::uint8_t rowColour[kBpp];
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint8_t* line = image.row(y);
    if (byRow) colourAt(distance(r.left, y), rowColour);
    for (int x = r.left; x < r.right; ++x) {
      if (region && !region(x, y)) continue;
      std::uint8_t* p = line + x * kBpp;
      if (byColumn) {
        std::copy_n(&columnRow[(x - r.left) * kBpp], kBpp, p);
      } else if (byRow) {
        std::copy_n(rowColour, kBpp, p);
      } else {
        colourAt(distance(x, y), p);
      }
    }
  }
}

void CopyAndBlend(Image& target, const Image& base, const Image& overlay, int offset, Rect area,
                  int percent) {
  const int w = area.width() - offset, h = area.height() - offset;
  if (w > 0 && h > 0) copyBlock(target, area.left + offset, area.top + offset, base, w, h);
  if (percent > 0) BlendImage(target, overlay, area, std::min(percent, 100));
}

void BlendImage(Image& target, const Image& overlay, Rect area, int percent) {
  percent = std::clamp(percent, 0, 100);
  const double keep = (100 - percent) / 100.0;
  const double take = 1 - keep;
  // Target pixels of `area` that have an overlay pixel at (x - left, y - top).
  const Rect r{std::max(area.left, 0), std::max(area.top, 0),
               std::min({area.right, target.width(), area.left + overlay.width()}),
               std::min({area.bottom, target.height(), area.top + overlay.height()})};
  if (r.empty()) return;
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint8_t* t = target.row(y) + r.left * kBpp;
    const std::uint8_t* o = overlay.row(y - area.top) + (r.left - area.left) * kBpp;
    for (int i = 0; i < r.width() * kBpp; ++i) t[i] = std::uint8_t(nearestEven(keep * t[i] + take * o[i]));
  }
}

void ColorizeImage(Image& image, Color tint, const SystemColors& colors) {
  const Color c = colors.resolve(tint);
  const int tr = redOf(c), tg = greenOf(c), tb = blueOf(c);
  for (int y = 0; y < image.height(); ++y) {
    std::uint8_t* p = image.row(y);
    for (int x = 0; x < image.width(); ++x, p += kBpp) {
      const int grey = (p[0] + p[1] + p[2]) / 3;
      p[0] = std::uint8_t(std::min(grey + tb, 255));
      p[1] = std::uint8_t(std::min(grey + tg, 255));
      p[2] = std::uint8_t(std::min(grey + tr, 255));
    }
  }
}

void Downsample(const Image& source, Image& target, int factor, Color fill, int margin,
                const SystemColors& colors) {
  if (factor < 1) throw std::invalid_argument("Downsample needs a factor of at least 1");
  const Color flat = colors.resolve(fill);
  if (margin < 1) margin = factor;
  const int m = margin / 2;
  const int w = target.width(), h = target.height();
  const std::int64_t cells = std::int64_t(factor) * factor;

  // Pixels in row order; the pass ends at the first one whose source block is
  // missing. Interior pixels are skipped: the flat fill below covers them.
  for (int y = 0; y < h; ++y) {
    if ((std::int64_t(y) + 1) * factor > source.height()) break;
    const bool bandRow = y <= m || y >= h - m;
    std::uint8_t* out = target.row(y);
    bool sourceEnded = false;
    for (int x = 0; x < w; ++x) {
      if (!bandRow && x > m && x < w - m) {
        x = w - m - 1;
        continue;
      }
      if ((std::int64_t(x) + 1) * factor > source.width()) {
        sourceEnded = true;
        break;
      }
      std::int64_t sum[kBpp] = {0, 0, 0};
      for (int j = 0; j < factor; ++j) {
        const std::uint8_t* in = source.row(y * factor + j) + std::int64_t(x) * factor * kBpp;
        for (int i = 0; i < factor * kBpp; i += kBpp) {
          sum[0] += in[i];
          sum[1] += in[i + 1];
          sum[2] += in[i + 2];
        }
      }
      for (int c = 0; c < kBpp; ++c) out[x * kBpp + c] = std::uint8_t(sum[c] / cells);
    }
    if (sourceEnded) break;
  }
  target.fillRect({m, m, w - m, h - m}, flat);
}

}  // namespace core
