// The region map window: an ordinary window, not on top, that shows the last map
// fetched for a district's region. Closing it only hides it.
#pragma once

#include <string>

#include "ui/form.h"
#include "ui/picture.h"

class TMap : public ui::Form {
 public:
  TMap();
  ~TMap() override;

  // The last map shown.
  const core::Image& Picture() const { return Image1.picture(); }

  // The map code of a two-letter region prefix; empty when the prefix has none.
  std::string MapCode(const std::string& prefix) const;
  // Shows the JPEG file in Image1 and sizes the window to it. A file that does not
  // decode throws the decoder's report and leaves the previous picture.
  void LoadPicture(const std::string& fileName);

  void FormClose(ui::CloseAction& action);

 private:
  ui::Picture Image1;
};

extern TMap* Map;
