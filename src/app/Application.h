#pragma once
// The composition root: builds the program's objects, runs the start
// sequence and wires shutdown. The shipped program and the end-to-end tests
// build the same thing; only the configuration differs.

#include <QSize>
#include <QString>
#include <functional>
#include <memory>

#include "app/AppState.h"
#include "ui/main/MainWindow.h"

namespace orv {

struct AppConfig {
  QString runDirectory;  // where the three files live
  QSize screen;          // the screen the window is centred on
};

// Steps of the start sequence that the subsystems plug in; each runs in its
// place in the order below, and an unset one is skipped.
struct StartSteps {
  std::function<void()> loadKeywords;
  std::function<void()> loadFeedSettings;
  std::function<void()> loadDownloadWindow;
  std::function<void()> startFirstExtraction;
};

class Application {
 public:
  explicit Application(AppConfig config);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Paths, keywords, feed settings, placement, layout, download window, first
  // extraction — in that order. The window is not shown.
  void Start();

  AppState& state() { return *state_; }
  // Workers keep the state alive past the window: they may outlive it.
  std::shared_ptr<AppState> sharedState() { return state_; }
  MainWindow& window() { return *window_; }
  StartSteps& steps() { return steps_; }

 private:
  AppConfig config_;
  std::shared_ptr<AppState> state_;
  StartSteps steps_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace orv
