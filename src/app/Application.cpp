#include "app/Application.h"

#include "app/Placement.h"

namespace orv {

// Adapts a top-level widget to the placement rules. Sizes are the widget's
// own (client) size: the frame belongs to the window manager and is unknown
// until the window is shown, so storing the outer size would grow the window
// by its frame at every start.
class WidgetPlacement : public PlacedWindow {
 public:
  explicit WidgetPlacement(QWidget& w) : w_(w) {}

  int displayState() const override {
    const Qt::WindowStates s = w_.windowState();
    if (s & Qt::WindowMinimized) return kStateMinimised;
    if (s & Qt::WindowMaximized) return kStateMaximised;
    return kStateNormal;
  }

  void setDisplayState(int state) override {
    const bool wasNormal = displayState() == kStateNormal;
    const QRect normal = w_.normalGeometry();
    switch (state) {
      case kStateMinimised: w_.setWindowState(Qt::WindowMinimized); break;
      case kStateMaximised: w_.setWindowState(Qt::WindowMaximized); break;
      default:
        w_.setWindowState(Qt::WindowNoState);
        // The platform may apply the change later; the normal geometry is
        // known now, and the save reads it straight after.
        if (!wasNormal && normal.isValid()) w_.setGeometry(normal);
        break;
    }
  }

  int width() const override { return geometry().width(); }
  int height() const override { return geometry().height(); }
  int left() const override { return w_.pos().x(); }
  int top() const override { return w_.pos().y(); }
  void setWidth(int width) override { w_.resize(width, w_.height()); }
  void setHeight(int height) override { w_.resize(w_.width(), height); }
  void setLeft(int left) override { w_.move(left, w_.pos().y()); }
  void setTop(int top) override { w_.move(w_.pos().x(), top); }

 private:
  QRect geometry() const { return displayState() == kStateNormal ? w_.geometry() : w_.normalGeometry(); }
  QWidget& w_;
};

Application::Application(AppConfig config)
    : config_(std::move(config)), state_(std::make_shared<AppState>()), window_(std::make_unique<MainWindow>()) {
  MainController::Shared shared{state_->articles, state_->favorites, state_->settings, state_->keywords,
                                std::make_shared<const FeedClient>(config_.feedEndpoint), state_->runs};
  controller_ = new MainController(*window_, shared, config_.runDirectory);

  steps_.loadKeywords = [this] {
    state_->keywords->SetFile(state_->paths.keywordFile);
    state_->keywords->LoadKeywordList();
  };
  steps_.loadFeedSettings = [this] { LoadFeedSettings(state_->paths.settingsFile, *state_->settings); };
  steps_.loadDownloadWindow = [this] { controller_->LoadDownloadWindow(); };
  steps_.startFirstExtraction = [this] { controller_->StartExtraction(); };

  QObject::connect(window_.get(), &MainWindow::closing, window_.get(), [this] {
    WidgetPlacement placement(*window_);
    SavePlacement(state_->paths.settingsFile, placement);
  });
  // A run still in progress must not publish into a window that is going away.
  QObject::connect(window_.get(), &QObject::destroyed, [runs = state_->runs] { runs->Clear(); });
}

Application::~Application() {
  window_.reset();
  state_->runs->Clear();
}

void Application::Start() {
  state_->paths = AppPaths::InRunDirectory(config_.runDirectory.toStdString());
  if (steps_.loadKeywords) steps_.loadKeywords();
  if (steps_.loadFeedSettings) steps_.loadFeedSettings();
  // Every later change of the favourites is saved over the whole file: they
  // must hold the file's entries before the first match or save.
  state_->favorites->SetFile(state_->paths.favoritesFile);
  state_->favorites->LoadFavorites();
  WidgetPlacement placement(*window_);
  RestorePlacement(state_->paths.settingsFile, placement, config_.screen.width(), config_.screen.height());
  window_->layoutControls();
  if (steps_.loadDownloadWindow) steps_.loadDownloadWindow();
  if (steps_.startFirstExtraction) steps_.startFirstExtraction();
}

}  // namespace orv
