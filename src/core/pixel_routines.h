// The pixel routines of the styled controls: gradient fill, copy-and-blend, blend,
// colourise and the reduction of a supersampled image. They work on image rows
// directly; colours may be system colours, resolved through the caller's table.
#pragma once

#include <functional>

#include "core/image.h"
#include "core/system_colors.h"

namespace core {

enum TGradientType {
  gtHorizontal,
  gtVertical,
  gtFromTopLeft,
  gtFromTopRight,
  gtRadial,
  gtDoubleHorz,
  gtDoubleVert
};

// v brought to the nearest integer, halves going to the even neighbour.
double nearestEven(double v);

// Says whether the point (x, y) lies inside a region (a rounded rectangle, say).
using RegionTest = std::function<bool(int x, int y)>;

// Fills `area` (the image's whole bounds, in practice) with a gradient running from
// `from` toward `to`; only points inside `region` are touched when one is given.
// Equal colours (compared before resolving) give a plain fill.
void GradientFill(Image& image, Rect area, Color from, Color to, TGradientType type,
                  const RegionTest& region, const SystemColors& colors);

// Copies the block of `base` at its origin, (area width - offset) by (area height -
// offset) pixels, to the target at (area.left + offset, area.top + offset), then
// blends `overlay` over `area` at min(percent, 100) when percent > 0. Base and target
// may be the same image.
void CopyAndBlend(Image& target, const Image& base, const Image& overlay, int offset, Rect area,
                  int percent);

// Mixes `overlay` (read from its own origin) into `area` of the target at `percent`
// (clamped to 0..100).
void BlendImage(Image& target, const Image& overlay, Rect area, int percent);

// Grey level of each pixel plus the tint, per channel, capped at 255.
void ColorizeImage(Image& image, Color tint, const SystemColors& colors);

// Reduces `source` (factor times the target's size) into `target`: a band of
// margin div 2 pixels along the edges is averaged, the rest is filled flat with
// `fill`. A margin below 1 means the factor. A source too small for the target ends
// the averaging where its pixels run out; the flat fill still happens.
void Downsample(const Image& source, Image& target, int factor, Color fill, int margin,
                const SystemColors& colors);

}  // namespace core
