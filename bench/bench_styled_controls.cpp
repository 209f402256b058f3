// What the styled controls cost: the panel's background rebuild (the parts that
// need no GDI: the supersampled work image and its reduction; the rounded frame
// itself is drawn by GDI and not measured here), the three gradients of a button,
// and the composition of one paint of a button and of a check box.
#include <benchmark/benchmark.h>

#include "core/button_look.h"
#include "core/check_box_look.h"
#include "core/panel_look.h"
#include "core/pixel_routines.h"

namespace {

const core::SystemColors kColors;
constexpr core::Color kPanelColor = 14933983;

// Panel sizes: the spot list's frequency panel, and one four times its area.
void panelSizes(benchmark::internal::Benchmark* b) {
  b->Args({258, 31});
  b->Args({516, 62});
}

void BM_PanelRebuild(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const core::PanelFrame f = core::panelFrame(w, h, 2, 10, true, core::cpTopLeft, 13);
  core::Image back(w, h);
  for (auto _ : state) {
    core::Image work(f.workWidth, f.workHeight);
    work.fill(kColors.resolve(core::clBtnFace));
    core::Downsample(work, back, f.factor, kPanelColor, f.reductionMargin, kColors);
    benchmark::DoNotOptimize(back.row(0));
  }
  state.SetLabel("work " + std::to_string(f.workWidth) + "x" + std::to_string(f.workHeight));
}
BENCHMARK(BM_PanelRebuild)->Apply(panelSizes);

// The reduction alone: its cost follows the averaged edge band, not the area.
void BM_PanelReduction(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  core::Image work(w * 3, h * 3);
  work.fill(core::clGray);
  core::Image back(w, h);
  for (auto _ : state) {
    core::Downsample(work, back, 3, kPanelColor, 30, kColors);
    benchmark::DoNotOptimize(back.row(0));
  }
}
BENCHMARK(BM_PanelReduction)->Apply(panelSizes);

void BM_ButtonImages(benchmark::State& state) {
  core::Image resting(145, 17), over(145, 17), clicked(145, 17);
  for (auto _ : state) {
    core::GradientFill(resting, resting.bounds(), core::clWhite, 13745839, core::gtVertical, {}, kColors);
    core::GradientFill(over, over.bounds(), core::clWhite, 12489846, core::gtVertical, {}, kColors);
    core::GradientFill(clicked, clicked.bounds(), 13029334, 15463415, core::gtVertical, {}, kColors);
    benchmark::DoNotOptimize(clicked.row(0));
  }
}
BENCHMARK(BM_ButtonImages);

void BM_ButtonPaintComposition(benchmark::State& state) {
  core::Image resting(145, 17), over(145, 17), clicked(145, 17);
  core::GradientFill(resting, resting.bounds(), core::clWhite, 13745839, core::gtVertical, {}, kColors);
  core::GradientFill(over, over.bounds(), core::clWhite, 12489846, core::gtVertical, {}, kColors);
  core::GradientFill(clicked, clicked.bounds(), 13029334, 15463415, core::gtVertical, {}, kColors);
  const int overLevel = int(state.range(0)), clickLevel = int(state.range(1));
  for (auto _ : state) {
    core::Image work(145, 17);  // a paint makes its work image anew
    core::composeButtonFace(work, {resting, over, clicked}, overLevel, clickLevel, true);
    benchmark::DoNotOptimize(work.row(0));
  }
}
BENCHMARK(BM_ButtonPaintComposition)->Args({0, 0})->Args({60, 0})->Args({100, 50});

void BM_CheckBoxPaintComposition(benchmark::State& state) {
  core::Image resting(13, 13), over(13, 13), clicked(13, 13);
  core::GradientFill(resting, resting.bounds(), core::clWhite, 13745839, core::gtFromTopLeft, {}, kColors);
  core::GradientFill(over, over.bounds(), core::clWhite, 12489846, core::gtFromTopLeft, {}, kColors);
  core::GradientFill(clicked, clicked.bounds(), 13029334, 15463415, core::gtFromTopLeft, {}, kColors);
  core::Image tick(8, 8);
  tick.fill(core::clFuchsia);
  core::CheckBoxLook look;
  look.background = core::clBtnFace;
  look.overLevel = 50;
  look.checkMark = &tick;
  look.tickColor = core::clGreen;
  for (auto _ : state) {
    core::Image work(225, 17);
    core::composeCheckBox(work, {resting, over, clicked}, look, kColors);
    benchmark::DoNotOptimize(work.row(0));
  }
}
BENCHMARK(BM_CheckBoxPaintComposition);

}  // namespace

BENCHMARK_MAIN();
