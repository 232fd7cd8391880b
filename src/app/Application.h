#pragma once
// The composition root: builds the program's objects, runs the start
// sequence and wires shutdown. The shipped program and the end-to-end tests
// build the same thing; only the configuration differs.

#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/AppState.h"
#include "feed/FeedClient.h"
#include "ui/main/MainController.h"
#include "ui/main/MainWindow.h"

namespace orv {

struct AppConfig {
  QString runDirectory;  // where the three files live
  QSize screen;          // the screen the window is centred on
  std::string feedEndpoint = FeedClient::DefaultEndpoint();
};

// The steps of the start sequence, in order. Each is set to the program's
// own step when the application is built; tests may replace them.
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

  // Paths, keywords, feed settings, favourites, placement, layout, download
  // window, first extraction — in that order. The window is not shown.
  void Start();

  AppState& state() { return *state_; }
  // Workers keep the state alive past the window: they may outlive it.
  std::shared_ptr<AppState> sharedState() { return state_; }
  MainWindow& window() { return *window_; }
  MainController& controller() { return *controller_; }
  StartSteps& steps() { return steps_; }

 private:
  AppConfig config_;
  std::shared_ptr<AppState> state_;
  StartSteps steps_;
  std::unique_ptr<MainWindow> window_;
  MainController* controller_;  // owned by the window
};

}  // namespace orv
