#pragma once
// The main window's place and size, kept in section WIN of the settings file
// between runs.

#include <string>

namespace orv {

// Display states as stored in the file.
enum DisplayState : int { kStateNormal = 0, kStateMinimised = 2, kStateMaximised = 3 };

// What the placement needs of a window. Sizes and places are those of the
// window in its normal state.
class PlacedWindow {
 public:
  virtual ~PlacedWindow() = default;
  virtual int displayState() const = 0;
  virtual void setDisplayState(int state) = 0;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual int left() const = 0;
  virtual int top() const = 0;
  virtual void setWidth(int width) = 0;
  virtual void setHeight(int height) = 0;
  virtual void setLeft(int left) = 0;
  virtual void setTop(int top) = 0;
};

// Applies the stored placement, or centres the window on a screen of the given
// size when nothing is stored. A window stored maximised opens maximised and
// keeps its current normal size and place.
void RestorePlacement(const std::string& settingsFile, PlacedWindow& window, int screenWidth,
                      int screenHeight);

// Stores the display state, then the normal size and place.
void SavePlacement(const std::string& settingsFile, PlacedWindow& window);

}  // namespace orv
