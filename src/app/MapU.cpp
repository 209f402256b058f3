#include "app/MapU.h"

#include "core/jpeg.h"
#include "core/map_codes.h"

TMap* Map = nullptr;

TMap::TMap() {
  Map = this;
  create({.className = "TMap", .caption = "Map", .left = 443, .top = 156, .width = 526, .height = 385});
  Image1.create(this, 0, 0, clientWidth(), clientHeight());
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
}

TMap::~TMap() {
  if (Map == this) Map = nullptr;
}

std::string TMap::MapCode(const std::string& prefix) const { return std::string(core::mapCode(prefix)); }

void TMap::LoadPicture(const std::string& fileName) {
  core::Image picture = core::loadJpegFile(fileName);  // throws before anything changes
  const int width = picture.width(), height = picture.height();
  Image1.setPicture(std::move(picture));
  // The outer size: the picture plus the frame, height first.
  setHeight(height + 20);
  setWidth(width + 8);
}

void TMap::FormClose(ui::CloseAction& action) { action = ui::CloseAction::Hide; }
