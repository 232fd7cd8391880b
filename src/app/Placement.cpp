#include "app/Placement.h"

#include <charconv>

#include "platform/Ini.h"
#include "platform/Text.h"

namespace orv {
namespace {

constexpr char kSection[] = "WIN";

// A default is built as the decimal text a stored value would have, so a
// half pixel ("197.5") goes through the same integer reading as a stored value
// and is dropped there.
std::string DecimalText(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

int ReadStored(const std::string& file, const char* key, const std::string& fallback) {
  return ReadInteger(ReadIniValue(file, kSection, key, fallback));
}

}  // namespace

void RestorePlacement(const std::string& file, PlacedWindow& window, int screenWidth, int screenHeight) {
  int state = ReadStored(file, "wz", "0");
  // A window stored minimised comes back normal.
  window.setDisplayState(state == kStateMinimised ? kStateNormal : state);
  if (window.displayState() == kStateMaximised) return;

  window.setWidth(ReadStored(file, "kd", std::to_string(window.width())));
  window.setHeight(ReadStored(file, "gd", std::to_string(window.height())));
  window.setLeft(ReadStored(file, "zb", DecimalText(screenWidth / 2.0 - window.width() / 2.0)));
  window.setTop(ReadStored(file, "db", DecimalText(screenHeight / 2.0 - window.height() / 2.0)));
}

void SavePlacement(const std::string& file, PlacedWindow& window) {
  // Failed writes are of no use to report while the program closes.
  WriteIniValue(file, kSection, "wz", std::to_string(window.displayState()));
  window.setDisplayState(kStateNormal);
  WriteIniValue(file, kSection, "kd", std::to_string(window.width()));
  WriteIniValue(file, kSection, "gd", std::to_string(window.height()));
  WriteIniValue(file, kSection, "zb", std::to_string(window.left()));
  WriteIniValue(file, kSection, "db", std::to_string(window.top()));
}

}  // namespace orv
